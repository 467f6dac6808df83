// The learner is told of their files' trouble: once per run when the program starts or a settings
// save fails, and at the end of each lesson whose answers could not be saved; and a settings file
// full of absurd numbers still gives a lesson that asks questions.

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>

#include "shell_fixture.h"
#include "shown_text.h"
#include "src/core/catalog/exercise_catalog.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/exercise/exercise.h"
#include "src/core/settings/settings_manager.h"
#include "src/ui/block_view_control.h"
#include "src/ui/controls/console_exercise_control/console_exercise_control.h"
#include "src/ui/message_dialogs.h"
#include "src/ui/play_dialog.h"
#include "src/ui/storage_notice.h"
#include "support/named_pipes.h"

namespace {

using Testing::WaitUntil;
constexpr int NoteTrainer = 0;
constexpr int SymbolTrainer = 2;

class StorageNoticeTest : public Testing::ShellTest {
 protected:
  static QString DataFile(const char* name) {
    return Core::ExerciseCatalog::GetDbDir().absoluteFilePath(name);
  }
  static void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  UI::NoticeDialog* Notice() const {
    return m_console->findChild<UI::NoticeDialog*>("storageNotice");
  }
  // The notice's title and message as they read, each bold run between "<b>" and "</b>".
  QString NoticeText() const {
    return Testing::ShownIn(Notice()->findChild<QLabel*>("Loading_4")).marked + "\n" +
           Testing::ShownIn(Notice()->findChild<QLabel*>("Loading_5")).marked;
  }
  // Shown, and its panel holds all of its words.
  bool NoticeShown() const {
    if (!Notice() || !Notice()->isVisible() || Notice()->opacity() != 1.0) return false;
    const QLabel* message = Notice()->findChild<QLabel*>("Loading_5");
    EXPECT_GE(message->height(), message->heightForWidth(message->width()));
    EXPECT_TRUE(message->parentWidget()->rect().contains(message->geometry()));
    return true;
  }
  void CloseNotice() const {
    QTest::mouseClick(Notice()->findChild<QToolButton*>("Close"), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([this] { return !Notice()->isVisible(); }));
  }
  void Screenshot(const char* name) const {
    const QString folder = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(folder);
    m_console->grab().save(folder + "/" + name);
  }
  UI::ConsoleExerciseControl* Screen() const { return m_console->GetExerciseControl(); }
  // Starts a lesson as the home screen's Learn does and plays it; waits for the first question.
  void StartLesson(int trainer) const {
    emit m_console->GetBlockViewControl()->OpenExercise(trainer, false);
    ASSERT_TRUE(WaitUntil([&] { return Screen()->isVisible() && Screen()->CurrentExercise(); }));
    Screen()->GetPlayDialog()->clickAreaClicked();
    ASSERT_TRUE(WaitUntil(
        [&] { return Screen()->CurrentExercise()->GetState() == Core::ES_AWAITING_ANSWER; }));
    QCoreApplication::processEvents();
  }
  static void ShortLessons() {
    Core::GlobalSettings global = App()->GetSettings()->globalSettings;
    global.hideMidiDialog = true;
    global.showDifficultyDialog = false;
    App()->SetGlobalSettings(global);
  }
};

TEST_F(StorageNoticeTest, ProblemsFoundAtStartAndFailedSettingsSavesAreToldOncePerRun) {
  const QByteArray damaged = "<ex_stat version=\"1.0\"><entry id=\"1\"/><entry id=\"2\x01\"/>";
  WriteAll(DataFile("stats.xml"), damaged);
  Restart();
  StartConsole();
  EXPECT_FALSE(Notice()) << "nothing before the entry point asks";

  App()->TellStorageProblems();
  ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
  const QString copy = "stats.xml.damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-1";
  EXPECT_TRUE(NoticeText().contains("A problem with your files"));
  EXPECT_TRUE(NoticeText().contains("<b>stats.xml</b>, which holds your statistics, was damaged"));
  EXPECT_TRUE(NoticeText().contains("<b>" + copy + "</b>"));
  EXPECT_TRUE(
      NoticeText().contains(QDir::toNativeSeparators(Core::ExerciseCatalog::GetDbDir().path())));
  Screenshot("storage-notice-at-start.png");
  CloseNotice();

  App()->TellStorageProblems();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Notice()->isVisible()) << "told once";

  // A settings file that cannot be written: told at the first failing save, not again.
  const QString store = m_env.ConfigHome() + "/Quorvale/MelvarinStudio.conf";
  QFile::remove(store);
  ASSERT_TRUE(QDir().mkpath(store));
  ShortLessons();
  ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
  EXPECT_TRUE(
      NoticeText().contains("<b>MelvarinStudio.conf</b>, which holds your settings, could "
                            "not be saved"));
  CloseNotice();
  ShortLessons();
  QCoreApplication::processEvents();
  EXPECT_FALSE(Notice()->isVisible());
}

// Named pipes in place of every file the program keeps: it starts without waiting for a writer,
// tells of each, and leaves every pipe a pipe through a lesson and the shutdown.
TEST_F(StorageNoticeTest, NamedPipesInPlaceOfTheFilesAreToldAndLeftAsTheyAre) {
  CloseConsole();
  App()->ReleaseServices();
  const QStringList files = {DataFile("stats.xml"), DataFile("statsLocal.xml"),
                             DataFile("tstats.xml"),
                             m_env.ConfigHome() + "/Quorvale/MelvarinStudio.conf"};
  Testing::NamedPipes pipes;
  for (const QString& file : files) {
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(file).path()));
    ASSERT_TRUE(pipes.Make(file)) << file.toStdString();
  }
  testing::internal::CaptureStderr();
  App()->Init();
  StartConsole();
  App()->TellStorageProblems();
  ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
  for (const char* name : {"stats.xml", "statsLocal.xml", "tstats.xml", "MelvarinStudio.conf"})
    EXPECT_TRUE(NoticeText().contains(QString("<b>%1</b>").arg(name) + ", which holds")) << name;
  EXPECT_EQ(NoticeText().count("could not be read (a named pipe is in its place)"), 4);
  Screenshot("storage-notice-named-pipes.png");
  CloseNotice();
  ShortLessons();
  StartLesson(NoteTrainer);
  m_console->NavigateHome();
  CloseConsole();
  App()->ReleaseServices();
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(pipes.Release()) << "a file was waited for";
  for (const QString& file : files)
    EXPECT_TRUE(Testing::NamedPipes::IsPipe(file)) << file.toStdString();
}

// A lesson's answers that cannot reach the all-time statistics still reach the lesson's own file,
// and the learner is told as the lesson ends.
TEST_F(StorageNoticeTest, ALessonWhoseAnswersCouldNotBeSavedIsToldAtItsEnd) {
  StartConsole();
  ShortLessons();
  Core::ExcersisesSettings settings = App()->GetSettings()->GetExcersiseSettings();
  auto& symbols = settings.sheetMusicSymbols;
  symbols.length.duration = {0, 1};
  for (Core::ExerciseDuration* d : {&symbols.signatures.duration, &symbols.tempo.duration,
                                    &symbols.loudness.duration, &symbols.noteModifiers.duration})
    d->questions = 0;
  App()->SetExcerciseSettings(settings);
  StartLesson(SymbolTrainer);
  const Core::Question asked = Screen()->CurrentExercise()->GetCurrentQuestion();
  QTest::mouseClick(Screen()->findChild<QToolButton*>(
                        qPrintable(QString("Answer%1").arg(asked.CorrectVariant + 1))),
                    Qt::LeftButton);

  ASSERT_TRUE(QFile::remove(DataFile("stats.xml")));
  ASSERT_TRUE(QDir().mkpath(DataFile("stats.xml")));
  m_console->NavigateHome();
  ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
  EXPECT_TRUE(NoticeText().contains("Answers not saved"));
  EXPECT_TRUE(NoticeText().contains(
      "The answers of this lesson could not be saved to <b>stats.xml</b>, which holds your "
      "statistics (a folder is in its place)."));
  EXPECT_TRUE(ReadAll(DataFile("statsLocal.xml")).contains("exId=\"2\""));
  Screenshot("storage-notice-lesson-end.png");
}

// The names of files and folders are the learner's: the notice shows each as it is, whatever
// markup or spacing it holds, the file names in bold.
TEST_F(StorageNoticeTest, FileAndFolderNamesAreShownAsTheyAre) {
  StartConsole();
  // A file name holds no slash, so its markup opens and never closes.
  const QString names[] = {"Gam<i>ma & Co", "runs  of   spaces", "&lt;b&gt; <br> %1", "Two\nlines"};
  for (const QString& name : names) {
    SCOPED_TRACE(name.toStdString());
    const QString folder = m_env.DataHome() + "/" + name;
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + "/" + name + ".xml";
    WriteAll(file, "<ex_stat");
    const QString copy = file + ".damaged";
    ASSERT_TRUE(QFile::copy(file, copy));
    ASSERT_TRUE(UI::TellStorageProblems(
        m_console.get(),
        {{Core::StorageProblem::Damaged, Core::StorageProblem::Statistics, file, {}, copy}}));
    const Testing::ShownText shown = Testing::ShownIn(Notice()->findChild<QLabel*>("Loading_5"));
    EXPECT_TRUE(shown.all.contains(QFileInfo(file).fileName() + ", which holds your statistics"))
        << shown.all.toStdString();
    EXPECT_TRUE(shown.all.contains("The files are in " + QDir::toNativeSeparators(folder) + "."))
        << shown.all.toStdString();
    EXPECT_EQ(shown.bold, QFileInfo(file).fileName() + QFileInfo(copy).fileName());
    EXPECT_EQ(shown.italic, "");
  }
}

// Told at the start like the data files' troubles: a settings folder that is a link to itself,
// which Qt would take for no file at all, and a history nearing the largest file that is read.
TEST_F(StorageNoticeTest, ASettingsFolderLinkedToItselfAndAHistoryNearItsBoundAreToldAtTheStart) {
  CloseConsole();
  App()->ReleaseServices();
  const QString folder = m_env.ConfigHome() + "/Quorvale";
  ASSERT_TRUE(QDir(folder).removeRecursively());
  ASSERT_TRUE(QFile::link(folder, folder));
  QByteArray history = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ex_stat version=\"1.0\">\n";
  for (int id = 0; history.size() < Core::ExerciseStatistics::NearlyFullBytes + (1 << 20); ++id)
    history += QStringLiteral(
                   "    <entry id=\"%1\" exId=\"0\" section=\"0\" correct=\"1\" "
                   "wrong=\"0\"/>\n")
                   .arg(id)
                   .toUtf8();
  WriteAll(DataFile("stats.xml"), history + "</ex_stat>\n");
  testing::internal::CaptureStderr();
  App()->Init();
  StartConsole();
  App()->TellStorageProblems();
  ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(
      NoticeText().contains("<b>MelvarinStudio.conf</b>, which holds your settings, could not "
                            "be read (Too many levels of symbolic links)"));
  EXPECT_TRUE(NoticeText().contains(
      "<b>stats.xml</b>, which holds your statistics, has grown to 13.0 MB of at most 16 MB."));
  Screenshot("storage-notice-link-loop-and-nearly-full.png");
  CloseNotice();
  ASSERT_TRUE(QFile::remove(folder));
}

// A newer version's lesson file is told of once, also when the lesson left in it is resumed and
// reads it again; meanwhile the lesson header names that file as the one not saved, its whole
// text wrapped.
TEST_F(StorageNoticeTest, ANewerLessonFileIsToldOnceAndTheLessonHeaderShowsItsWholeText) {
  WriteAll(DataFile("statsLocal.xml"), "<ex_stat version=\"2.0\"></ex_stat>");
  for (bool resumed : {false, true}) {
    SCOPED_TRACE(resumed ? "resumed at the next start" : "first start");
    testing::internal::CaptureStderr();
    Restart();
    StartConsole();
    ASSERT_EQ(Screen()->HasExercise(), resumed);
    App()->TellStorageProblems();
    ASSERT_TRUE(WaitUntil([this] { return NoticeShown(); }));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(NoticeText().count("<b>statsLocal.xml</b>, which holds"), 1);
    CloseNotice();
    if (resumed) break;

    ShortLessons();
    StartLesson(NoteTrainer);
    const auto* header = Screen()->findChild<QLabel*>("StatisticsHeaderLbl");
    EXPECT_EQ(header->text(),
              "The lesson's file, statsLocal.xml, cannot be saved. The lesson goes on without it.");
    const QRect room = header->contentsRect();
    EXPECT_TRUE(header->wordWrap() && header->heightForWidth(header->width()) <= header->height() &&
                header->fontMetrics()
                        .boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, header->text())
                        .width() <= room.width());
    // An answer leaves the lesson to be resumed as the program closes.
    Click(Screen()->findChild<QWidget*>("Gkc"));
    ASSERT_TRUE(
        WaitUntil([&] { return Screen()->CurrentExercise()->GetProgress().Answered == 1; }));
    ExitConsole();
    // As the header says: the answer is in the all-time statistics, the lesson's file left alone.
    EXPECT_TRUE(ReadAll(DataFile("stats.xml")).contains("exId=\"0\""));
    EXPECT_EQ(ReadAll(DataFile("statsLocal.xml")), "<ex_stat version=\"2.0\"></ex_stat>");
  }
}

TEST_F(StorageNoticeTest, AbsurdNumbersInTheSettingsFileStillGiveALessonWithQuestions) {
  App()->GetSettings()->SaveSettings();
  {
    QSettings store(QSettings::UserScope, "Quorvale", "MelvarinStudio");
    for (const QString& key : store.allKeys()) {
      bool number = false;
      store.value(key).toLongLong(&number);
      if (number) store.setValue(key, -2147483648LL);
    }
  }
  Restart();
  StartConsole();
  ShortLessons();
  StartLesson(NoteTrainer);
  const Core::TimeLine& timeline = Screen()->CurrentExercise()->GetTimeline();
  EXPECT_GT(timeline.GetTotalDuration(), 0);
  EXPECT_FALSE(Screen()->CurrentExercise()->GetCurrentQuestion().VariantData.empty());
}

}  // namespace
