#include "src/core/exercise/theory/names.h"

#include <QCoreApplication>

#include "src/core/exercise/theory/key_geometry.h"

namespace Core {

namespace {

// The names are translated once, when the tables are built; a translator installed later does
// not change them.
QString Tr(const char* text) {
  return QCoreApplication::translate("QObject", text);
}

const QString kSharp = QStringLiteral("\u266F");
const QString kFlat = QStringLiteral("\u266D");

}  // namespace

const std::array<std::array<QString, 2>, 12> NotesNamesMap = {{
    {"C", "C"},
    {"C" + kSharp, "D" + kFlat},
    {"D", "D"},
    {"D" + kSharp, "E" + kFlat},
    {"E", "E"},
    {"F", "F"},
    {"F" + kSharp, "G" + kFlat},
    {"G", "G"},
    {"G" + kSharp, "A" + kFlat},
    {"A", "A"},
    {"A" + kSharp, "B" + kFlat},
    {"B", "B"},
}};

const std::array<QString, ChordTypeCount> ChordNamesMap = {
    Tr("maj"),   Tr("min"),  Tr("maj6"), Tr("min6"),  Tr("maj7"),  Tr("min7"),
    Tr("dom7"),  Tr("sus2"), Tr("sus4"), Tr("6sus2"), Tr("6sus4"), Tr("7sus2"),
    Tr("7sus4"), Tr("aug"),  Tr("aug6"), Tr("aug7"),  Tr("dim"),   Tr("dim7"),
};

const std::array<QString, ScaleTypeCount> ScaleNamesMap = {
    Tr("Major"),        Tr("Natural m"),  Tr("Harmonic m"), Tr("Melodic m"), Tr("Pentatonic"),
    Tr("Pentatonic m"), Tr("Diminished"), Tr("Blues"),      Tr("Augmented"), Tr("Whole Tone"),
};

const std::array<QString, IntervalTypeCount> IntervalDescMap = {
    Tr("Perfect Unison"), Tr("Minor second"),   Tr("Major second"),  Tr("Minor third"),
    Tr("Major third"),    Tr("Perfect fourth"), Tr("Tritone"),       Tr("Perfect fifth"),
    Tr("Minor sixth"),    Tr("Major sixth"),    Tr("Minor seventh"), Tr("Major seventh"),
    Tr("Perfect octave"),
};

const std::array<QString, IntervalTypeCount> IntervalNamesMap = IntervalDescMap;

QString GetNoteString(unsigned char key, bool flat) {
  if (key == 87) return QStringLiteral("C8");
  return NotesNamesMap[GetNoteType(key)][flat ? 1 : 0] + QString::number(octave(key));
}

QString GetNoteStringByType(unsigned int pitchClass, bool flat) {
  if (pitchClass >= NotesNamesMap.size()) return QStringLiteral("note error");
  return NotesNamesMap[pitchClass][flat ? 1 : 0];
}

QString GetIntervalStringByType(int semitones) {
  if (semitones < 0 || semitones >= IntervalTypeCount) return QStringLiteral("interval error");
  return IntervalDescMap[static_cast<unsigned int>(semitones)];
}

QString GetIntervalString(int semitones, unsigned int key, bool flat) {
  if (semitones < 0 || semitones >= IntervalTypeCount) return QStringLiteral("interval error");
  return GetNoteString(static_cast<unsigned char>(key), flat) + ' ' +
         IntervalDescMap[static_cast<unsigned int>(semitones)];
}

QString GetChordStringType(unsigned int type) {
  if (type >= ChordTypeCount) return QStringLiteral("chord error");
  return ChordNamesMap[type];
}

QString GetChordString(unsigned int type, unsigned int key, int inversion, bool flat) {
  if (type >= ChordTypeCount) return QStringLiteral("chord error");
  const QString note = GetNoteString(static_cast<unsigned char>(key), flat);
  const QString tail = QStringLiteral("\n(oct %1)").arg(note.right(1));
  QString text = note.left(note.size() - 1) + ChordNamesMap[type];
  if (inversion != 0) text += QStringLiteral(" inv%1").arg(inversion);
  return text + tail;
}

QString GetScaleStringType(unsigned int type) {
  if (type >= ScaleTypeCount) return QStringLiteral("scale error");
  return ScaleNamesMap[type];
}

QString GetScaleString(unsigned int type, unsigned int key, bool flat) {
  if (type >= ScaleTypeCount) return QStringLiteral("scale error");
  return GetNoteString(static_cast<unsigned char>(key), flat) + ' ' + ScaleNamesMap[type];
}

}  // namespace Core
