// A learner can only be judged on what can be told apart: among the six buttons of a question no
// wrong answer shows the same picture, draws the same score or plays the same notes (in the
// direction played) as the right one. Checked on a fixed sample of questions of every section of
// every trainer at every difficulty level; a picture counts as the same when its file is, or when
// its pixels are.

#include <gtest/gtest.h>

#include <QHash>
#include <QImage>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "exercise_test_support.h"
#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/note_trainer.h"
#include "src/core/exercise/symbol_tables.h"
#include "src/core/exercise/symbol_trainer.h"
#include "src/core/midi/timer.h"
#include "src/core/score_provider/score_provider.h"
#include "src/core/settings/settings_manager.h"
#include "support/temp_environment.h"

namespace {

using Core::Question;
using Core::QuestionData;

// Enough for every pair of look-alikes a level offers to meet, in a run short enough for the
// plain suite.
constexpr int QuestionsPerSection = 300;

struct TrainerKind {
  const char* name;
  const char* testName;
  Core::ExerciseType type;
  unsigned long sections;
  std::function<std::unique_ptr<Core::Exercise>()> make;
};

const TrainerKind Trainers[] = {
    {"note trainer", "NoteTrainer", Core::NoteTrainerExercise, 3,
     [] { return std::make_unique<Core::ExerciseNoteTrainer>(); }},
    {"ear trainer", "EarTrainer", Core::EarTrainerExercise, 5,
     [] { return std::make_unique<Core::ExerciseEarTrainer>(); }},
    {"music-symbols trainer", "MusicSymbolsTrainer", Core::SheetMusicSymbolsExercise, 5,
     [] { return std::make_unique<Core::ExerciseSymbolTrainer>(); }},
};

constexpr unsigned long SymbolSignatures = 1;  // the music-symbols trainer's key signatures

// Symbol questions are seen, not heard: their tempo pieces are never played.
bool Played(const Question& question) {
  return question.Type == Core::QT_EAR || question.Type == Core::QT_TEMPO ||
         question.Type == Core::QT_NOTE || question.Type == Core::QT_CHORD_NAME;
}

// What a variant sounds like: its notes in the order played, and for a tempo question, where the
// tempo is the answer, when each is played.
std::vector<std::pair<int, double>> Heard(const Question& question, const QuestionData& variant) {
  std::vector<std::pair<int, double>> heard;
  if (!variant.Stream) return heard;
  for (const Core::MidiEvent& event : variant.Stream->GetEvents()) {
    if (!event.GetMessage().IsNoteOn()) continue;
    heard.emplace_back(event.GetMessage().GetNote(),
                       question.Type == Core::QT_TEMPO ? event.GetTime() : 0.0);
  }
  return heard;
}

// The score the note trainer would draw, in the question's clef and spelling, had `variant` been
// the question.
std::string ScoreOf(const Question& question, unsigned long section, const QuestionData& variant) {
  const auto id = static_cast<std::size_t>(variant.Id);
  switch (section) {
    case 0:
      return Core::ScoreProvider::GetQuestionScoreNotes({Core::NoteTrainer::SingleNotes[id].Key},
                                                        question.GClef, question.Flat,
                                                        Core::ScoreProvider::ST_NOTE);
    case 1:
      return Core::ScoreProvider::GetQuestionScoreNotes(Core::NoteTrainer::Intervals[id].Keys,
                                                        question.GClef, question.Flat,
                                                        Core::ScoreProvider::ST_INTERVAL);
    default:
      return Core::ScoreProvider::GetQuestionScoreNotes(Core::NoteTrainer::Chords[id].Keys,
                                                        question.GClef, question.Flat,
                                                        Core::ScoreProvider::ST_CHORD);
  }
}

// Every picture a wrong answer stands for: a key signature may be shown in either clef.
QStringList PicturesOf(const TrainerKind& trainer, unsigned long section,
                       const QuestionData& variant) {
  if (trainer.type == Core::SheetMusicSymbolsExercise && section == SymbolSignatures) {
    const Core::SignatureRow& row =
        Core::SignatureSymbols().at(static_cast<std::size_t>(variant.Id));
    return {row.bassPicture, row.treblePicture};
  }
  return variant.Picture.isEmpty() ? QStringList() : QStringList{variant.Picture};
}

// The pixels of the compiled pictures, read once.
class PictureCache {
 public:
  const QImage& Get(const QString& path) {
    auto found = m_images.constFind(path);
    if (found == m_images.constEnd())
      found = m_images.insert(path, QImage(path).convertToFormat(QImage::Format_ARGB32));
    return *found;
  }

 private:
  QHash<QString, QImage> m_images;
};

class DistinctAnswers : public ::testing::TestWithParam<const TrainerKind*> {
 protected:
  void SetUp() override { Testing::ResetProcessWideTrainerState(); }

  // Asks the next question of the only section with questions and gives it up at once.
  const Question& Ask(Core::Exercise& exercise) {
    if (exercise.GetState() != Core::ES_READY)
      exercise.AbortQuestion();
    else
      exercise.NextQuestion();
    return exercise.GetCurrentQuestion();
  }

  std::unique_ptr<Core::Exercise> Open(const TrainerKind& trainer, unsigned long section) {
    std::unique_ptr<Core::Exercise> exercise = trainer.make();
    exercise->Reset();
    exercise->SetSettings(&settings);
    Core::ExerciseCommonSettings common = exercise->GetCommonSettings();
    for (unsigned long i = 0; i < trainer.sections; ++i)
      common.Sections[i] = {i == section ? 1000u : 0u, 0};
    exercise->SetCommonSettings(common);
    exercise->Pause(false);
    return exercise;
  }

  // Every way the wrong answer `wrong` passes for the right one, as failures named by `where`.
  void ExpectTellsApart(const TrainerKind& trainer, unsigned long section, const Question& question,
                        const QuestionData& wrong, const std::string& where) {
    const QuestionData& right = question.VariantData[question.CorrectVariant];
    if (!right.Picture.isEmpty()) {
      const QImage& shown = pictures.Get(right.Picture);
      ASSERT_FALSE(shown.isNull()) << where << right.Picture.toStdString() << " is not compiled in";
      for (const QString& picture : PicturesOf(trainer, section, wrong)) {
        EXPECT_FALSE(picture == right.Picture || pictures.Get(picture) == shown)
            << where << "\"" << wrong.Text.toStdString() << "\" shows " << picture.toStdString()
            << ", as alike as " << right.Picture.toStdString() << " of the right answer \""
            << right.Text.toStdString() << "\"";
      }
    }
    if (trainer.type == Core::NoteTrainerExercise) {
      EXPECT_NE(ScoreOf(question, section, wrong), right.Rmn)
          << where << "\"" << wrong.Text.toStdString() << "\" draws the score of \""
          << right.Text.toStdString() << "\"";
    }
    if (Played(question) && right.Stream) {
      EXPECT_NE(Heard(question, wrong), Heard(question, right))
          << where << "\"" << wrong.Text.toStdString() << "\" plays the notes of \""
          << right.Text.toStdString() << "\"";
    }
  }

  Core::ManualTimer timer;
  Testing::TempEnvironment env;
  Core::SettingsManager settings{[] { return false; }};
  PictureCache pictures;
};

TEST_P(DistinctAnswers, NoWrongButtonLooksOrSoundsLikeTheRightOneAtAnyLevel) {
  const TrainerKind& trainer = *GetParam();
  for (int level = Core::Level1; level <= Core::Level5; ++level) {
    settings.SetDifficultyLevel(trainer.type, static_cast<Core::DifficultyLevelPreset>(level));
    for (unsigned long section = 0; section < trainer.sections; ++section) {
      std::srand(static_cast<unsigned int>(1000 * level + section + 1));
      std::unique_ptr<Core::Exercise> exercise = Open(trainer, section);
      for (int asked = 0; asked < QuestionsPerSection; ++asked) {
        const Question& question = Ask(*exercise);
        ASSERT_EQ(exercise->GetCurrentSection(), section);
        if (!question.Accepts(Core::AM_VARIANT)) continue;  // no buttons to confuse
        ASSERT_EQ(question.VariantData.size(), 6u);
        const std::string where = std::string(trainer.name) + ", level " +
                                  std::to_string(level + 1) + ", section " +
                                  std::to_string(section) + ": ";
        for (std::size_t i = 0; i < question.VariantData.size(); ++i) {
          if (i == question.CorrectVariant) continue;
          ExpectTellsApart(trainer, section, question, question.VariantData[i], where);
        }
        if (HasFatalFailure()) return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryTrainer, DistinctAnswers,
                         ::testing::Values(&Trainers[0], &Trainers[1], &Trainers[2]),
                         [](const ::testing::TestParamInfo<const TrainerKind*>& kind) {
                           return std::string(kind.param->testName);
                         });

}  // namespace
