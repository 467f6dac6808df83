#pragma once

// What a learner plays, as the answer analysis receives it: notes one after the other, each held
// half a second.

#include <initializer_list>

#include "src/core/exercise/analysis/answer_check.h"

namespace Core::Testing {

// MIDI notes of piano keys: C4 is key 39, MIDI 60.
constexpr int C4 = 60, Cs4 = 61, D4 = 62, Ds4 = 63, E4 = 64, F4 = 65, Fs4 = 66, G4 = 67, A4 = 69,
              B4 = 71, C5 = 72, Cs5 = 73, Fs5 = 78;

inline MidiStream Notes(std::initializer_list<int> notes) {
  MidiStream stream;
  double time = 0.0;
  for (int note : notes) {
    stream.AddEvent(
        MidiEvent(MidiMessage(MidiNoteOn, 0, static_cast<unsigned char>(note), 96), 0, time));
    stream.AddEvent(
        MidiEvent(MidiMessage(MidiNoteOff, 0, static_cast<unsigned char>(note), 0), 0, time + 0.5));
    time += 0.5;
  }
  return stream;
}

}  // namespace Core::Testing
