#include "src/core/settings/settings_store.h"

#include <QSettings>

#include <cstdint>

namespace Core {

namespace {

template <class Record>
struct FlagKey {
  bool Record::*flag;
  const char* key;
};

constexpr FlagKey<ChordSettings> kChordKeys[] = {
    {&ChordSettings::MajorTriad, "Chord.MajorTriad"},
    {&ChordSettings::MinorTriad, "Chord.MinorTriad"},
    {&ChordSettings::MajorSixth, "Chord.MajorSixth"},
    {&ChordSettings::MinorSixth, "Chord.MinorSixth"},
    {&ChordSettings::MajorSeventh, "Chord.MajorSeventh"},
    {&ChordSettings::MinorSeventh, "Chord.MinorSeventh"},
    {&ChordSettings::DominantSeventh, "Chord.DominantSeventh"},
    {&ChordSettings::Suspended2, "Chord.Suspended2"},
    {&ChordSettings::Suspended4, "Chord.Suspended4"},
    {&ChordSettings::SuspendedSixth2, "Chord.SuspendedSixth2"},
    {&ChordSettings::SuspendedSixth4, "Chord.SuspendedSixth4"},
    {&ChordSettings::SuspendedSeventh2, "Chord.SuspendedSeventh2"},
    {&ChordSettings::SuspendedSeventh4, "Chord.SuspendedSeventh4"},
    {&ChordSettings::Augmented, "Chord.Augmented"},
    {&ChordSettings::AugmentedSixth, "Chord.AugmentedSixth"},
    {&ChordSettings::AugmentedSeventh, "Chord.AugmentedSeventh"},
    {&ChordSettings::Diminished, "Chord.Diminished"},
    {&ChordSettings::DiminishedSeventh, "Chord.DiminishedSeventh"},
    {&ChordSettings::FirstInversion, "Chord.FirstInversion"},
    {&ChordSettings::SecondInversion, "Chord.SecondInversion"},
    {&ChordSettings::Arpeggiated, "Chord.Arpeggiated"},
    {&ChordSettings::ChordNotation, "Chord.ChordNotation"},
};

constexpr FlagKey<ScalesSettings> kScaleKeys[] = {
    {&ScalesSettings::NaturalMaj, "Scales.NaturalMaj"},
    {&ScalesSettings::NaturalMin, "Scales.NaturalMin"},
    {&ScalesSettings::PentatonicMaj, "Scales.PentatonicMaj"},
    {&ScalesSettings::PentatonicMin, "Scales.PentatonicMin"},
    {&ScalesSettings::Harmonic, "Scales.Harmonic"},
    {&ScalesSettings::MelodicMin, "Scales.MelodicMin"},
    {&ScalesSettings::Diminished, "Scales.Diminished"},
    {&ScalesSettings::Blues, "Scales.Blues"},
    {&ScalesSettings::Augmented, "Scales.Augmented"},
    {&ScalesSettings::WholeTone, "Scales.WholeTone"},
    {&ScalesSettings::ApplyDifferentScaleModes, "Scales.ApplyDifferentScaleModes"},
    {&ScalesSettings::Ascending, "Scales.Ascending"},
    {&ScalesSettings::Descending, "Scales.Descending"},
};

constexpr FlagKey<TempoSettings> kTempoKeys[] = {
    {&TempoSettings::Largo, "Tempo.Largo"},
    {&TempoSettings::Adagio, "Tempo.Adagio"},
    {&TempoSettings::Andante, "Tempo.Andante"},
    {&TempoSettings::Allegro, "Tempo.Allegro"},
    {&TempoSettings::Moderato, "Tempo.Moderato"},
    {&TempoSettings::Presto, "Tempo.Presto"},
    {&TempoSettings::Prestissimo, "Tempo.Prestissimo"},
    {&TempoSettings::Vivace, "Tempo.Vivace"},
};

constexpr FlagKey<LengthSettings> kLengthKeys[] = {
    {&LengthSettings::Whole, "Length.Whole"},
    {&LengthSettings::Half, "Length.Half"},
    {&LengthSettings::Quarter, "Length.Quarter"},
    {&LengthSettings::Eights, "Length.Eights"},
    {&LengthSettings::Sixteenth, "Length.Sixteenth"},
    {&LengthSettings::ThirtySecond, "Length.ThirtySecond"},
    {&LengthSettings::SixtyFourth, "Length.SixtyFourth"},
    {&LengthSettings::HundredTwentyEight, "Length.HundredTwentyEight"},
    {&LengthSettings::Rests, "Length.Rests"},
};

constexpr FlagKey<KeySignaturesSettings> kSignatureKeys[] = {
    {&KeySignaturesSettings::CMaj, "Signatures.CMaj"},
    {&KeySignaturesSettings::AMaj, "Signatures.AMaj"},
    {&KeySignaturesSettings::GMaj, "Signatures.GMaj"},
    {&KeySignaturesSettings::EMaj, "Signatures.EMaj"},
    {&KeySignaturesSettings::DMaj, "Signatures.DMaj"},
    {&KeySignaturesSettings::BMaj, "Signatures.BMaj"},
    {&KeySignaturesSettings::FMaj, "Signatures.FMaj"},
    {&KeySignaturesSettings::GbMaj, "Signatures.GbMaj"},
    {&KeySignaturesSettings::EbMaj, "Signatures.EbMaj"},
    {&KeySignaturesSettings::DbMaj, "Signatures.DbMaj"},
    {&KeySignaturesSettings::BbMaj, "Signatures.BbMaj"},
    {&KeySignaturesSettings::AbMaj, "Signatures.AbMaj"},
};

constexpr FlagKey<LoudnessSettings> kLoudnessKeys[] = {
    {&LoudnessSettings::Pianississimo, "Loudness.Pianississimo"},
    {&LoudnessSettings::Pianissimo, "Loudness.Pianissimo"},
    {&LoudnessSettings::Piano, "Loudness.Piano"},
    {&LoudnessSettings::MezzoPiano, "Loudness.MezzoPiano"},
    {&LoudnessSettings::MezzoForte, "Loudness.MezzoForte"},
    {&LoudnessSettings::Forte, "Loudness.Forte"},
    {&LoudnessSettings::Fortissimo, "Loudness.Fortissimo"},
    {&LoudnessSettings::Fortississimo, "Loudness.Fortississimo"},
    {&LoudnessSettings::Sforzando, "Loudness.Sforzando"},
    {&LoudnessSettings::Crescendo, "Loudness.Crescendo"},
    {&LoudnessSettings::Diminuendo, "Loudness.Diminuendo"},
};

constexpr FlagKey<NoteModifiersSettings> kNoteModifierKeys[] = {
    {&NoteModifiersSettings::Stacatto, "NoteModifiers.Stacatto"},
    {&NoteModifiersSettings::Fermata, "NoteModifiers.Fermata"},
    {&NoteModifiersSettings::Tremolo, "NoteModifiers.Tremolo"},
    {&NoteModifiersSettings::Stacattissimo, "NoteModifiers.Stacattissimo"},
    {&NoteModifiersSettings::Trill, "NoteModifiers.Trill"},
    {&NoteModifiersSettings::EngagePedal, "NoteModifiers.EngagePedal"},
    {&NoteModifiersSettings::ReleasePedal, "NoteModifiers.ReleasePedal"},
    {&NoteModifiersSettings::Acent, "NoteModifiers.Acent"},
    {&NoteModifiersSettings::Tie, "NoteModifiers.Tie"},
    {&NoteModifiersSettings::OttavaAlto, "NoteModifiers.OttavaAlto"},
    {&NoteModifiersSettings::Marcato, "NoteModifiers.Marcato"},
    {&NoteModifiersSettings::OttavaBasso, "NoteModifiers.OttavaBasso"},
    {&NoteModifiersSettings::Natural, "NoteModifiers.Natural"},
    {&NoteModifiersSettings::Flat, "NoteModifiers.Flat"},
    {&NoteModifiersSettings::Sharp, "NoteModifiers.Sharp"},
    {&NoteModifiersSettings::RepeatSigns, "NoteModifiers.RepeatSigns"},
    {&NoteModifiersSettings::VoltaBracket, "NoteModifiers.VoltaBracket"},
    {&NoteModifiersSettings::Appogiatura, "NoteModifiers.Appogiatura"},
    {&NoteModifiersSettings::DoubleFlat, "NoteModifiers.DoubleFlat"},
    {&NoteModifiersSettings::DoubleSharp, "NoteModifiers.DoubleSharp"},
    {&NoteModifiersSettings::Arpeggio, "NoteModifiers.Arpeggio"},
    {&NoteModifiersSettings::Tenuto, "NoteModifiers.Tenuto"},
    {&NoteModifiersSettings::Slur, "NoteModifiers.Slur"},
    {&NoteModifiersSettings::Acciaccatura, "NoteModifiers.Acciaccatura"},
};

// --- Reading and writing single values -------------------------------------------------------

// A present key converts as Qt converts it (0 or false when it cannot); a missing key yields the
// default.
bool ReadBool(QSettings& store, const char* key, bool fallback) {
  return store.value(QLatin1String(key), fallback).toBool();
}

int ReadInt(QSettings& store, const char* key, int fallback) {
  return store.value(QLatin1String(key), fallback).toInt();
}

// Keys written as unsigned and read as int keep their 32-bit pattern both ways, so a value that
// went out as unsigned comes back as the int it was.
int ReadUnsignedAsInt(QSettings& store, const char* key, int fallback) {
  const QVariant value = store.value(QLatin1String(key), fallback);
  bool ok = false;
  const qlonglong wide = value.toLongLong(&ok);
  return ok ? static_cast<int>(static_cast<std::uint32_t>(wide)) : 0;
}

template <class Record, std::size_t N>
void LoadFlags(QSettings& store, Record& record, const FlagKey<Record> (&keys)[N]) {
  for (const auto& entry : keys)
    record.*(entry.flag) = ReadBool(store, entry.key, record.*(entry.flag));
}

template <class Record, std::size_t N>
void SaveFlags(QSettings& store, const Record& record, const FlagKey<Record> (&keys)[N]) {
  for (const auto& entry : keys) store.setValue(QLatin1String(entry.key), record.*(entry.flag));
}

// Opens a group for the lifetime of the object, so every block leaves the store's group where
// it found it.
class Group {
 public:
  Group(QSettings& store, const char* name) : m_store(store) {
    m_store.beginGroup(QLatin1String(name));
  }
  ~Group() { m_store.endGroup(); }
  Group(const Group&) = delete;
  Group& operator=(const Group&) = delete;

 private:
  QSettings& m_store;
};

// --- Blocks ----------------------------------------------------------------------------------

void SaveDiapason(QSettings& store, const NotesDiapason& range) {
  Group group(store, "Diapason");
  store.setValue("Diapason.Minimum", range.minimum);
  store.setValue("Diapason.Maximum", range.maximum);
  Group chromatic(store, "Chromatic");
  store.setValue("chromatics.White", range.chromatic.white);
  store.setValue("chromatics.Black", range.chromatic.black);
}

void LoadDiapason(QSettings& store, NotesDiapason& range) {
  Group group(store, "Diapason");
  range.minimum = ReadInt(store, "Diapason.Minimum", range.minimum);
  range.maximum = ReadInt(store, "Diapason.Maximum", range.maximum);
  Group chromatic(store, "Chromatic");
  range.chromatic.white = ReadBool(store, "chromatics.White", range.chromatic.white);
  range.chromatic.black = ReadBool(store, "chromatics.Black", range.chromatic.black);
}

void SaveDuration(QSettings& store, const ExerciseDuration& duration) {
  Group group(store, "Duration");
  store.setValue("Duration.SecondsValue", duration.seconds);
  store.setValue("Duration.QuestionsValue", duration.questions);
}

void LoadDuration(QSettings& store, ExerciseDuration& duration) {
  Group group(store, "Duration");
  duration.seconds = ReadInt(store, "Duration.SecondsValue", duration.seconds);
  duration.questions = ReadInt(store, "Duration.QuestionsValue", duration.questions);
}

void SaveCleff(QSettings& store, const CleffSettings& cleff) {
  Group group(store, "Cleff");
  store.setValue("cleff.GClef", cleff.gClef);
  store.setValue("cleff.FClef", cleff.fClef);
}

void LoadCleff(QSettings& store, CleffSettings& cleff) {
  Group group(store, "Cleff");
  cleff.gClef = ReadBool(store, "cleff.GClef", cleff.gClef);
  cleff.fClef = ReadBool(store, "cleff.FClef", cleff.fClef);
}

void SaveSingleNotes(QSettings& store, const SingleNotesSettings& notes) {
  Group group(store, "SingleNotes");
  SaveDiapason(store, notes.diapason);
  SaveDuration(store, notes.duration);
  SaveCleff(store, notes.cleff);
}

void LoadSingleNotes(QSettings& store, SingleNotesSettings& notes) {
  Group group(store, "SingleNotes");
  LoadDiapason(store, notes.diapason);
  LoadDuration(store, notes.duration);
  LoadCleff(store, notes.cleff);
}

void SaveInterval(QSettings& store, const IntervalSettings& interval) {
  Group group(store, "Interval");
  store.setValue("Interval.IntervalStart", interval.intervalStart);
  store.setValue("Interval.IntervalEnd", interval.intervalEnd);
  store.setValue("Interval.Arpeggiated", interval.arpeggiated);
  SaveDiapason(store, interval.diapason);
  SaveDuration(store, interval.duration);
  SaveCleff(store, interval.cleff);
}

void LoadInterval(QSettings& store, IntervalSettings& interval) {
  Group group(store, "Interval");
  interval.intervalStart = ReadInt(store, "Interval.IntervalStart", interval.intervalStart);
  interval.intervalEnd = ReadInt(store, "Interval.IntervalEnd", interval.intervalEnd);
  interval.arpeggiated = ReadBool(store, "Interval.Arpeggiated", interval.arpeggiated);
  LoadDiapason(store, interval.diapason);
  LoadDuration(store, interval.duration);
  LoadCleff(store, interval.cleff);
}

void SaveChord(QSettings& store, const ChordSettings& chord) {
  Group group(store, "Chord");
  SaveDiapason(store, chord.diapason);
  SaveDuration(store, chord.duration);
  SaveCleff(store, chord.cleff);
  SaveFlags(store, chord, kChordKeys);
}

void LoadChord(QSettings& store, ChordSettings& chord) {
  Group group(store, "Chord");
  LoadDiapason(store, chord.diapason);
  LoadDuration(store, chord.duration);
  LoadCleff(store, chord.cleff);
  LoadFlags(store, chord, kChordKeys);
}

void SaveScales(QSettings& store, const ScalesSettings& scales) {
  Group group(store, "Scales");
  SaveDuration(store, scales.duration);
  SaveDiapason(store, scales.diapason);
  SaveCleff(store, scales.cleff);
  SaveFlags(store, scales, kScaleKeys);
}

void LoadScales(QSettings& store, ScalesSettings& scales) {
  Group group(store, "Scales");
  LoadDuration(store, scales.duration);
  LoadDiapason(store, scales.diapason);
  LoadCleff(store, scales.cleff);
  LoadFlags(store, scales, kScaleKeys);
}

// The symbol blocks share one shape: a group with a section length and a set of flags.
template <class Record, std::size_t N>
void SaveSymbolBlock(QSettings& store, const char* name, const Record& record,
                     const FlagKey<Record> (&keys)[N]) {
  Group group(store, name);
  SaveDuration(store, record.duration);
  SaveFlags(store, record, keys);
}

template <class Record, std::size_t N>
void LoadSymbolBlock(QSettings& store, const char* name, Record& record,
                     const FlagKey<Record> (&keys)[N]) {
  Group group(store, name);
  LoadDuration(store, record.duration);
  LoadFlags(store, record, keys);
}

void SaveTempo(QSettings& store, const TempoSettings& tempo) {
  SaveSymbolBlock(store, "Tempo", tempo, kTempoKeys);
}

void LoadTempo(QSettings& store, TempoSettings& tempo) {
  LoadSymbolBlock(store, "Tempo", tempo, kTempoKeys);
}

void SaveSheetMusicSymbols(QSettings& store, const SheetMusicSymbolsSettings& symbols) {
  Group group(store, "SheetMusicSymbol");
  SaveSymbolBlock(store, "Length", symbols.length, kLengthKeys);
  SaveSymbolBlock(store, "Signatures", symbols.signatures, kSignatureKeys);
  SaveTempo(store, symbols.tempo);
  SaveSymbolBlock(store, "Loudness", symbols.loudness, kLoudnessKeys);
  SaveSymbolBlock(store, "NoteModifiers", symbols.noteModifiers, kNoteModifierKeys);
}

void LoadSheetMusicSymbols(QSettings& store, SheetMusicSymbolsSettings& symbols) {
  Group group(store, "SheetMusicSymbol");
  LoadSymbolBlock(store, "Length", symbols.length, kLengthKeys);
  LoadSymbolBlock(store, "Signatures", symbols.signatures, kSignatureKeys);
  LoadTempo(store, symbols.tempo);
  LoadSymbolBlock(store, "Loudness", symbols.loudness, kLoudnessKeys);
  LoadSymbolBlock(store, "NoteModifiers", symbols.noteModifiers, kNoteModifierKeys);
}

void SaveGlobal(QSettings& store, const GlobalSettings& global) {
  Group group(store, "GlobalSetting");
  store.setValue("Settings.InputDevice", global.inputDevice);
  store.setValue("Settings.Appearance", static_cast<uint>(global.appearance));
  store.setValue("Settings.ShowNoteFingers", global.showNoteFingers);
  store.setValue("Settings.ShowNoteLetters", global.showNoteLetters);
  store.setValue("Settings.ShowMistakes", global.showMistakes);
  store.setValue("Settings.HideMidiDialog", global.hideMidiDialog);
  store.setValue("Settings.NewsId", static_cast<uint>(global.newsId));
  store.setValue("Settings.MidiInstrument", static_cast<int>(global.midiInstrument));
  store.setValue("Settings.ShowDifficultyDialog", global.showDifficultyDialog);
  store.setValue("Settings.Answer.GKC", global.answerGkc);
  store.setValue("Settings.Answer.MultipleChoice", global.answerMultipleChoice);
}

void LoadGlobal(QSettings& store, GlobalSettings& global) {
  Group group(store, "GlobalSetting");
  global.inputDevice = store.value("Settings.InputDevice", QString()).toString();
  global.appearance = static_cast<std::uint32_t>(
      ReadUnsignedAsInt(store, "Settings.Appearance", static_cast<int>(global.appearance)));
  global.showNoteFingers = ReadBool(store, "Settings.ShowNoteFingers", false);
  global.showNoteLetters = ReadBool(store, "Settings.ShowNoteLetters", false);
  global.showMistakes = ReadBool(store, "Settings.ShowMistakes", false);
  global.hideMidiDialog = ReadBool(store, "Settings.HideMidiDialog", false);
  global.newsId = ReadUnsignedAsInt(store, "Settings.NewsId", 0);
  // Only the low 8 bits are kept: 300 becomes 44, 255 becomes -1.
  global.midiInstrument = static_cast<std::int8_t>(ReadInt(store, "Settings.MidiInstrument", 0));
  global.showDifficultyDialog = ReadBool(store, "Settings.ShowDifficultyDialog", true);
  global.answerGkc = ReadBool(store, "Settings.Answer.GKC", true);
  global.answerMultipleChoice = ReadBool(store, "Settings.Answer.MultipleChoice", false);
}

}  // namespace

void LoadResumeState(QSettings& store, VAvaroState& state) {
  state.lastState = ReadUnsignedAsInt(store, "ROZazod.LastState", VAvaroState::NoExerciseOpen);
  state.lessonId = static_cast<std::uint32_t>(ReadUnsignedAsInt(store, "ROZazod.LessonID", 0));
  state.exerciseId = ReadInt(store, "ROZazod.ExerciseID", 0);
  state.lessonPosition = ReadInt(store, "ROZazod.LessonPosition", 0);
  state.exercisePosition = ReadInt(store, "ROZazod.ExercisePosition", 0);
}

void SaveResumeState(QSettings& store, const VAvaroState& state) {
  store.setValue("ROZazod.LastState", static_cast<uint>(state.lastState));
  store.setValue("ROZazod.LessonID", static_cast<uint>(state.lessonId));
  store.setValue("ROZazod.ExerciseID", state.exerciseId);
  store.setValue("ROZazod.LessonPosition", state.lessonPosition);
  store.setValue("ROZazod.ExercisePosition", state.exercisePosition);
}

bool LoadRated(QSettings& store) {
  return ReadBool(store, "showRatingDialog", false);
}

void SaveRated(QSettings& store, bool rated) {
  store.setValue("showRatingDialog", rated);
}

void LoadSettings(QSettings& store, GlobalSettings& global, ExcersisesSettings& exercises) {
  LoadGlobal(store, global);

  Group all(store, "Excersises");
  {
    NoteTrainerSettings& notes = exercises.noteTrainer;
    Group trainer(store, "NoteTrainer");
    {
      // Fixed fallbacks rather than the value in memory: a store without them moves on after
      // 3000 ms.
      Group policy(store, "OnWrongAnswerPolicy");
      notes.onWrongAnswer.autoContinue =
          ReadBool(store, "Settings.WrongAnswerPolicy.Continue", true);
      notes.onWrongAnswer.delay = ReadInt(store, "Settings.WrongAnswerPolicy.Delay", 3000);
    }
    LoadSingleNotes(store, notes.singleNotes);
    LoadInterval(store, notes.interval);
    LoadChord(store, notes.chord);
  }
  {
    EarTrainerSettings& ear = exercises.earTrainer;
    Group trainer(store, "EarTrainer");
    LoadSingleNotes(store, ear.singleNotes);
    LoadInterval(store, ear.interval);
    LoadChord(store, ear.chord);
    LoadScales(store, ear.scales);
    LoadTempo(store, ear.tempo);
  }
  LoadSheetMusicSymbols(store, exercises.sheetMusicSymbols);
}

void SaveSettings(QSettings& store, const GlobalSettings& global,
                  const ExcersisesSettings& exercises) {
  SaveGlobal(store, global);

  Group all(store, "Excersises");
  {
    const NoteTrainerSettings& notes = exercises.noteTrainer;
    Group trainer(store, "NoteTrainer");
    {
      Group policy(store, "OnWrongAnswerPolicy");
      store.setValue("Settings.WrongAnswerPolicy.Continue", notes.onWrongAnswer.autoContinue);
      store.setValue("Settings.WrongAnswerPolicy.Delay", notes.onWrongAnswer.delay);
    }
    SaveSingleNotes(store, notes.singleNotes);
    SaveInterval(store, notes.interval);
    SaveChord(store, notes.chord);
  }
  {
    const EarTrainerSettings& ear = exercises.earTrainer;
    Group trainer(store, "EarTrainer");
    SaveSingleNotes(store, ear.singleNotes);
    SaveInterval(store, ear.interval);
    SaveChord(store, ear.chord);
    SaveScales(store, ear.scales);
    SaveTempo(store, ear.tempo);
  }
  SaveSheetMusicSymbols(store, exercises.sheetMusicSymbols);
}

}  // namespace Core
