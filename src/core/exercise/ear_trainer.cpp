#include "src/core/exercise/ear_trainer.h"

#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/allowed_ids.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/tempo_pool.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/theory/names.h"
#include "src/core/exercise/trainer_support.h"
#include "src/core/midi/tempo/midi_bank.h"
#include "src/core/score_provider/score_provider.h"
#include "src/core/settings/settings_manager.h"

namespace Core {

namespace EarTrainer {
std::vector<QuestionNoteData> SingleNotes;
std::vector<QuestionChordData> Intervals;
std::vector<QuestionChordData> Chords;
std::vector<QuestionScaleData> Scales;
std::vector<QuestionTempoData> Tempos;
}  // namespace EarTrainer

namespace {

using namespace TrainerSupport;

enum Section : unsigned long {
  SingleNotesSection = 0,
  IntervalsSection = 1,
  ChordsSection = 2,
  ScalesSection = 3,
  TempoSection = 4,
};

KeySectionLookups Lookups() {
  return {EarTrainer::SingleNotes, EarTrainer::Intervals, EarTrainer::Chords};
}

TempoPieceSource PiecesOf(const std::shared_ptr<MidiBank>& bank) {
  if (!bank) return {};
  return [bank](TempoTypes tempo) {
    std::vector<MidiBank::MidiFileInfo> pieces;
    bank->GetByTempo(tempo, pieces);
    std::vector<std::shared_ptr<MidiStream>> streams;
    for (const MidiBank::MidiFileInfo& piece : pieces) streams.push_back(piece.stream);
    return streams;
  };
}

}  // namespace

void SetGKey(Question& question) {
  question.GClef = true;
  if (question.CorrectVariant >= question.VariantData.size()) return;
  const std::shared_ptr<MidiStream>& stream = question.VariantData[question.CorrectVariant].Stream;
  if (!stream) return;
  int sum = 0;
  int count = 0;
  for (const MidiEvent& event : stream->GetEvents()) {
    if (!event.GetMessage().IsNoteOn()) continue;
    sum += event.GetMessage().GetNote();
    ++count;
  }
  if (count > 0) question.GClef = sum / count > 59;
}

struct ExerciseEarTrainer::AllowedQuestions {
  NoteIdsCache notes;
  IntervalIdsCache intervals;
  ChordIdsCache chords;
  ScaleIdsCache scales;
  TempoIdsCache tempos;
};

ExerciseEarTrainer::ExerciseEarTrainer() : m_allowed(std::make_unique<AllowedQuestions>()) {}

ExerciseEarTrainer::~ExerciseEarTrainer() {
  ShutdownExercise();
}

void ExerciseEarTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  AddSections(sections, {{"Single Notes", "Train Single Notes"},
                         {"Intervals", "Train Intervals"},
                         {"Chords", "Train Chords"},
                         {"Scales", "Train Scales"},
                         {"Tempo", "Train Tempo"}});
  EarTrainer::SingleNotes = GetNotesPoolSustained();
  EarTrainer::Intervals = GetIntervalPool();
  EarTrainer::Chords = GetChordPool();
  EarTrainer::Scales = GetScalePool();
  GenerateTempoPool(EarTrainer::Tempos, PiecesOf(TempoBank));
}

void ExerciseEarTrainer::ApplySettings() {
  const SettingsManager* manager = GetSettingsManager();
  if (!manager) return;
  const EarTrainerSettings& trainer = manager->GetExcersiseSettings().earTrainer;
  ApplySectionSettings({trainer.singleNotes.duration, trainer.interval.duration,
                        trainer.chord.duration, trainer.scales.duration, trainer.tempo.duration});
}

void ExerciseEarTrainer::DoCreateQuestionPool(unsigned long, std::vector<Question>& pool) {
  AddPlaceholder(pool, QT_EAR, AM_NOTES);
}

void ExerciseEarTrainer::DoPrepareQuestion(unsigned long section, Question& question) {
  const SettingsManager* manager = GetSettingsManager();
  MELVARIN_ASSERT(manager);
  question.Type = QT_EAR;
  question.AnswerMethods = AM_NOTES | AM_VARIANT;
  question.Flat = (std::rand() & 1) != 0;
  EarTrainerSettings settings = manager->GetExcersiseSettings().earTrainer;
  std::vector<int> ids;
  QuestionData* correctVariant = nullptr;

  switch (section) {
    case SingleNotesSection: {
      const int correct = GenerateQuestionData(
          m_allowed->notes.Get(EarTrainer::SingleNotes.size(), settings.singleNotes.diapason), ids,
          nullptr);
      TakeVariants(question, EarTrainer::SingleNotes, ids, correct);
      SetGKey(question);
      const unsigned int key = EarTrainer::SingleNotes[static_cast<std::size_t>(ids[correct])].Key;
      correctVariant = &question.VariantData[question.CorrectVariant];
      correctVariant->Rmn = ScoreProvider::GetQuestionScoreNotes(
          {key}, question.GClef, question.Flat, ScoreProvider::ST_NOTE);
      break;
    }
    case IntervalsSection: {
      const int correct = GenerateQuestionData(
          m_allowed->intervals.Get(EarTrainer::Intervals.size(), settings.interval), ids,
          &IntervalRootNoteProvider);
      TakeVariants(question, EarTrainer::Intervals, ids, correct);
      SetGKey(question);
      correctVariant = &question.VariantData[question.CorrectVariant];
      if (!settings.interval.arpeggiated) MakeSimultaneous(*correctVariant, 1.0);
      correctVariant->Rmn = ScoreProvider::GetQuestionScoreNotes(
          EarTrainer::Intervals[static_cast<std::size_t>(ids[correct])].Keys, question.GClef,
          question.Flat, ScoreProvider::ST_INTERVAL);
      break;
    }
    case ChordsSection: {
      const int correct =
          GenerateQuestionData(m_allowed->chords.Get(EarTrainer::Chords.size(), settings.chord),
                               ids, &ChordRootNoteProvider);
      TakeVariants(question, EarTrainer::Chords, ids, correct);
      SetGKey(question);
      correctVariant = &question.VariantData[question.CorrectVariant];
      if (!settings.chord.Arpeggiated) MakeSimultaneous(*correctVariant, 1.0);
      correctVariant->Rmn = ScoreProvider::GetQuestionScoreNotes(
          EarTrainer::Chords[static_cast<std::size_t>(ids[correct])].Keys, question.GClef,
          question.Flat, ScoreProvider::ST_CHORD);
      break;
    }
    case ScalesSection: {
      // A scale must be played note by note, in its order.
      question.AnswerMethods |= AM_IN_ORDER;
      bool ascending = false;
      if (settings.scales.Ascending && !settings.scales.Descending)
        ascending = true;
      else if (settings.scales.Ascending)
        ascending = (std::rand() & 1) != 0;
      // The direction comes first: which wrong answers sound like the right one depends on it.
      const int correct = GenerateQuestionData(
          m_allowed->scales.Get(EarTrainer::Scales.size(), settings.scales), ids,
          ascending ? &ScaleRootNoteProvider : &DescendingScaleRootNoteProvider);
      TakeVariants(question, EarTrainer::Scales, ids, correct);
      if (!ascending) {
        for (std::size_t i = 0; i < ids.size(); ++i)
          question.VariantData[i].Stream =
              EarTrainer::Scales[static_cast<std::size_t>(ids[i])].DescendingStream;
      }
      SetGKey(question);
      const QuestionScaleData& entry = EarTrainer::Scales[static_cast<std::size_t>(ids[correct])];
      question.VariantData[question.CorrectVariant].Rmn = ScoreProvider::GetQuestionScoreNotes(
          ascending ? entry.Keys : entry.DescendingKeys, question.GClef, question.Flat,
          ScoreProvider::ST_SEQUENCE);
      break;
    }
    case TempoSection: {
      const int correct =
          GenerateQuestionData(m_allowed->tempos.Get(EarTrainer::Tempos.size(), settings.tempo),
                               ids, &TempoVariantProvider);
      question.Type = QT_TEMPO;
      question.AnswerMethods = AM_VARIANT;
      TakeVariants(question, EarTrainer::Tempos, ids, correct);
      break;
    }
    default:
      break;
  }
}

unsigned int ExerciseEarTrainer::GetSupportedAnswerMethods(const Question&) {
  return GetCurrentSection() >= TempoSection ? 1 : 2;
}

void ExerciseEarTrainer::GetRazidAnswer(unsigned long section, const Question& question,
                                        const Answer& answer, std::string& rmn,
                                        std::vector<NoteWAnalysis>& notes, int& highlight) {
  if (section == TempoSection) return;  // a piece has no answer score
  AnalyseAnswer(question, answer, rmn, notes,
                section == IntervalsSection || section == ScalesSection, highlight);
}

unsigned int ExerciseEarTrainer::GetNoteById(int section, int id) {
  switch (section) {
    case ScalesSection: {
      const QuestionScaleData* scale = PoolEntry(EarTrainer::Scales, id);
      return scale ? scale->Root : NoKey;
    }
    case TempoSection:
      return NoKey;
    default:
      return Lookups().NoteById(section, id);
  }
}

QString ExerciseEarTrainer::GetQuestionTextById(int section, int id) {
  switch (section) {
    case ScalesSection:
      // Kept as it is, line breaks included.
      if (const QuestionScaleData* scale = PoolEntry(EarTrainer::Scales, id)) return scale->Text;
      return QString();
    case TempoSection:
      if (const QuestionTempoData* tempo = PoolEntry(EarTrainer::Tempos, id))
        return OnOneLine(tempo->Text);
      return QString();
    default:
      return Lookups().QuestionTextById(section, id);
  }
}

bool ExerciseEarTrainer::CompareQuestionGroup(int section, int id1, int id2) {
  switch (section) {
    case ScalesSection: {
      const QuestionScaleData* first = PoolEntry(EarTrainer::Scales, id1);
      const QuestionScaleData* second = PoolEntry(EarTrainer::Scales, id2);
      return first && second ? first->Kind == second->Kind : id1 == id2;
    }
    case TempoSection:
      if (PoolEntry(EarTrainer::Tempos, id1) && PoolEntry(EarTrainer::Tempos, id2))
        return TempoVariantProvider.CompareVariants(static_cast<unsigned long>(id1),
                                                    static_cast<unsigned long>(id2));
      return id1 == id2;
    default:
      return Lookups().CompareQuestionGroup(section, id1, id2);
  }
}

QString ExerciseEarTrainer::GetGroupTextById(int section, int id) {
  switch (section) {
    case ScalesSection:
      if (const QuestionScaleData* scale = PoolEntry(EarTrainer::Scales, id))
        return GetScaleStringType(scale->Kind);
      return QString();
    case TempoSection:
      if (const QuestionTempoData* tempo = PoolEntry(EarTrainer::Tempos, id)) return tempo->Text;
      return QString();
    default:
      return Lookups().GroupTextById(section, id);
  }
}

void ExerciseEarTrainer::GetQuestionGroups(int section, std::vector<int>& groups) {
  switch (section) {
    case ScalesSection:
      // 78 * t lies inside the block of 76 entries of scale type t.
      for (int type = 0; type < 10; ++type) groups.push_back(78 * type);
      break;
    case TempoSection:
      GetTempoGroups(groups);
      break;
    default:
      Lookups().QuestionGroups(section, groups);
      break;
  }
}

}  // namespace Core
