#pragma once

// The trainer settings: what each trainer asks, how many questions a section asks and for how
// long, and what happens after a wrong answer. Plain values of fixed layout; the default
// constructors give the values a quiz starts from before any level is chosen.
//
// Flag members carry the last part of their settings key as their name ("Chord.MajorTriad" holds
// MajorTriad) and keep the declaration order the presets and the store rely on.

#include "src/core/settings/settings_types.h"

namespace Core {

struct ChromaticSettings {
  bool white = true;
  bool black = true;
};

// A range of piano keys (0 = A0, 39 = middle C, 87 = C8). `maximum` is exclusive.
struct NotesDiapason {
  // Bounds (inclusive) of the keys a clef may show; the limited bounds are the tighter ones the
  // keyboard-range selector offers in its limited mode.
  static constexpr int GMin = 25;
  static constexpr int GMaxNote = 88;
  static constexpr int GMaxLimited = 74;
  static constexpr int FMin = 0;
  static constexpr int FMax = 54;
  static constexpr int FMinLimited = 3;

  int minimum = 15;  // C2
  int maximum = 55;  // E5, exclusive
  ChromaticSettings chromatic;

  // Plain range test; stored values come from a user-editable file, so an inverted range simply
  // holds no key.
  bool Holds(int key) const { return minimum <= key && key < maximum; }
  static bool FitsTrebleClef(int key) { return GMin <= key && key <= GMaxNote; }
  static bool FitsBassClef(int key) { return FMin <= key && key <= FMax; }
};

// One section of an exercise.
struct ExerciseDuration {
  int seconds = 30;    // per question; 0 = untimed
  int questions = 10;  // 0 = the section is skipped
};

struct CleffSettings {
  bool gClef = true;
  bool fClef = true;
};

struct SingleNotesSettings {
  NotesDiapason diapason;
  ExerciseDuration duration;
  CleffSettings cleff;
};

struct IntervalSettings {
  int intervalStart = 0;   // semitones
  int intervalEnd = 12;    // semitones, inclusive
  NotesDiapason diapason;  // range of the lower key
  ExerciseDuration duration;
  CleffSettings cleff;
  bool arpeggiated = true;  // when false the keys sound together
};

struct ChordSettings {
  // The 18 chord types, in the order of the chord-type name table.
  bool MajorTriad = true;
  bool MinorTriad = true;
  bool MajorSixth = true;
  bool MinorSixth = true;
  bool MajorSeventh = true;
  bool MinorSeventh = true;
  bool DominantSeventh = true;
  bool Suspended2 = true;
  bool Suspended4 = true;
  bool SuspendedSixth2 = true;
  bool SuspendedSixth4 = true;
  bool SuspendedSeventh2 = true;
  bool SuspendedSeventh4 = true;
  bool Augmented = true;
  bool AugmentedSixth = true;
  bool AugmentedSeventh = true;
  bool Diminished = true;
  bool DiminishedSeventh = true;
  // Inversions asked besides the root position.
  bool FirstInversion = true;
  bool SecondInversion = true;
  bool Arpeggiated = false;    // when false the keys sound together
  bool ChordNotation = false;  // note trainer only: ask chords in chord notation
  NotesDiapason diapason;      // range of the root
  ExerciseDuration duration;
  CleffSettings cleff;
};

struct ScalesSettings {
  bool NaturalMaj = true;
  bool NaturalMin = true;
  bool PentatonicMaj = true;
  bool PentatonicMin = true;
  bool Harmonic = true;
  bool MelodicMin = true;
  bool Diminished = true;
  bool Blues = true;
  bool Augmented = true;
  bool WholeTone = true;
  bool ApplyDifferentScaleModes = false;
  bool Ascending = true;
  bool Descending = true;
  NotesDiapason diapason;  // range of the root
  ExerciseDuration duration;
  CleffSettings cleff;
};

// Prestissimo has no tempo class of its own: it is stored, set by the presets and compared when
// matching the ear trainer against them, but nothing asks questions by it.
struct TempoSettings {
  bool Largo = true;
  bool Adagio = true;
  bool Andante = true;
  bool Allegro = true;
  bool Moderato = true;
  bool Presto = true;
  bool Prestissimo = true;
  bool Vivace = true;
  ExerciseDuration duration;
};

struct LengthSettings {
  bool Whole = true;
  bool Half = true;
  bool Quarter = true;
  bool Eights = true;
  bool Sixteenth = true;
  bool ThirtySecond = true;
  bool SixtyFourth = true;
  bool HundredTwentyEight = true;
  bool Rests = true;
  ExerciseDuration duration;
};

struct KeySignaturesSettings {
  bool CMaj = true;
  bool AMaj = true;
  bool GMaj = true;
  bool EMaj = true;
  bool DMaj = true;
  bool BMaj = true;
  bool FMaj = true;
  bool GbMaj = true;
  bool EbMaj = true;
  bool DbMaj = true;
  bool BbMaj = true;
  bool AbMaj = true;
  ExerciseDuration duration;
};

struct LoudnessSettings {
  bool Pianississimo = true;
  bool Pianissimo = true;
  bool Piano = true;
  bool MezzoPiano = true;
  bool MezzoForte = true;
  bool Forte = true;
  bool Fortissimo = true;
  bool Fortississimo = true;
  bool Sforzando = true;
  bool Crescendo = true;
  bool Diminuendo = true;
  ExerciseDuration duration;
};

struct NoteModifiersSettings {
  bool Stacatto = true;
  bool Fermata = true;
  bool Tremolo = true;
  bool Stacattissimo = true;
  bool Trill = true;
  bool EngagePedal = true;
  bool ReleasePedal = true;
  bool Acent = true;
  bool Tie = true;
  bool OttavaAlto = true;
  bool Marcato = true;
  bool OttavaBasso = true;
  bool Natural = true;
  bool Flat = true;
  bool Sharp = true;
  bool RepeatSigns = true;
  bool VoltaBracket = true;
  bool Appogiatura = true;
  bool DoubleFlat = true;
  bool DoubleSharp = true;
  bool Arpeggio = true;
  bool Tenuto = true;
  bool Slur = true;
  bool Acciaccatura = true;
  ExerciseDuration duration;
};

// What happens after a wrong answer. The one instance inside the note trainer's record serves all
// three trainers.
struct GlobalSectionSettings {
  bool autoContinue = true;  // false: pause after a wrong answer until the learner resumes
  int delay = 5000;          // ms before the next question after a wrong answer
};

// Sections: single notes, intervals, chords.
struct NoteTrainerSettings {
  SingleNotesSettings singleNotes;
  IntervalSettings interval;
  ChordSettings chord;
  GlobalSectionSettings onWrongAnswer;
};

// Sections: single notes, intervals, chords, scales, tempo.
struct EarTrainerSettings {
  SingleNotesSettings singleNotes;
  IntervalSettings interval;
  ChordSettings chord;
  ScalesSettings scales;
  TempoSettings tempo;
};

// Sections: note lengths, key signatures, tempo, loudness, note modifiers.
struct SheetMusicSymbolsSettings {
  LengthSettings length;
  KeySignaturesSettings signatures;
  TempoSettings tempo;
  LoudnessSettings loudness;
  NoteModifiersSettings noteModifiers;
};

// All trainer settings. Each trainer's part can be replaced on its own.
struct ExcersisesSettings {
  NoteTrainerSettings noteTrainer;
  EarTrainerSettings earTrainer;
  SheetMusicSymbolsSettings sheetMusicSymbols;
};

// These comparisons recognise difficulty presets: they cover only the members a preset defines
// for the learner (material, ranges and clefs), never section lengths, the after-a-wrong-answer
// record, the symbols trainer's tempo, or the few symbol flags the levels leave to the learner.
// They are not full equality.
bool operator==(const ChordSettings& a, const ChordSettings& b);
bool operator==(const ScalesSettings& a, const ScalesSettings& b);
bool operator==(const KeySignaturesSettings& a, const KeySignaturesSettings& b);
bool operator==(const NoteModifiersSettings& a, const NoteModifiersSettings& b);
bool operator==(const NoteTrainerSettings& a, const NoteTrainerSettings& b);
bool operator==(const EarTrainerSettings& a, const EarTrainerSettings& b);
bool operator==(const SheetMusicSymbolsSettings& a, const SheetMusicSymbolsSettings& b);

}  // namespace Core
