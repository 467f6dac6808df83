#pragma once

// How an output device falls silent: channel by channel, all sound off, reset all controllers and
// full channel volume, so that the next piece starts from a known state.

#include "src/core/midi/midi_device.h"

namespace Core {

inline void SilenceEveryChannel(MidiOutDevice& device) {
  for (unsigned char channel = 0; channel < MidiChannelCount; ++channel) {
    device.SendMessage(MidiMessage(MidiControlChange, channel, 120, 0));
    device.SendMessage(MidiMessage(MidiControlChange, channel, 121, 0));
    device.SendMessage(MidiMessage(MidiControlChange, channel, 7, 127));
  }
}

}  // namespace Core
