// The catalog of trainers: its texts, the exercises it opens and the stores they share.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/exercise.h"
#include "src/core/midi/timer.h"
#include "support/temp_environment.h"

namespace {

class ExerciseCatalogTest : public ::testing::Test {
 protected:
  Core::ManualTimer timer;
  Testing::TempEnvironment env;
};

TEST_F(ExerciseCatalogTest, ListsTheThreeTrainersWithTheirLearnAndQuizTexts) {
  Core::ExerciseCatalog catalog;
  std::vector<Core::ExerciseInfo> exercises(1);
  catalog.GetExercises(exercises);
  ASSERT_EQ(exercises.size(), 3u);
  EXPECT_EQ(exercises[0].Name, "Note Trainer");
  EXPECT_EQ(exercises[0].LearnDescription, "Learn reading notes");
  EXPECT_EQ(exercises[0].QuizDescription, "Quiz yourself on reading notes");
  EXPECT_EQ(exercises[1].Name, "Ear Trainer");
  EXPECT_EQ(exercises[1].LearnDescription, "Learn recognizing notes by ear");
  EXPECT_EQ(exercises[1].QuizDescription, "Quiz yourself on recognizing notes by ear");
  EXPECT_EQ(exercises[2].Name, "Music Symbols");
  EXPECT_EQ(exercises[2].LearnDescription, "Learn various music symbols");
  EXPECT_EQ(exercises[2].QuizDescription, "Quiz yourself on music symbols");
  Core::ExerciseInfo info;
  catalog.GetExerciseInfo(1, info);
  EXPECT_EQ(info.Name, "Ear Trainer");
}

TEST_F(ExerciseCatalogTest, FirstRunCreatesTheDataFolderAndTheStatisticsFiles) {
  const QDir folder = Core::ExerciseCatalog::GetDbDir();
  QDir(folder).removeRecursively();
  Core::ExerciseCatalog catalog;
  EXPECT_TRUE(folder.exists());
  EXPECT_TRUE(QFileInfo::exists(folder.absoluteFilePath("stats.xml")));
  EXPECT_TRUE(QFileInfo::exists(folder.absoluteFilePath("statsLocal.xml")));
  EXPECT_TRUE(folder.absolutePath().startsWith(env.DataHome()));
  EXPECT_TRUE(catalog.GetTelemetry());
}

// A kill between writing a data file and renaming it over the old one leaves the temporary file;
// files of the learner's beside the data files, whatever their names, stay.
TEST_F(ExerciseCatalogTest, StartRemovesTheTemporaryFilesOfInterruptedSavesOnly) {
  const QDir folder = Core::ExerciseCatalog::GetDbDir();
  const QStringList leftovers = {".stats.xml.melvarin-save-Ab12Cd",
                                 ".statsLocal.xml.melvarin-save-abcdef",
                                 ".tstats.xml.melvarin-save-QwErTy"};
  const QStringList others = {"stats.xml.backup",
                              "stats.xml.old123",
                              "stats.xml.AbCdEf",
                              "statsLocal.xml.abcdef",
                              ".stats.xml.melvarin-save-Ab12",
                              "stats.xml.damaged-2025-03-04-1"};
  for (const QString& name : leftovers + others) QFile(folder.filePath(name)).open(QFile::Append);

  Core::ExerciseCatalog catalog;
  for (const QString& name : leftovers) EXPECT_FALSE(folder.exists(name)) << name.toStdString();
  for (const QString& name : others) EXPECT_TRUE(folder.exists(name)) << name.toStdString();
}

TEST_F(ExerciseCatalogTest, OpensAFreshTrainerEachTimeSharingOneStatisticsDatabase) {
  Core::ExerciseCatalog catalog;
  std::shared_ptr<Core::Exercise> first = catalog.OpenExercise(0);
  std::shared_ptr<Core::Exercise> second = catalog.OpenExercise(0);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->GetTimeline().GetSectionName(0), "Single Notes");

  Core::Question question;
  question.VariantData.resize(6);
  question.VariantData[3].Id = 17;
  question.CorrectVariant = 3;
  first->AddStats(question, Core::Answer(), true);
  std::vector<Core::ExStat> records;
  second->GetStatistics(0, records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Id, 17);
  EXPECT_EQ(records[0].ExerciseId, 0);
}

TEST_F(ExerciseCatalogTest, OpensEachTrainerByIndexWithItsExerciseId) {
  Core::ExerciseCatalog catalog;
  std::shared_ptr<Core::Exercise> ear = catalog.OpenExercise(1);
  std::shared_ptr<Core::Exercise> symbols = catalog.OpenExercise(2);
  EXPECT_TRUE(ear->CanUseMidiIn());
  EXPECT_FALSE(symbols->CanUseMidiIn());
  symbols->Reset();
  EXPECT_EQ(symbols->GetTimeline().GetSectionName(1), "Key Signatures");

  Core::Question question;
  question.VariantData.resize(6);
  symbols->AddStats(question, Core::Answer(), false);
  std::vector<Core::ExStat> records;
  catalog.GetExerciseStatistics()->GetLocalSummary(2, records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Wrong, 1);
}

}  // namespace
