#include "src/core/settings/difficulty_presets.h"

#include <array>
#include <string_view>

#include "src/common/assertion.h"

namespace Core {

namespace {

using PerLevel = std::array<int, DifficultyPresetCount>;

// One flag and its value at levels 1 to 5, written left to right as '1' (on) or '0' (off).
template <class Record>
struct FlagRow {
  bool Record::*flag;
  std::string_view levels;
};

template <class Record, std::size_t N>
void SetFlags(Record& record, const FlagRow<Record> (&rows)[N], int level) {
  for (const auto& row : rows) record.*(row.flag) = row.levels[level] == '1';
}

// Chord types grow with the level; both trainers share this table.
constexpr FlagRow<ChordSettings> kChordFlags[] = {
    {&ChordSettings::MajorTriad, "11111"},        {&ChordSettings::MinorTriad, "11111"},
    {&ChordSettings::MajorSixth, "01111"},        {&ChordSettings::MinorSixth, "01111"},
    {&ChordSettings::MajorSeventh, "00111"},      {&ChordSettings::MinorSeventh, "00111"},
    {&ChordSettings::DominantSeventh, "00011"},   {&ChordSettings::Suspended2, "00011"},
    {&ChordSettings::Suspended4, "00011"},        {&ChordSettings::SuspendedSixth2, "00011"},
    {&ChordSettings::SuspendedSixth4, "00011"},   {&ChordSettings::SuspendedSeventh2, "00011"},
    {&ChordSettings::SuspendedSeventh4, "00011"}, {&ChordSettings::Augmented, "00001"},
    {&ChordSettings::AugmentedSixth, "00001"},    {&ChordSettings::AugmentedSeventh, "00001"},
    {&ChordSettings::Diminished, "00001"},        {&ChordSettings::DiminishedSeventh, "00001"},
    {&ChordSettings::FirstInversion, "11111"},    {&ChordSettings::SecondInversion, "11111"},
    {&ChordSettings::Arpeggiated, "00000"},       {&ChordSettings::ChordNotation, "00000"},
};

constexpr FlagRow<ScalesSettings> kScaleFlags[] = {
    {&ScalesSettings::NaturalMaj, "11111"},
    {&ScalesSettings::NaturalMin, "01111"},
    {&ScalesSettings::PentatonicMaj, "01111"},
    {&ScalesSettings::PentatonicMin, "00011"},
    {&ScalesSettings::Harmonic, "00111"},
    {&ScalesSettings::MelodicMin, "11111"},
    {&ScalesSettings::Diminished, "00111"},
    {&ScalesSettings::Blues, "00011"},
    {&ScalesSettings::Augmented, "00001"},
    {&ScalesSettings::WholeTone, "00001"},
    {&ScalesSettings::ApplyDifferentScaleModes, "01111"},
    {&ScalesSettings::Ascending, "11111"},
    {&ScalesSettings::Descending, "11111"},
};

constexpr FlagRow<TempoSettings> kEarTempoFlags[] = {
    {&TempoSettings::Largo, "00011"},       {&TempoSettings::Adagio, "11111"},
    {&TempoSettings::Andante, "00111"},     {&TempoSettings::Allegro, "11111"},
    {&TempoSettings::Moderato, "11111"},    {&TempoSettings::Presto, "01111"},
    {&TempoSettings::Prestissimo, "11001"}, {&TempoSettings::Vivace, "00001"},
};

// The symbols trainer drops Adagio at level 3 only: the levels are not simply cumulative.
constexpr FlagRow<TempoSettings> kSymbolTempoFlags[] = {
    {&TempoSettings::Largo, "00111"},       {&TempoSettings::Adagio, "11011"},
    {&TempoSettings::Andante, "00111"},     {&TempoSettings::Allegro, "11111"},
    {&TempoSettings::Moderato, "11111"},    {&TempoSettings::Presto, "01111"},
    {&TempoSettings::Prestissimo, "11001"}, {&TempoSettings::Vivace, "00001"},
};

constexpr FlagRow<LengthSettings> kLengthFlags[] = {
    {&LengthSettings::Whole, "11111"},       {&LengthSettings::Half, "11111"},
    {&LengthSettings::Quarter, "11111"},     {&LengthSettings::Eights, "01111"},
    {&LengthSettings::Sixteenth, "00111"},   {&LengthSettings::ThirtySecond, "00011"},
    {&LengthSettings::SixtyFourth, "00001"}, {&LengthSettings::HundredTwentyEight, "00001"},
    {&LengthSettings::Rests, "11111"},
};

constexpr FlagRow<KeySignaturesSettings> kSignatureFlags[] = {
    {&KeySignaturesSettings::CMaj, "11111"},  {&KeySignaturesSettings::AMaj, "00111"},
    {&KeySignaturesSettings::GMaj, "11111"},  {&KeySignaturesSettings::EMaj, "00011"},
    {&KeySignaturesSettings::DMaj, "01111"},  {&KeySignaturesSettings::BMaj, "00001"},
    {&KeySignaturesSettings::FMaj, "11111"},  {&KeySignaturesSettings::GbMaj, "00001"},
    {&KeySignaturesSettings::EbMaj, "00111"}, {&KeySignaturesSettings::DbMaj, "00001"},
    {&KeySignaturesSettings::BbMaj, "01111"}, {&KeySignaturesSettings::AbMaj, "00011"},
};

constexpr FlagRow<LoudnessSettings> kLoudnessFlags[] = {
    {&LoudnessSettings::Pianississimo, "00011"}, {&LoudnessSettings::Pianissimo, "01111"},
    {&LoudnessSettings::Piano, "11111"},         {&LoudnessSettings::MezzoPiano, "00111"},
    {&LoudnessSettings::MezzoForte, "00111"},    {&LoudnessSettings::Forte, "11111"},
    {&LoudnessSettings::Fortissimo, "01111"},    {&LoudnessSettings::Fortississimo, "00011"},
    {&LoudnessSettings::Sforzando, "00001"},     {&LoudnessSettings::Crescendo, "11111"},
    {&LoudnessSettings::Diminuendo, "11111"},
};

// The pedal marks are left out at level 4 only.
constexpr FlagRow<NoteModifiersSettings> kNoteModifierFlags[] = {
    {&NoteModifiersSettings::Stacatto, "11111"},
    {&NoteModifiersSettings::Fermata, "00111"},
    {&NoteModifiersSettings::Tremolo, "00001"},
    {&NoteModifiersSettings::Stacattissimo, "00011"},
    {&NoteModifiersSettings::Trill, "00011"},
    {&NoteModifiersSettings::EngagePedal, "01101"},
    {&NoteModifiersSettings::ReleasePedal, "01101"},
    {&NoteModifiersSettings::Acent, "01111"},
    {&NoteModifiersSettings::Tie, "01111"},
    {&NoteModifiersSettings::OttavaAlto, "00111"},
    {&NoteModifiersSettings::Marcato, "01111"},
    {&NoteModifiersSettings::OttavaBasso, "00111"},
    {&NoteModifiersSettings::Natural, "11111"},
    {&NoteModifiersSettings::Flat, "11111"},
    {&NoteModifiersSettings::Sharp, "00111"},
    {&NoteModifiersSettings::RepeatSigns, "00111"},
    {&NoteModifiersSettings::VoltaBracket, "00111"},
    {&NoteModifiersSettings::Appogiatura, "00011"},
    {&NoteModifiersSettings::DoubleFlat, "00111"},
    {&NoteModifiersSettings::DoubleSharp, "00111"},
    {&NoteModifiersSettings::Arpeggio, "00001"},
    {&NoteModifiersSettings::Tenuto, "11111"},
    {&NoteModifiersSettings::Slur, "11111"},
    {&NoteModifiersSettings::Acciaccatura, "00011"},
};

// Key ranges (maximum exclusive) and interval sizes per level.
constexpr PerLevel kSingleNotesMin = {39, 34, 27, 17, 5};
constexpr PerLevel kSingleNotesMax = {52, 54, 52, 59, 75};
constexpr PerLevel kIntervalMin = {39, 39, 27, 17, 5};
constexpr PerLevel kIntervalMax = {40, 52, 52, 59, 63};
constexpr PerLevel kNoteChordMin = {39, 39, 27, 17, 5};
constexpr PerLevel kNoteChordMax = {40, 52, 52, 59, 63};
constexpr PerLevel kEarChordAndScaleMin = {39, 39, 34, 27, 5};
constexpr PerLevel kEarChordAndScaleMax = {40, 52, 47, 52, 63};
constexpr PerLevel kNoteIntervalEnd = {4, 7, 12, 12, 12};
constexpr PerLevel kEarIntervalEnd = {4, 10, 12, 12, 12};

constexpr ExerciseDuration kSectionLength{10, 20};
constexpr ExerciseDuration kScalesSectionLength{0, 4};  // untimed

NotesDiapason Range(int minimum, int maximum) {
  NotesDiapason range;
  range.minimum = minimum;
  range.maximum = maximum;
  range.chromatic = ChromaticSettings{true, true};
  return range;
}

constexpr CleffSettings kBothClefs{true, true};

SingleNotesSettings SingleNotes(int level) {
  return {Range(kSingleNotesMin[level], kSingleNotesMax[level]), kSectionLength, kBothClefs};
}

IntervalSettings Intervals(int level, const PerLevel& intervalEnd) {
  IntervalSettings interval;
  interval.intervalStart = 0;
  interval.intervalEnd = intervalEnd[level];
  interval.diapason = Range(kIntervalMin[level], kIntervalMax[level]);
  interval.duration = kSectionLength;
  interval.cleff = kBothClefs;
  interval.arpeggiated = true;
  return interval;
}

ChordSettings Chords(int level, const PerLevel& minimum, const PerLevel& maximum) {
  ChordSettings chord;
  SetFlags(chord, kChordFlags, level);
  chord.diapason = Range(minimum[level], maximum[level]);
  chord.duration = kSectionLength;
  chord.cleff = kBothClefs;
  return chord;
}

NoteTrainerSettings NoteTrainer(int level) {
  NoteTrainerSettings settings;
  settings.singleNotes = SingleNotes(level);
  settings.interval = Intervals(level, kNoteIntervalEnd);
  settings.chord = Chords(level, kNoteChordMin, kNoteChordMax);
  settings.onWrongAnswer = GlobalSectionSettings{true, 5000};
  return settings;
}

EarTrainerSettings EarTrainer(int level) {
  EarTrainerSettings settings;
  settings.singleNotes = SingleNotes(level);
  settings.interval = Intervals(level, kEarIntervalEnd);
  settings.chord = Chords(level, kEarChordAndScaleMin, kEarChordAndScaleMax);
  SetFlags(settings.scales, kScaleFlags, level);
  settings.scales.diapason = Range(kEarChordAndScaleMin[level], kEarChordAndScaleMax[level]);
  settings.scales.duration = kScalesSectionLength;
  settings.scales.cleff = kBothClefs;
  SetFlags(settings.tempo, kEarTempoFlags, level);
  settings.tempo.duration = kSectionLength;
  return settings;
}

SheetMusicSymbolsSettings SheetMusicSymbols(int level) {
  SheetMusicSymbolsSettings settings;
  SetFlags(settings.length, kLengthFlags, level);
  settings.length.duration = kSectionLength;
  SetFlags(settings.signatures, kSignatureFlags, level);
  settings.signatures.duration = kSectionLength;
  SetFlags(settings.tempo, kSymbolTempoFlags, level);
  settings.tempo.duration = kSectionLength;
  SetFlags(settings.loudness, kLoudnessFlags, level);
  settings.loudness.duration = kSectionLength;
  SetFlags(settings.noteModifiers, kNoteModifierFlags, level);
  settings.noteModifiers.duration = kSectionLength;
  return settings;
}

using PresetTable = std::array<ExcersisesSettings, DifficultyPresetCount>;

PresetTable BuildPresets() {
  PresetTable presets;
  for (int level = 0; level < DifficultyPresetCount; ++level) {
    presets[level].noteTrainer = NoteTrainer(level);
    presets[level].earTrainer = EarTrainer(level);
    presets[level].sheetMusicSymbols = SheetMusicSymbols(level);
  }
  return presets;
}

// Built on first use; the initialisation of a function-local static runs exactly once even when
// several threads arrive together.
const PresetTable& Presets() {
  static const PresetTable presets = BuildPresets();
  return presets;
}

bool IsPreset(DifficultyLevelPreset level) {
  return level >= Level1 && level <= Level5;
}

}  // namespace

void initExcersiceSettings() {
  Presets();
}

const ExcersisesSettings& DifficultyPreset(DifficultyLevelPreset level) {
  MELVARIN_ASSERT(level >= Level1 && level <= Level5);
  return Presets()[level];
}

DifficultyLevelPreset MatchDifficultyLevel(const ExcersisesSettings& settings, ExerciseType type) {
  const PresetTable& presets = Presets();
  for (int level = 0; level < DifficultyPresetCount; ++level) {
    const ExcersisesSettings& preset = presets[level];
    bool same = false;
    switch (type) {
      case NoteTrainerExercise:
        same = settings.noteTrainer == preset.noteTrainer;
        break;
      case EarTrainerExercise:
        same = settings.earTrainer == preset.earTrainer;
        break;
      default:
        same = settings.sheetMusicSymbols == preset.sheetMusicSymbols;
        break;
    }
    if (same) return static_cast<DifficultyLevelPreset>(level);
  }
  return CustomLevel;
}

bool ApplyDifficultyLevel(ExcersisesSettings& target, ExerciseType type,
                          DifficultyLevelPreset level) {
  // Levels come from buttons and dialogs; anything but a real level (negative values included)
  // must not index the table.
  if (!IsPreset(level)) return false;
  const ExcersisesSettings& preset = Presets()[level];
  switch (type) {
    case NoteTrainerExercise:
      target.noteTrainer = preset.noteTrainer;
      return true;
    case EarTrainerExercise:
      target.earTrainer = preset.earTrainer;
      return true;
    case SheetMusicSymbolsExercise:
      target.sheetMusicSymbols = preset.sheetMusicSymbols;
      return true;
  }
  return false;
}

}  // namespace Core
