#pragma once

// The shapes behind the question pools: the semitone offsets of every chord and scale type, how
// far up the keyboard each chord type can be rooted, and where each interval size starts in the
// interval pool. Everything is derived at compile time from the offsets, so the pool layout and
// its bounds cannot drift apart.

#include <array>
#include <cstddef>

#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/exercise/theory/names.h"
#include "src/core/exercise/theory/tempo.h"

namespace Core {

constexpr unsigned int HighestKey = PianoKeyCount - 1;  // C8
constexpr unsigned int ChordInversionCount = 3;         // root position, first, second
constexpr unsigned int ScaleRootCount = 76;             // roots 0..75: the octave tops out at C8

// Semitones above the root, lowest first; `count` of the four slots are used.
struct ChordShape {
  std::array<unsigned int, 4> offsets;
  unsigned int count;
};

// By chord type, in the order of ChordNamesMap.
inline constexpr std::array<ChordShape, ChordTypeCount> ChordShapes = {{
    {{0, 4, 7, 0}, 3},   // maj
    {{0, 3, 7, 0}, 3},   // min
    {{0, 4, 7, 9}, 4},   // maj6
    {{0, 3, 7, 9}, 4},   // min6
    {{0, 4, 7, 11}, 4},  // maj7
    {{0, 3, 7, 10}, 4},  // min7
    {{0, 4, 7, 10}, 4},  // dom7
    {{0, 2, 7, 0}, 3},   // sus2
    {{0, 5, 7, 0}, 3},   // sus4
    {{0, 2, 7, 9}, 4},   // 6sus2
    {{0, 5, 7, 9}, 4},   // 6sus4
    {{0, 2, 7, 10}, 4},  // 7sus2
    {{0, 5, 7, 10}, 4},  // 7sus4
    {{0, 4, 8, 0}, 3},   // aug
    {{0, 4, 8, 9}, 4},   // aug6
    {{0, 4, 8, 10}, 4},  // aug7
    {{0, 3, 6, 0}, 3},   // dim
    {{0, 3, 6, 9}, 4},   // dim7
}};

// Offset of chord note `note` above the root once the inversion has raised the lowest notes by an
// octave (the root in the first inversion, the root and the next note in the second).
constexpr unsigned int InvertedOffset(unsigned int type, unsigned int inversion,
                                      unsigned int note) {
  return ChordShapes[type].offsets[note] + (note < inversion ? 12u : 0u);
}

constexpr unsigned int HighestInvertedOffset(unsigned int type, unsigned int inversion) {
  unsigned int highest = 0;
  for (unsigned int note = 0; note < ChordShapes[type].count; ++note) {
    const unsigned int offset = InvertedOffset(type, inversion, note);
    if (offset > highest) highest = offset;
  }
  return highest;
}

using MaxChordNoteTable =
    std::array<std::array<unsigned long, ChordInversionCount>, ChordTypeCount>;

constexpr MaxChordNoteTable MakeMaxChordNote() {
  MaxChordNoteTable table{};
  for (unsigned int type = 0; type < ChordTypeCount; ++type)
    for (unsigned int inversion = 0; inversion < ChordInversionCount; ++inversion)
      table[type][inversion] = HighestKey - HighestInvertedOffset(type, inversion);
  return table;
}

// The highest root of each chord type (row) in each inversion (column) whose top note is still
// on the keyboard.
inline constexpr MaxChordNoteTable MaxChordNote = MakeMaxChordNote();

constexpr unsigned long ChordCountInInversion(unsigned int inversion) {
  unsigned long count = 0;
  for (unsigned int type = 0; type < ChordTypeCount; ++type)
    count += MaxChordNote[type][inversion] + 1;
  return count;
}

// First chord id of each inversion block, and the pool size as the last entry.
inline constexpr std::array<unsigned long, ChordInversionCount + 1> ChordInversionBegin = {
    0, ChordCountInInversion(0), ChordCountInInversion(0) + ChordCountInInversion(1),
    ChordCountInInversion(0) + ChordCountInInversion(1) + ChordCountInInversion(2)};

inline constexpr unsigned long ChordPoolSize = ChordInversionBegin[ChordInversionCount];

constexpr std::array<unsigned long, IntervalTypeCount + 1> MakeIntervalsBegin() {
  std::array<unsigned long, IntervalTypeCount + 1> begin{};
  for (unsigned int size = 0; size < static_cast<unsigned int>(IntervalTypeCount); ++size)
    begin[size + 1] = begin[size] + (PianoKeyCount - size);
  return begin;
}

// First interval id of each size in semitones; the last entry is the pool size.
inline constexpr std::array<unsigned long, IntervalTypeCount + 1> IntervalsBegin =
    MakeIntervalsBegin();

inline constexpr unsigned long IntervalPoolSize = IntervalsBegin[IntervalTypeCount];

// Semitones above the root before the closing octave; `count` of the eight slots are used.
struct ScaleShape {
  std::array<unsigned int, 8> offsets;
  unsigned int count;
};

// By scale type, in the order of ScaleNamesMap.
inline constexpr std::array<ScaleShape, ScaleTypeCount> ScaleShapes = {{
    {{0, 2, 4, 5, 7, 9, 11, 0}, 7},  // Major
    {{0, 2, 3, 5, 7, 8, 10, 0}, 7},  // Natural m
    {{0, 2, 3, 5, 7, 8, 11, 0}, 7},  // Harmonic m
    {{0, 2, 3, 5, 7, 9, 11, 0}, 7},  // Melodic m
    {{0, 2, 4, 7, 9, 0, 0, 0}, 5},   // Pentatonic
    {{0, 3, 5, 7, 10, 0, 0, 0}, 5},  // Pentatonic m
    {{0, 2, 3, 5, 6, 8, 9, 11}, 8},  // Diminished
    {{0, 3, 5, 6, 7, 10, 0, 0}, 6},  // Blues
    {{0, 4, 7, 8, 11, 0, 0, 0}, 5},  // Augmented
    {{0, 2, 4, 6, 8, 10, 0, 0}, 6},  // Whole Tone
}};

constexpr unsigned int MelodicMinorScale = 3;

inline constexpr unsigned long ScalePoolSize = ScaleTypeCount * ScaleRootCount;

// Tempo questions: id = tempo class * 64 + piece index; every class fills its 64 slots.
constexpr unsigned int MaxMelodiesPerTempo = 64;
inline constexpr unsigned long TempoPoolSize = TempoTypeCount * MaxMelodiesPerTempo;

}  // namespace Core
