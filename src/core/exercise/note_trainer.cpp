#include "src/core/exercise/note_trainer.h"

#include <QCoreApplication>

#include <cstdlib>

#include "src/common/assertion.h"
#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/questions/validators.h"
#include "src/core/exercise/questions/variant_providers.h"
#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/exercise/theory/names.h"
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

enum Section : unsigned long { SingleNotesSection = 0, IntervalsSection = 1, ChordsSection = 2 };

// The statistics files may name ids the current pools do not hold.
template <class Pool>
bool InPool(const Pool& pool, int id) {
  return id >= 0 && static_cast<std::size_t>(id) < pool.size();
}

QString OnOneLine(QString text) {
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

template <class Record>
void TakeVariants(Question& question, const std::vector<Record>& pool, const std::vector<int>& ids,
                  int correct) {
  question.CorrectVariant = static_cast<unsigned long>(correct);
  for (int id : ids) question.VariantData.push_back(pool[static_cast<std::size_t>(id)]);
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

ExerciseNoteTrainer::ExerciseNoteTrainer() {
  Reset();
}

ExerciseNoteTrainer::~ExerciseNoteTrainer() {
  ShutdownExercise();
}

void ExerciseNoteTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  sections.push_back({QCoreApplication::translate("QApplication", "Single Notes"),
                      QCoreApplication::translate("QApplication", "Train Single Notes")});
  sections.push_back({QCoreApplication::translate("QApplication", "Intervals"),
                      QCoreApplication::translate("QApplication", "Train Intervals")});
  sections.push_back({QCoreApplication::translate("QApplication", "Chords"),
                      QCoreApplication::translate("QApplication", "Train Chords")});
  NoteTrainer::SingleNotes = GetNotesPoolSustained();
  NoteTrainer::Intervals = GetIntervalPool();
  NoteTrainer::Chords = GetChordPool();
}

void ExerciseNoteTrainer::ApplySettings() {
  const SettingsManager* manager = GetSettingsManager();
  if (!manager) return;
  const NoteTrainerSettings& trainer = manager->GetExcersiseSettings().noteTrainer;
  ExerciseCommonSettings common = GetCommonSettings();
  const ExerciseDuration durations[] = {trainer.singleNotes.duration, trainer.interval.duration,
                                        trainer.chord.duration};
  if (common.Sections.size() < 3) common.Sections.resize(3);
  for (std::size_t i = 0; i < 3; ++i) {
    common.Sections[i].QuestionCount =
        static_cast<unsigned int>(std::max(durations[i].questions, 0));
    common.Sections[i].TimePerQuestion = durations[i].seconds * 1000;
  }
  common.Instrument = static_cast<unsigned char>(manager->globalSettings.midiInstrument);
  SetCommonSettings(common);
}

void ExerciseNoteTrainer::DoCreateQuestionPool(unsigned long, std::vector<Question>& pool) {
  Question placeholder;
  placeholder.Type = QT_NOTE;
  placeholder.AnswerMethods = AM_NOTES;
  placeholder.GClef = false;
  pool.push_back(placeholder);
}

void ExerciseNoteTrainer::DoPrepareQuestion(unsigned long section, Question& question) {
  const SettingsManager* manager = GetSettingsManager();
  MELVARIN_ASSERT(manager);
  question.Type = QT_NOTE;
  question.AnswerMethods = AM_NOTES | AM_VARIANT;
  question.Flat = (std::rand() & 1) != 0;
  // A copy: the validators read it while the settings screens may hand in new settings.
  NoteTrainerSettings settings = manager->GetExcersiseSettings().noteTrainer;
  std::vector<int> ids;

  switch (section) {
    case SingleNotesSection: {
      NoteValidator validator(&settings.singleNotes.diapason);
      const int correct =
          GenerateQuestionData(NoteTrainer::SingleNotes.size(), &validator, ids, nullptr);
      TakeVariants(question, NoteTrainer::SingleNotes, ids, correct);
      const unsigned int key = NoteTrainer::SingleNotes[static_cast<std::size_t>(ids[correct])].Key;
      question.GClef = ChooseNoteTrainerClef(settings.singleNotes.cleff, key);
      question.VariantData[question.CorrectVariant].Rmn = ScoreProvider::GetQuestionScoreNotes(
          {key}, question.GClef, question.Flat, ScoreProvider::ST_NOTE);
      break;
    }
    case IntervalsSection: {
      IntervalValidator validator(&settings.interval);
      const int correct = GenerateQuestionData(NoteTrainer::Intervals.size(), &validator, ids,
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
      ChordValidator validator(&settings.chord);
      const int correct =
          GenerateQuestionData(NoteTrainer::Chords.size(), &validator, ids, &ChordRootNoteProvider);
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
  using namespace NoteTrainer;
  switch (section) {
    case SingleNotesSection:
      if (InPool(SingleNotes, id)) return SingleNotes[static_cast<std::size_t>(id)].Key;
      break;
    case IntervalsSection:
      if (InPool(Intervals, id)) return Intervals[static_cast<std::size_t>(id)].Root;
      break;
    case ChordsSection:
      if (InPool(Chords, id)) return Chords[static_cast<std::size_t>(id)].Root;
      break;
    default:
      break;
  }
  return static_cast<unsigned int>(-1);
}

QString ExerciseNoteTrainer::GetQuestionTextById(int section, int id) {
  using namespace NoteTrainer;
  switch (section) {
    case SingleNotesSection:
      if (InPool(SingleNotes, id)) return SingleNotes[static_cast<std::size_t>(id)].Text;
      break;
    case IntervalsSection:
      if (InPool(Intervals, id)) return OnOneLine(Intervals[static_cast<std::size_t>(id)].Text);
      break;
    case ChordsSection:
      if (InPool(Chords, id)) return OnOneLine(Chords[static_cast<std::size_t>(id)].Text);
      break;
    default:
      break;
  }
  return QString();
}

bool ExerciseNoteTrainer::CompareQuestionGroup(int section, int id1, int id2) {
  using namespace NoteTrainer;
  switch (section) {
    case SingleNotesSection:
      if (InPool(SingleNotes, id1) && InPool(SingleNotes, id2))
        return GetNoteType(
                   static_cast<unsigned char>(SingleNotes[static_cast<std::size_t>(id1)].Key)) ==
               GetNoteType(
                   static_cast<unsigned char>(SingleNotes[static_cast<std::size_t>(id2)].Key));
      break;
    case IntervalsSection:
      if (InPool(Intervals, id1) && InPool(Intervals, id2))
        return Intervals[static_cast<std::size_t>(id1)].Kind ==
               Intervals[static_cast<std::size_t>(id2)].Kind;
      break;
    case ChordsSection:
      if (InPool(Chords, id1) && InPool(Chords, id2))
        return Chords[static_cast<std::size_t>(id1)].Kind ==
               Chords[static_cast<std::size_t>(id2)].Kind;
      break;
    default:
      break;
  }
  return id1 == id2;
}

QString ExerciseNoteTrainer::GetGroupTextById(int section, int id) {
  using namespace NoteTrainer;
  switch (section) {
    case SingleNotesSection:
      if (InPool(SingleNotes, id))
        return GetNoteStringByType(
            GetNoteType(static_cast<unsigned char>(SingleNotes[static_cast<std::size_t>(id)].Key)),
            false);
      break;
    case IntervalsSection:
      if (InPool(Intervals, id))
        return GetIntervalStringByType(
            static_cast<int>(Intervals[static_cast<std::size_t>(id)].Kind));
      break;
    case ChordsSection:
      if (InPool(Chords, id)) return GetChordStringType(Chords[static_cast<std::size_t>(id)].Kind);
      break;
    default:
      break;
  }
  return QString();
}

void ExerciseNoteTrainer::GetQuestionGroups(int section, std::vector<int>& groups) {
  switch (section) {
    case SingleNotesSection:
      // C1 to B1: one key per pitch class.
      for (int key = 3; key <= 14; ++key) groups.push_back(key);
      break;
    case IntervalsSection:
      GetIntervalGroups(groups);
      break;
    case ChordsSection:
      GetChordGroups(groups);
      break;
    default:
      break;
  }
}

}  // namespace Core
