#pragma once

// Which MIDI system the port devices talk to. RtMidi's own default throws when the ALSA sequencer
// is missing instead of falling back, so the choice is made here: MELVARIN_MIDI_API ("alsa" or
// "jack") forces one; otherwise the ALSA sequencer when it opens, else JACK.

#include <RtMidi.h>

namespace Core {

RtMidi::Api ChooseMidiApi();

}  // namespace Core
