#include "src/core/exercise/note_trainer.h"

#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/allowed_ids.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/trainer_support.h"
#include "src/core/score_provider/score_provider.h"
#include "src/core/settings/settings_manager.h"

namespace Core {

namespace NoteTrainer {
std::vector<QuestionNoteData> SingleNotes;
std::vector<QuestionChordData> Intervals;
std::vector<QuestionChordData> Chords;
}  // namespace NoteTrainer

bool PrevGKey = false;

namespace {

using namespace TrainerSupport;

enum Section : unsigned long { SingleNotesSection = 0, IntervalsSection = 1, ChordsSection = 2 };

KeySectionLookups Lookups() {
  return {NoteTrainer::SingleNotes, NoteTrainer::Intervals, NoteTrainer::Chords};
}

}  // namespace

bool ChooseNoteTrainerClef(const CleffSettings& clefs, unsigned int key) {
  bool treble = true;
  if (clefs.gClef && clefs.fClef)
    treble = !PrevGKey;
  else if (clefs.fClef)
    treble = false;
  const int k = static_cast<int>(key);
  if (!treble) {
    if (k > NotesDiapason::FMax) treble = true;
  } else if (k < NotesDiapason::GMin) {
    treble = false;
  }
  MELVARIN_ASSERT(treble ? NotesDiapason::FitsTrebleClef(k) : NotesDiapason::FitsBassClef(k));
  PrevGKey = treble;
  return treble;
}

struct ExerciseNoteTrainer::AllowedQuestions {
  NoteIdsCache notes;
  IntervalIdsCache intervals;
  ChordIdsCache chords;
};

ExerciseNoteTrainer::ExerciseNoteTrainer() : m_allowed(std::make_unique<AllowedQuestions>()) {
  Reset();
}

ExerciseNoteTrainer::~ExerciseNoteTrainer() {
  ShutdownExercise();
}

void ExerciseNoteTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  AddSections(sections, {{"Single Notes", "Train Single Notes"},
                         {"Intervals", "Train Intervals"},
                         {"Chords", "Train Chords"}});
  NoteTrainer::SingleNotes = GetNotesPoolSustained();
  NoteTrainer::Intervals = GetIntervalPool();
  NoteTrainer::Chords = GetChordPool();
}

void ExerciseNoteTrainer::ApplySettings() {
  const SettingsManager* manager = GetSettingsManager();
  if (!manager) return;
  const NoteTrainerSettings& trainer = manager->GetExcersiseSettings().noteTrainer;
  ApplySectionSettings(
      {trainer.singleNotes.duration, trainer.interval.duration, trainer.chord.duration});
}

void ExerciseNoteTrainer::DoCreateQuestionPool(unsigned long, std::vector<Question>& pool) {
  AddPlaceholder(pool, QT_NOTE, AM_NOTES);
}

void ExerciseNoteTrainer::DoPrepareQuestion(unsigned long section, Question& question) {
  const SettingsManager* manager = GetSettingsManager();
  MELVARIN_ASSERT(manager);
  question.Type = QT_NOTE;
  question.AnswerMethods = AM_NOTES | AM_VARIANT;
  question.Flat = (std::rand() & 1) != 0;
  // A copy: the settings screens may hand in new settings meanwhile.
  NoteTrainerSettings settings = manager->GetExcersiseSettings().noteTrainer;
  std::vector<int> ids;

  switch (section) {
    case SingleNotesSection: {
      const int correct = GenerateQuestionData(
          m_allowed->notes.Get(NoteTrainer::SingleNotes.size(), settings.singleNotes.diapason), ids,
          nullptr);
      TakeVariants(question, NoteTrainer::SingleNotes, ids, correct);
      const unsigned int key = NoteTrainer::SingleNotes[static_cast<std::size_t>(ids[correct])].Key;
      question.GClef = ChooseNoteTrainerClef(settings.singleNotes.cleff, key);
      question.VariantData[question.CorrectVariant].Rmn = ScoreProvider::GetQuestionScoreNotes(
          {key}, question.GClef, question.Flat, ScoreProvider::ST_NOTE);
      break;
    }
    case IntervalsSection: {
      const int correct = GenerateQuestionData(
          m_allowed->intervals.Get(NoteTrainer::Intervals.size(), settings.interval), ids,
          &IntervalRootNoteProvider);
      TakeVariants(question, NoteTrainer::Intervals, ids, correct);
      const QuestionChordData& entry =
          NoteTrainer::Intervals[static_cast<std::size_t>(ids[correct])];
      question.GClef = ChooseNoteTrainerClef(settings.interval.cleff, entry.Keys.front());
      if (!settings.interval.arpeggiated)
        MakeSimultaneous(question.VariantData[question.CorrectVariant], 1.0);
      question.VariantData[question.CorrectVariant].Rmn = ScoreProvider::GetQuestionScoreNotes(
          entry.Keys, question.GClef, question.Flat, ScoreProvider::ST_INTERVAL);
      break;
    }
    case ChordsSection: {
      const int correct =
          GenerateQuestionData(m_allowed->chords.Get(NoteTrainer::Chords.size(), settings.chord),
                               ids, &ChordRootNoteProvider);
      TakeVariants(question, NoteTrainer::Chords, ids, correct);
      const QuestionChordData& entry = NoteTrainer::Chords[static_cast<std::size_t>(ids[correct])];
      question.GClef = ChooseNoteTrainerClef(settings.chord.cleff, entry.Keys.front());
      if (!settings.chord.Arpeggiated)
        MakeSimultaneous(question.VariantData[question.CorrectVariant], 1.0);
      if (settings.chord.ChordNotation) {
        // Asked by name: played notes count by pitch class, in any octave and order.
        question.Type = QT_CHORD_NAME;
        question.AnswerMethods = AM_NOTES;
      }
      question.VariantData[question.CorrectVariant].Rmn = ScoreProvider::GetQuestionScoreNotes(
          entry.Keys, question.GClef, question.Flat, ScoreProvider::ST_CHORD);
      break;
    }
    default:
      break;
  }
}

unsigned int ExerciseNoteTrainer::GetSupportedAnswerMethods(const Question& question) {
  return question.Type == QT_CHORD_NAME ? 0 : 2;
}

void ExerciseNoteTrainer::GetRazidAnswer(unsigned long section, const Question& question,
                                         const Answer& answer, std::string& rmn,
                                         std::vector<NoteWAnalysis>& notes, int& highlight) {
  AnalyseAnswer(question, answer, rmn, notes, section == IntervalsSection, highlight);
}

unsigned int ExerciseNoteTrainer::GetNoteById(int section, int id) {
  return Lookups().NoteById(section, id);
}

QString ExerciseNoteTrainer::GetQuestionTextById(int section, int id) {
  return Lookups().QuestionTextById(section, id);
}

bool ExerciseNoteTrainer::CompareQuestionGroup(int section, int id1, int id2) {
  return Lookups().CompareQuestionGroup(section, id1, id2);
}

QString ExerciseNoteTrainer::GetGroupTextById(int section, int id) {
  return Lookups().GroupTextById(section, id);
}

void ExerciseNoteTrainer::GetQuestionGroups(int section, std::vector<int>& groups) {
  Lookups().QuestionGroups(section, groups);
}

}  // namespace Core
