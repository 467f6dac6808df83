#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>

#include <QDate>
#include <QProcess>
#include <QSysInfo>

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "src/core/settings/difficulty_presets.h"
#include "src/core/settings/quiz_mode.h"
#include "src/core/settings/settings_manager.h"
#include "src/core/settings/settings_ranges.h"
#include "store_fixture.h"
#include "support/named_pipes.h"
#include "support/patience.h"

namespace {

using namespace Core;

class SettingsManagerTest : public Testing::SettingsStoreTest {
 protected:
  std::unique_ptr<SettingsManager> Start() {
    ForgetCachedStore();
    return std::make_unique<SettingsManager>([this] { return m_quiz; });
  }

  // As the program does when it is left and started again: the old manager releases its store
  // before the new one reads the file.
  void Restart(std::unique_ptr<SettingsManager>& manager) {
    manager.reset();
    manager = Start();
  }

  QByteArray StoreBytes() const {
    QFile file(StoreFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  bool m_quiz = false;
};

TEST_F(SettingsManagerTest, FirstRunStartsLessonsAtTheFirstLevelAndQuizzesAtTheDefaults) {
  // The values a first run loads are checked key by key where the store's layout is tested.
  auto manager = Start();
  for (ExerciseType trainer : {NoteTrainerExercise, EarTrainerExercise, SheetMusicSymbolsExercise})
    EXPECT_EQ(manager->GetDifficultyLevel(trainer), Level1);
  const ExcersisesSettings& lesson = manager->GetExcersiseSettings();

  m_quiz = true;
  const ExcersisesSettings& quiz = manager->GetExcersiseSettings();
  EXPECT_NE(&quiz, &lesson);
  EXPECT_EQ(quiz.earTrainer.chord.duration.seconds, 30);
  EXPECT_EQ(quiz.noteTrainer.singleNotes.diapason.minimum, 15);
  EXPECT_EQ(quiz.noteTrainer.onWrongAnswer.delay, 5000);

  // Building the manager writes nothing.
  manager.reset();
  EXPECT_FALSE(QFile::exists(StoreFile()));
}

TEST_F(SettingsManagerTest, ALevelChosenInALessonSurvivesARestart) {
  auto manager = Start();
  manager->SetDifficultyLevel(EarTrainerExercise, Level3);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), Level3);
  EXPECT_EQ(manager->GetDifficultyLevel(NoteTrainerExercise), Level1);

  Restart(manager);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), Level3);

  // Section lengths are the learner's own: the level stays.
  ExcersisesSettings edited = manager->GetExcersiseSettings();
  edited.earTrainer.chord.duration = {60, 5};
  edited.earTrainer.tempo.duration.questions = 1;
  manager->SetExcersiseSettings(edited);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), Level3);

  // Material is not: one chord type less makes custom settings, also after a restart.
  edited.earTrainer.chord.MinorTriad = false;
  manager->SetExcersiseSettings(edited);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), CustomLevel);
  Restart(manager);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), CustomLevel);
  EXPECT_EQ(manager->GetExcersiseSettings().earTrainer.chord.duration.seconds, 60);
}

TEST_F(SettingsManagerTest, ANoteTrainerLevelResetsTheWrongAnswerDelay) {
  auto manager = Start();
  ExcersisesSettings edited = manager->GetExcersiseSettings();
  edited.noteTrainer.onWrongAnswer.delay = 1000;
  manager->SetExcersiseSettings(edited);
  EXPECT_EQ(manager->GetDifficultyLevel(NoteTrainerExercise), Level1) << "delay is not compared";

  manager->SetDifficultyLevel(NoteTrainerExercise, Level2);
  EXPECT_EQ(manager->GetExcersiseSettings().noteTrainer.onWrongAnswer.delay, 5000);
  Restart(manager);
  EXPECT_EQ(manager->GetExcersiseSettings().noteTrainer.onWrongAnswer.delay, 5000);
}

TEST_F(SettingsManagerTest, AQuizNeverTouchesTheLessonCopyOrTheStore) {
  Start()->SetDifficultyLevel(NoteTrainerExercise, Level2);
  const QByteArray stored = StoreBytes();
  ASSERT_FALSE(stored.isEmpty());

  auto manager = Start();
  m_quiz = true;
  manager->SetDifficultyLevel(NoteTrainerExercise, Level4);
  EXPECT_EQ(MatchDifficultyLevel(manager->GetExcersiseSettings(), NoteTrainerExercise), Level4);
  EXPECT_EQ(manager->GetDifficultyLevel(NoteTrainerExercise), Level2) << "asks the lesson copy";

  ExcersisesSettings quiz = manager->GetExcersiseSettings();
  quiz.earTrainer.scales.NaturalMaj = false;
  manager->SetExcersiseSettings(quiz);
  EXPECT_FALSE(manager->GetExcersiseSettings().earTrainer.scales.NaturalMaj);

  m_quiz = false;
  EXPECT_EQ(MatchDifficultyLevel(manager->GetExcersiseSettings(), NoteTrainerExercise), Level2);
  EXPECT_TRUE(manager->GetExcersiseSettings().earTrainer.scales.NaturalMaj);

  // The quiz copy keeps its content for the next quiz of this run.
  m_quiz = true;
  EXPECT_FALSE(manager->GetExcersiseSettings().earTrainer.scales.NaturalMaj);

  manager.reset();
  EXPECT_EQ(StoreBytes(), stored);
}

TEST_F(SettingsManagerTest, NoLevelAndUnknownTrainersLeaveEverythingAsItWas) {
  auto manager = Start();
  manager->SetDifficultyLevel(EarTrainerExercise, CustomLevel);
  manager->SetDifficultyLevel(EarTrainerExercise, static_cast<DifficultyLevelPreset>(-3));
  manager->SetDifficultyLevel(static_cast<ExerciseType>(3), Level5);
  m_quiz = true;
  manager->SetDifficultyLevel(EarTrainerExercise, CustomLevel);
  EXPECT_EQ(manager->GetExcersiseSettings().earTrainer.scales.duration.seconds, 30);
  m_quiz = false;
  for (ExerciseType trainer : {NoteTrainerExercise, EarTrainerExercise, SheetMusicSymbolsExercise})
    EXPECT_EQ(manager->GetDifficultyLevel(trainer), Level1);
  manager.reset();
  EXPECT_FALSE(QFile::exists(StoreFile())) << "nothing applied, nothing saved";
}

TEST_F(SettingsManagerTest, HandingBackLessonSettingsAlsoSavesTheGeneralOptions) {
  auto manager = Start();
  const ExcersisesSettings& lesson = manager->GetExcersiseSettings();
  manager->globalSettings.newsId = 12;
  manager->globalSettings.midiInstrument = 21;
  ExcersisesSettings edited = lesson;
  edited.sheetMusicSymbols.signatures.GbMaj = true;
  manager->SetExcersiseSettings(edited);
  EXPECT_TRUE(lesson.sheetMusicSymbols.signatures.GbMaj) << "the reference shows the change";
  // On disk when the save returns, not at a later pass of an event loop a crash may not reach.
  EXPECT_TRUE(StoreBytes().contains("Settings.NewsId=12"));

  manager->state.lastState = VAvaroState::ExerciseOpen;
  manager->state.exerciseId = SheetMusicSymbolsExercise;
  manager->state.exercisePosition = 77;
  manager->SaveState();
  EXPECT_TRUE(StoreBytes().contains("ROZazod.ExercisePosition=77"));
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::NoError);

  Restart(manager);
  EXPECT_EQ(manager->globalSettings.newsId, 12);
  EXPECT_EQ(manager->globalSettings.midiInstrument, 21);
  EXPECT_TRUE(manager->GetExcersiseSettings().sheetMusicSymbols.signatures.GbMaj);
  EXPECT_EQ(manager->GetDifficultyLevel(SheetMusicSymbolsExercise), CustomLevel);
  EXPECT_TRUE(manager->state.ResumesExercise());
  EXPECT_EQ(manager->state.exercisePosition, 77);
}

// A file that cannot be written is reported, and the next save that can write it does.
TEST_F(SettingsManagerTest, AFailedSaveIsReportedAndWrittenByTheNextOne) {
  auto manager = Start();
  ASSERT_TRUE(QDir().mkpath(StoreFile()));  // a folder where the file belongs: never writable
  manager->globalSettings.newsId = 13;
  testing::internal::CaptureStderr();
  manager->SaveSettings();
  EXPECT_NE(testing::internal::GetCapturedStderr().find(StoreFile().toStdString()),
            std::string::npos);
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::AccessError);

  ASSERT_TRUE(QDir(StoreFile()).removeRecursively());
  manager->state.exercisePosition = 78;
  manager->SaveState();
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::NoError);
  EXPECT_TRUE(StoreBytes().contains("Settings.NewsId=13")) << "the failed save is not lost";
  EXPECT_TRUE(StoreBytes().contains("ROZazod.ExercisePosition=78"));
}

// A named pipe in place of the store would hold Qt's reading, and the program's start, until
// another program wrote to it: it is not read, told as unreadable, and never written; the settings
// live in memory.
TEST_F(SettingsManagerTest, ANamedPipeInPlaceOfTheStoreIsNeitherReadNorWritten) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
  Testing::NamedPipes pipes;
  ASSERT_TRUE(pipes.Make(StoreFile()));
  testing::internal::CaptureStderr();
  {
    auto manager = std::make_unique<SettingsManager>([this] { return m_quiz; });
    EXPECT_EQ(manager->GetDifficultyLevel(NoteTrainerExercise), Level1);
    ASSERT_EQ(manager->GetStorageProblems().size(), 1u);
    EXPECT_EQ(manager->GetStorageProblems()[0].kind, StorageProblem::Unreadable);
    EXPECT_EQ(manager->GetStorageProblems()[0].path, StoreFile());
    EXPECT_EQ(manager->GetStorageProblems()[0].reason, "a named pipe is in its place");
    manager->SetDifficultyLevel(EarTrainerExercise, Level3);
    manager->SaveState();
    EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), Level3);
    EXPECT_FALSE(manager->IsRated());
    manager->SetRated();  // kept for the run
    EXPECT_TRUE(manager->IsRated());
  }
  EXPECT_NE(testing::internal::GetCapturedStderr().find("is not a regular file"),
            std::string::npos);
  EXPECT_TRUE(pipes.Release()) << "the store waited for a writer";
  EXPECT_TRUE(Testing::NamedPipes::IsPipe(StoreFile()));
}

// A settings folder that is a link to itself looks to Qt like no file at all: it is told at the
// start as unreadable, and neither read nor written.
TEST_F(SettingsManagerTest, ASettingsFolderThatIsALinkToItselfIsToldAtTheStart) {
  const QByteArray folder = QFile::encodeName(QFileInfo(StoreFile()).path());
  ASSERT_EQ(::symlink(folder.constData(), folder.constData()), 0);
  testing::internal::CaptureStderr();
  auto manager = Start();
  manager->SaveSettings();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("cannot be read"), std::string::npos);
  ASSERT_EQ(manager->GetStorageProblems().size(), 1u);
  const StorageProblem problem = manager->GetStorageProblems()[0];
  EXPECT_EQ(problem.kind, StorageProblem::Unreadable);
  EXPECT_EQ(problem.path, StoreFile());
  EXPECT_EQ(problem.reason, QString::fromLocal8Bit(std::strerror(ELOOP)));
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::NoError) << "no save was tried";
}

// A store file far larger than any settings is not read (Qt would read it whole at the start and
// write it whole at every save): it is put aside as found, and the settings start at the first
// level. One that grows so while the program runs is put aside by the next save.
TEST_F(SettingsManagerTest, AStoreFileFarLargerThanAnySettingsIsPutAside) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
  QByteArray huge = "[GlobalSetting]\nSettings.NewsId=12\n[Filler]\n";
  for (int key = 0; huge.size() <= (1 << 20); ++key)
    huge += "key" + QByteArray::number(key) + "=" + QByteArray(80, 'x') + "\n";
  const auto writeHuge = [&] {
    QFile file(StoreFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(huge) == huge.size());
  };
  const QString aside =
      StoreFile() + ".damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-%1";
  writeHuge();
  testing::internal::CaptureStderr();
  auto manager = Start();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("far more than any settings"),
            std::string::npos);
  ASSERT_EQ(manager->GetStorageProblems().size(), 1u);
  EXPECT_EQ(manager->GetStorageProblems()[0].kind, StorageProblem::TooLarge);
  EXPECT_EQ(manager->GetStorageProblems()[0].keptCopy, aside.arg(1));
  EXPECT_EQ(manager->globalSettings.newsId, 0) << "nothing of it is read";
  EXPECT_FALSE(QFile::exists(StoreFile()));

  manager->SaveSettings();
  EXPECT_LT(StoreBytes().size(), 64 * 1024);
  writeHuge();
  testing::internal::CaptureStderr();
  manager->SaveSettings();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::NoError);
  EXPECT_EQ(QFileInfo(aside.arg(2)).size(), huge.size());
  EXPECT_LT(StoreBytes().size(), 64 * 1024);
  EXPECT_FALSE(StoreBytes().contains("Filler"));
}

// A kill while Qt creates the lock file leaves it empty (or cut short); Qt would then wait until
// it is half a minute old before every write.
TEST_F(SettingsManagerTest, ALockFileNamingNoOwnerDoesNotDelayTheFirstSave) {
  for (const QByteArray& content : {QByteArray(), QByteArray("12ab\xff\n")}) {
    SCOPED_TRACE(content.toStdString());
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    QFile lock(StoreFile() + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly) && lock.write(content) == content.size());
    lock.close();
    auto manager = Start();
    manager->globalSettings.newsId = 5;
    QElapsedTimer clock;
    clock.start();
    manager->SaveSettings();
    EXPECT_LT(clock.elapsed(), Testing::PromptMs);
    EXPECT_TRUE(StoreBytes().contains("Settings.NewsId=5"));
  }

  // A lock a running program holds is left alone.
  QLockFile held(StoreFile() + ".lock");
  ASSERT_TRUE(held.tryLock(0));
  Start();
  EXPECT_TRUE(QFile::exists(StoreFile() + ".lock"));
}

// Whatever the file holds, the program starts: unreadable lines and values of foreign types read
// as Qt converts them, and the next save still reaches the file.
TEST_F(SettingsManagerTest, AGarbledStoreFileStartsAtTheFirstLevelAndTakesTheNextSave) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
  QFile file(StoreFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const char garbage[] =
      "\x00\xff\xfe[[[Excersises\n=\n\\\\\\\n[GlobalSetting]\n"
      "Settings.MidiInstrument=@Rect(1 2 3 4)\nSettings.NewsId=@ByteArray(zz\n"
      "Settings.Appearance=@Variant(\\0\\0\\0\\x7f\\0)\n"
      "[Excersises]\nEarTrainer\\Chord\\Diapason\\Diapason.Minimum=@Point(3\n";
  file.write(garbage, sizeof garbage - 1);
  file.close();

  auto manager = Start();
  EXPECT_EQ(manager->globalSettings.midiInstrument, 0);
  EXPECT_EQ(manager->globalSettings.newsId, 0);
  EXPECT_EQ(manager->GetDifficultyLevel(NoteTrainerExercise), Level1);
  EXPECT_EQ(manager->GetDifficultyLevel(SheetMusicSymbolsExercise), Level1);

  manager->SetDifficultyLevel(EarTrainerExercise, Level4);
  EXPECT_EQ(manager->GetStorageStatus(), QSettings::NoError) << "the damage was read, not written";
  Restart(manager);
  EXPECT_EQ(manager->GetDifficultyLevel(EarTrainerExercise), Level4);
}

// Every number in the file at the bottom of an int, or too large to read: the lessons still ask
// questions, with the values the settings screens would show.
TEST_F(SettingsManagerTest, NumbersFromTheFileAreBroughtIntoTheRangesTheScreensOffer) {
  Start()->SaveSettings();
  for (const QVariant& absurd : {QVariant(-2147483648LL), QVariant("99999999999999999999")}) {
    SCOPED_TRACE(absurd.toString().toStdString());
    {
      auto store = OpenStore();
      for (const QString& key : store->allKeys()) {
        bool number = false;
        store->value(key).toLongLong(&number);
        if (number && key.startsWith("Excersises/")) store->setValue(key, absurd);
      }
    }
    auto manager = Start();
    const ExcersisesSettings& lesson = manager->GetExcersiseSettings();
    const NoteTrainerSettings& notes = lesson.noteTrainer;
    const EarTrainerSettings& ear = lesson.earTrainer;
    const SheetMusicSymbolsSettings& symbols = lesson.sheetMusicSymbols;
    for (const NotesDiapason* range :
         {&notes.singleNotes.diapason, &notes.interval.diapason, &notes.chord.diapason,
          &ear.singleNotes.diapason, &ear.interval.diapason, &ear.chord.diapason,
          &ear.scales.diapason})
      EXPECT_TRUE(range->minimum >= 0 && range->minimum < range->maximum && range->maximum <= 88);
    for (const ExerciseDuration* d :
         {&notes.singleNotes.duration, &notes.interval.duration, &notes.chord.duration,
          &ear.singleNotes.duration, &ear.interval.duration, &ear.chord.duration,
          &ear.scales.duration, &ear.tempo.duration, &symbols.length.duration,
          &symbols.signatures.duration, &symbols.tempo.duration, &symbols.loudness.duration,
          &symbols.noteModifiers.duration})
      EXPECT_TRUE(d->questions >= 1 && d->questions <= MaxQuestionsPerSection && d->seconds >= 0 &&
                  d->seconds <= MaxSecondsPerQuestion);
    for (const IntervalSettings* interval : {&notes.interval, &ear.interval})
      EXPECT_TRUE(interval->intervalStart >= 0 &&
                  interval->intervalStart <= interval->intervalEnd &&
                  interval->intervalEnd <= MaxIntervalSize);
    EXPECT_GE(notes.onWrongAnswer.delay, ShortestWrongAnswerDelay);
    EXPECT_LE(notes.onWrongAnswer.delay, LongestWrongAnswerDelay);
  }
}

TEST_F(SettingsManagerTest, ADamagedStoreFileIsKeptBeforeASaveRewritesIt) {
  ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
  const QByteArray damaged = "[GlobalSetting]\nSettings.NewsId=3\n[Excersises\nx\n";
  QFile file(StoreFile());
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
  file.close();
  testing::internal::CaptureStderr();
  auto manager = Start();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(manager->globalSettings.newsId, 3);
  const QString copy =
      StoreFile() + ".damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-1";
  EXPECT_EQ(manager->GetStorageProblems(),
            (std::vector<StorageProblem>{
                {StorageProblem::Damaged, StorageProblem::Settings, StoreFile(), "", copy}}));
  manager->SaveSettings();
  QFile kept(copy);
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), damaged);
  EXPECT_TRUE(manager->GetStorageProblems().size() == 1) << "the save itself went well";
}

// Qt writes the store through "MelvarinStudio.conf." and six random letters under its lock; a
// kill before the rename leaves both. Only such files go, never a learner's own.
TEST_F(SettingsManagerTest, AnInterruptedSaveLeavesNothingBehindAndTheLearnersFilesStay) {
  const QDir folder = QFileInfo(StoreFile()).dir();
  ASSERT_TRUE(QDir().mkpath(folder.path()));
  const auto create = [&folder](const QString& name, const QByteArray& bytes, int ageSeconds) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.flush();
    file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                     QFileDevice::FileModificationTime);
  };
  create("MelvarinStudio.conf.backup", "[GlobalSetting]\nSettings.NewsId=1\n", 3600);
  create("MelvarinStudio.conf.QwErTy", "[GlobalSetting]\nSettings.NewsId=2\n", 0);
  Start();
  EXPECT_TRUE(folder.exists("MelvarinStudio.conf.QwErTy")) << "no interrupted save: no leftover";

  // The lock of a writer that is gone.
  QProcess gone;
  gone.start("true", QStringList());
  ASSERT_TRUE(gone.waitForStarted());
  const qint64 pid = gone.processId();
  ASSERT_TRUE(gone.waitForFinished());
  create(
      "MelvarinStudio.conf.lock",
      QByteArray::number(pid) + "\nMelvarinStudio\n" + QSysInfo::machineHostName().toUtf8() + "\n",
      1);
  create("MelvarinStudio.conf.AsDfGh", "[GlobalSetting]\nSettings.NewsId=2\n", 0);
  auto manager = Start();
  EXPECT_FALSE(folder.exists("MelvarinStudio.conf.AsDfGh"));
  EXPECT_TRUE(folder.exists("MelvarinStudio.conf.backup"));
  manager->globalSettings.newsId = 9;
  QElapsedTimer clock;
  clock.start();
  manager->SaveSettings();
  EXPECT_LT(clock.elapsed(), Testing::PromptMs);
  EXPECT_TRUE(StoreBytes().contains("Settings.NewsId=9"));
}

TEST_F(SettingsManagerTest, ByDefaultFollowsTheApplicationQuizFlag) {
  SettingsManager manager;
  const ExcersisesSettings* lesson = &manager.GetExcersiseSettings();
  SetQuizMode(true);
  const ExcersisesSettings* quiz = &manager.GetExcersiseSettings();
  SetQuizMode(false);
  EXPECT_NE(lesson, quiz);
  EXPECT_EQ(&manager.GetExcersiseSettings(), lesson);
  EXPECT_EQ(quiz->noteTrainer.singleNotes.duration.seconds, 30);
}

}  // namespace
