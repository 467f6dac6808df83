#pragma once

// Piano music made up from a seed: one staff or a grand staff, with or without meter, key and
// bar lines, and the marks a piece for learners carries. The same seed and features always give
// the same piece, so a check over generated music can name the piece it found a fault in.
// Besides the text, a piece lists the notes it wrote as a pianist plays them, for a check that
// reads them back from the page.

#include <string>
#include <vector>

namespace ScoreOverlaps {

// What a piece may hold. A check switches off what it does not read; each switch that is on
// comes in some pieces, not in all.
struct MusicFeatures {
  bool grandStaff = true;       // a lower staff in the bass clef
  bool twoVoices = true;        // two voices on the upper staff, stems up and down
  bool meters = true;           // meters whose bar lines the engine puts in
  bool writtenBarLines = true;  // bar lines written in the text, with a meter or without
  bool unbarred = true;         // no meter, or a meter with autoBarlines="off"
  bool keys = true;             // key signatures
  bool keyChanges = true;       // a new key at the start of a later bar
  bool accidentals = true;      // notes outside the key
  bool ties = true;
  bool chords = true;
  bool graceNotes = true;
  bool lyrics = true;
  bool lyricsOverGraceNotes = true;  // grace notes inside a stretch with lyrics
  bool octavas = true;               // \oct<1> above, \oct<-1> below, as ranges and as states
  // Octavas in the melody of a staff of two voices as well, standing for both voices; off unless
  // a check asks for them.
  bool octavasOverTwoVoices = false;
  bool tempoMarks = true;
  bool dynamics = true;  // \intens marks
  bool hairpins = true;
  bool tuplets = true;
  bool texts = true;
  bool beams = true;  // written beams, some moved by a written offset
  bool staccatos = true;
  bool narrowPages = true;          // pages narrow enough that lines and slices break everywhere
  bool a4Pages = true;              // A4 at the default staff size, 24 to 40 bars
  bool writtenBreaks = true;        // \newSystem and \newPage before a bar, in every voice
  bool textsAtLineStarts = true;    // a text, often over a tie's end, at a written line start
  bool units = true;                // \units tags, the lengths after them written in their unit
  bool verses = true;               // a second verse under the first, moved down by dy
  bool lyricsOnLowerVoices = true;  // lyrics on the second voice of the upper staff
  // A second voice without written stem directions that rests beside the melody, and takes up
  // notes stems down now and then.
  bool restingVoices = true;
  bool unisons = true;  // the second voice meets the melody on its note with another length
  // Every other tag the parser accepts that a piece for learners may carry: articulations,
  // ornaments, slurs, fingerings, tempo changes, titles, repeats and jumps, tags written as
  // "Begin" and "End" and the short names. Off unless a check asks for them.
  bool otherTags = false;
};

// Times are counted in ticks, 96 to the whole note.
constexpr int TicksPerWhole = 96;

// A note the text holds, as it sounds.
struct WrittenNote {
  int pitch;  // MIDI key number, the octava in force included
  int staff;  // 1 the upper staff (or the only one), 2 the lower
  int voice;  // of the text, from 0
  int date;   // ticks from the start; a grace note has the date of the note it leads to
  bool grace;
  // What its head, flags or beams and dots show, in ticks: its length, of a tuplet's note the
  // length it is drawn with.
  int shown;
  std::vector<std::string> syllables;  // sung on it, verse by verse; empty for none
  // 1 when a written \newSystem stands before it, 2 for \newPage, else 0; the grace notes
  // that lead to such a note have it too.
  int breakBefore;
};

struct GeneratedPiece {
  unsigned seed;
  std::string rmn;
  std::vector<WrittenNote> notes;  // voice by voice, in the order written
  int bars;
  bool narrowPage;  // on one of the narrow pages, not on A4
};

GeneratedPiece GenerateMusic(unsigned seed, const MusicFeatures& features = {});

// Every feature, those off unless asked for too: what the reading and collision checks draw, so
// that every mark a piece may carry (jumps, tempo changes, ornaments, octavas over two voices)
// meets the others on their pages.
MusicFeatures EveryFeature();

}  // namespace ScoreOverlaps
