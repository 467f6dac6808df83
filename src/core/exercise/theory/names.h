#pragma once

// Display names of notes, intervals, chords and scales (C♯4, C4 Major third, Cmaj inv1, ...), as
// the question pools label their entries and the statistics views label their groups.
// Out-of-range arguments never fail: they give the fixed texts "note error", "interval error",
// "chord error" and "scale error", which the views then show as they are.

#include <QString>

#include <array>

namespace Core {

constexpr unsigned int ChordTypeCount = 18;
constexpr unsigned int ScaleTypeCount = 10;
constexpr int IntervalTypeCount = 13;  // 0..12 semitones

// By pitch class: [0] the sharp name, [1] the flat name.
extern const std::array<std::array<QString, 2>, 12> NotesNamesMap;
// By chord type, in the order of the chord flags of the chord settings.
extern const std::array<QString, ChordTypeCount> ChordNamesMap;
// By scale type (not the order of the scale flags of the scale settings).
extern const std::array<QString, ScaleTypeCount> ScaleNamesMap;
// By size in semitones; the lookups read IntervalDescMap.
extern const std::array<QString, IntervalTypeCount> IntervalDescMap;
extern const std::array<QString, IntervalTypeCount> IntervalNamesMap;

// Pitch-class name and C-based octave number; key 40 is C♯4 or D♭4.
QString GetNoteString(unsigned char key, bool flat);
QString GetNoteStringByType(unsigned int pitchClass, bool flat);

QString GetIntervalStringByType(int semitones);
// "<note> <interval>", e.g. "C4 Major third".
QString GetIntervalString(int semitones, unsigned int key, bool flat);

QString GetChordStringType(unsigned int type);
// "<note without octave><type>[ inv<n>]\n(oct <octave>)", e.g. "Cmaj inv1\n(oct 4)".
QString GetChordString(unsigned int type, unsigned int key, int inversion, bool flat);

QString GetScaleStringType(unsigned int type);
// "<note> <scale>", e.g. "A3 Harmonic m".
QString GetScaleString(unsigned int type, unsigned int key, bool flat);

}  // namespace Core
