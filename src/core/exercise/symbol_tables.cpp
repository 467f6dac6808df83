#include "src/core/exercise/symbol_tables.h"

#include <QObject>

namespace Core {

namespace {

const QString PicturePath = QStringLiteral(":/pixmap/exercise/");

QString Picture(const char* file) {
  return PicturePath + QLatin1String(file);
}

SymbolRow Row(const char* file, const char* name) {
  return {Picture(file), QObject::tr(name)};
}

}  // namespace

const std::array<SymbolRow, LengthRowCount>& LengthSymbols() {
  // Even rows are notes, odd rows rests. Every length has a picture of its own: a learner asked
  // for a length must be able to tell it from the lengths beside it.
  static const std::array<SymbolRow, LengthRowCount> rows = {
      Row("wholenote.png", QT_TR_NOOP("Whole")),
      Row("wholerest.png", QT_TR_NOOP("Whole\nRest")),
      Row("halfnote.png", QT_TR_NOOP("Half")),
      Row("halfrest.png", QT_TR_NOOP("Half\nRest")),
      Row("quarternote.png", QT_TR_NOOP("Quarter")),
      Row("quarterrest.png", QT_TR_NOOP("Quarter\nRest")),
      Row("eighthnote.png", QT_TR_NOOP("Eighth")),
      Row("eighthrest.png", QT_TR_NOOP("Eighth\nRest")),
      Row("sixteenthnote.png", QT_TR_NOOP("Sixteenth")),
      Row("sixteenthrest.png", QT_TR_NOOP("Sixteenth\nRest")),
      Row("thirtysecondnote.png", QT_TR_NOOP("Thirty Second")),
      Row("thirtysecondrest.png", QT_TR_NOOP("Thirty Second\nRest")),
      Row("sixtyfourthnote.png", QT_TR_NOOP("Sixty Fourth")),
      Row("sixtyfourthrest.png", QT_TR_NOOP("Sixty Fourth\nRest")),
      Row("hundredtwentyeighthnote.png", QT_TR_NOOP("One Twenty Eighth")),
      Row("hundredtwentyeighthrest.png", QT_TR_NOOP("One Twenty Eighth\nRest")),
  };
  return rows;
}

const std::array<SignatureRow, SignatureRowCount>& SignatureSymbols() {
  static const std::array<SignatureRow, SignatureRowCount> rows = [] {
    const char* const stems[SignatureRowCount] = {"c-a",   "g-e",     "d-b",     "a-fis",   "e-cis",
                                                  "b-gis", "fis-dis", "ges-ees", "des-bes", "aes-f",
                                                  "ees-c", "bes-g",   "f-d"};
    const char16_t* const names[SignatureRowCount] = {u"C / a",
                                                      u"G / e",
                                                      u"D / b",
                                                      u"A / f\u266F",
                                                      u"E / c\u266F",
                                                      u"B / g\u266F",
                                                      u"F\u266F / d\u266F",
                                                      u"G\u266D / e\u266D",
                                                      u"D\u266D / b\u266D",
                                                      u"A\u266D / f",
                                                      u"E\u266D / c",
                                                      u"B\u266D / g",
                                                      u"F / d"};
    std::array<SignatureRow, SignatureRowCount> table;
    for (std::size_t i = 0; i < SignatureRowCount; ++i) {
      const QString stem = QLatin1String(stems[i]);
      table[i] = {PicturePath + stem + QStringLiteral("-bass.png"),
                  PicturePath + stem + QStringLiteral("-tr.png"), QString::fromUtf16(names[i])};
    }
    return table;
  }();
  return rows;
}

const std::array<SymbolRow, LoudnessRowCount>& LoudnessSymbols() {
  static const std::array<SymbolRow, LoudnessRowCount> rows = {
      Row("pianississimo.png", QT_TR_NOOP("Pianississimo")),
      Row("pianissimo.png", QT_TR_NOOP("Pianissimo")),
      Row("piano.png", QT_TR_NOOP("Piano")),
      Row("mezzopiano.png", QT_TR_NOOP("Mezzo-piano")),
      Row("mezzoforte.png", QT_TR_NOOP("Mezzo-forte")),
      Row("forte.png", QT_TR_NOOP("Forte")),
      Row("fortissimo.png", QT_TR_NOOP("Fortissimo")),
      Row("fortississimo.png", QT_TR_NOOP("Fortississimo")),
      Row("sforzando.png", QT_TR_NOOP("Sforzando")),
      Row("crescendo.png", QT_TR_NOOP("Crescendo")),
      Row("diminuendo.png", QT_TR_NOOP("Diminuendo")),
  };
  return rows;
}

const std::array<SymbolRow, ModifierRowCount>& ModifierSymbols() {
  static const std::array<SymbolRow, ModifierRowCount> rows = {
      Row("staccato.png", QT_TR_NOOP("Staccato")),
      Row("staccatissimo.png", QT_TR_NOOP("Staccatissimo")),
      Row("accent.png", QT_TR_NOOP("Accent")),
      Row("fermata.png", QT_TR_NOOP("Fermata")),
      Row("flat.png", QT_TR_NOOP("Flat")),
      Row("tie.png", QT_TR_NOOP("Tie")),
      Row("marcato.png", QT_TR_NOOP("Marcato")),
      Row("natural.png", QT_TR_NOOP("Natural")),
      Row("ottavaalta.png", QT_TR_NOOP("Ottava Alta")),
      Row("ottavabassa.png", QT_TR_NOOP("Ottava Bassa")),
      Row("pedaldown.png", QT_TR_NOOP("Pedal Down")),
      Row("pedalup.png", QT_TR_NOOP("Pedal Up")),
      Row("repeat.png", QT_TR_NOOP("Repeat")),
      Row("sharp.png", QT_TR_NOOP("Sharp")),
      Row("volte.png", QT_TR_NOOP("Volta")),
      Row("tremolo.png", QT_TR_NOOP("Tremolo")),
      Row("trill.png", QT_TR_NOOP("Trill")),
      Row("appoggiatura.png", QT_TR_NOOP("Appoggiatura")),
      Row("doubleflat.png", QT_TR_NOOP("Double Flat")),
      Row("doublesharp.png", QT_TR_NOOP("Double Sharp")),
      Row("arpeggio.png", QT_TR_NOOP("Arpeggio")),
      Row("tenuto.png", QT_TR_NOOP("Tenuto")),
      Row("legato.png", QT_TR_NOOP("Slur")),
      Row("acciaccatura.png", QT_TR_NOOP("Acciaccatura")),
  };
  return rows;
}

bool ValidateLengthQuestion(unsigned long id, const LengthSettings* settings) {
  if (id >= LengthRowCount) return false;
  if (id % 2 == 1 && !settings->Rests) return false;
  const bool values[] = {settings->Whole,       settings->Half,
                         settings->Quarter,     settings->Eights,
                         settings->Sixteenth,   settings->ThirtySecond,
                         settings->SixtyFourth, settings->HundredTwentyEight};
  return values[id / 2];
}

bool ValidateSignatureQuestion(unsigned long id, const KeySignaturesSettings* settings) {
  // F sharp and G flat major are one flag: the enharmonic pair is asked together.
  const bool rows[SignatureRowCount] = {
      settings->CMaj,  settings->GMaj,  settings->DMaj,  settings->AMaj,  settings->EMaj,
      settings->BMaj,  settings->GbMaj, settings->GbMaj, settings->DbMaj, settings->AbMaj,
      settings->EbMaj, settings->BbMaj, settings->FMaj};
  return id < SignatureRowCount && rows[id];
}

bool ValidateLoudnessQuestion(unsigned long id, const LoudnessSettings* settings) {
  const bool rows[LoudnessRowCount] = {
      settings->Pianississimo, settings->Pianissimo, settings->Piano,      settings->MezzoPiano,
      settings->MezzoForte,    settings->Forte,      settings->Fortissimo, settings->Fortississimo,
      settings->Sforzando,     settings->Crescendo,  settings->Diminuendo};
  return id < LoudnessRowCount && rows[id];
}

bool ValidateModifiersQuestion(unsigned long id, const NoteModifiersSettings* settings) {
  const bool rows[ModifierRowCount] = {
      settings->Stacatto,    settings->Stacattissimo, settings->Acent,
      settings->Fermata,     settings->Flat,          settings->Tie,
      settings->Marcato,     settings->Natural,       settings->OttavaAlto,
      settings->OttavaBasso, settings->EngagePedal,   settings->ReleasePedal,
      settings->RepeatSigns, settings->Sharp,         settings->VoltaBracket,
      settings->Tremolo,     settings->Trill,         settings->Appogiatura,
      settings->DoubleFlat,  settings->DoubleSharp,   settings->Arpeggio,
      settings->Tenuto,      settings->Slur,          settings->Acciaccatura};
  return id < ModifierRowCount && rows[id];
}

}  // namespace Core
