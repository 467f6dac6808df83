#pragma once

// The rhythm of generated music: a bar filled with the figures a piece for learners is made of,
// each starting where a reader expects it (a half on a half-bar, a dotted quarter on a beat of a
// compound meter).

#include <string>
#include <vector>

#include "tests/src/core/score_builder/music_dice.h"

namespace ScoreOverlaps {

enum class RhythmStyle {
  Melody,         // the upper voice: quarters, eighths, sixteenths, dotted figures, triplets
  Accompaniment,  // the lower staff: longer values under the melody
  Inner,          // the second voice of the upper staff
  Long,           // whole and half notes, as in a stretch without bar lines
};

// A figure of notes that belong together: beamed, under one tuplet bracket, or one note.
struct Figure {
  std::vector<int> ticks;  // the length of each note, in ticks of generated_music.h
  bool triplet = false;
  bool beamable = false;  // eighths or shorter, within a beat
};

// The figures that fill a bar of the length; compound is true for meters counted in dotted
// quarters.
std::vector<Figure> FillBar(int barTicks, bool compound, RhythmStyle style, bool triplets,
                            MusicDice& dice);

// How a length is written after a note name: "/4", "/8.", "/12".
std::string DurationText(int ticks);

}  // namespace ScoreOverlaps
