// The statistics database over real files in a temporary data folder.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "support/named_pipes.h"
#include "support/temp_environment.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <random>
#include <set>

#include <sys/mount.h>
#include <sys/resource.h>

#include <climits>
#include <csignal>
#include <cstring>

namespace {

using Core::ExStat;
using Core::StorageProblem;
using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

constexpr char EmptyDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ex_stat version=\"1.0\"/>\n";

QByteArray Document(const QByteArray& entries) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ex_stat version=\"1.0\">\n" + entries +
         "</ex_stat>\n";
}

class ExerciseStatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QDir().mkpath(m_folder)); }

  std::unique_ptr<Core::ExerciseStatistics> Open() {
    return std::make_unique<Core::ExerciseStatistics>(m_total, m_local);
  }
  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  static void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  static std::vector<ExStat> Local(Core::ExerciseStatistics& stats, int exId) {
    std::vector<ExStat> out;
    stats.GetLocalSummary(exId, out);
    return out;
  }
  static std::vector<ExStat> Total(Core::ExerciseStatistics& stats, int exId) {
    std::vector<ExStat> out;
    stats.GetTotalSummary(exId, out);
    return out;
  }

  Testing::TempEnvironment m_env;
  QString m_folder = m_env.DataHome() + "/Quorvale/MelvarinStudio";
  QString m_total = m_folder + "/stats.xml";
  QString m_local = m_folder + "/statsLocal.xml";
};

TEST_F(ExerciseStatisticsTest, FirstRunCreatesBothFilesEmpty) {
  auto stats = Open();
  EXPECT_EQ(ReadAll(m_total), EmptyDocument);
  EXPECT_EQ(ReadAll(m_local), EmptyDocument);
  EXPECT_TRUE(stats->GetStorageError().IsEmpty());
}

TEST_F(ExerciseStatisticsTest, AnswersMergePerQuestionAndSectionInBothSets) {
  auto stats = Open();
  stats->AddEntry({5, 0, 1, 1, 0});
  stats->AddEntry({7, 2, 0, 0, 1});
  stats->AddEntry({5, 0, 1, 1, 0});
  stats->AddEntry({5, 0, 2, 0, 1});
  for (auto* summary : {&Local, &Total}) {
    EXPECT_THAT(summary(*stats, 0),
                UnorderedElementsAre(ExStat{5, 0, 1, 2, 0}, ExStat{5, 0, 2, 0, 1}));
  }

  std::vector<ExStat> out{ExStat{99}};
  stats->GetLocalSummary(0, 1, out);  // appends, keeps what was there
  EXPECT_THAT(out, ElementsAre(ExStat{99}, ExStat{5, 0, 1, 2, 0}));
  out.clear();
  stats->GetTotalSummary(0, 3, out);
  EXPECT_TRUE(out.empty());

  stats->Save();
  const QByteArray expected = Document(
      "    <entry id=\"5\" exId=\"0\" section=\"1\" correct=\"2\" wrong=\"0\"/>\n"
      "    <entry id=\"7\" exId=\"2\" section=\"0\" correct=\"0\" wrong=\"1\"/>\n"
      "    <entry id=\"5\" exId=\"0\" section=\"2\" correct=\"0\" wrong=\"1\"/>\n");
  EXPECT_EQ(ReadAll(m_total), expected);
  EXPECT_EQ(ReadAll(m_local), expected);

  // And a restart reads them back.
  stats = Open();
  EXPECT_THAT(Total(*stats, 2), ElementsAre(ExStat{7, 2, 0, 0, 1}));
}

TEST_F(ExerciseStatisticsTest, ClearingEmptiesOneExerciseOfOneSetAndRewritesItsFile) {
  auto stats = Open();
  stats->AddEntry({1, 0, 0, 1, 0});
  stats->AddEntry({2, 1, 0, 1, 0});
  stats->AddEntry({3, 0, 1, 0, 1});
  stats->ClearLocal(0);
  EXPECT_TRUE(Local(*stats, 0).empty());
  EXPECT_EQ(Local(*stats, 1).size(), 1u);
  EXPECT_EQ(Total(*stats, 0).size(), 2u);
  EXPECT_EQ(ReadAll(m_local),
            Document("    <entry id=\"2\" exId=\"1\" section=\"0\" correct=\"1\" wrong=\"0\"/>\n"));
  EXPECT_EQ(ReadAll(m_total), EmptyDocument);  // untouched until saved

  QFile::remove(m_local);
  stats->ClearLocal(2);  // nothing to erase, still written
  EXPECT_TRUE(QFile::exists(m_local));

  stats->ClearTotal(0);
  EXPECT_TRUE(Total(*stats, 0).empty());
  EXPECT_TRUE(ReadAll(m_total).contains("id=\"2\""));
  EXPECT_FALSE(ReadAll(m_total).contains("id=\"1\""));
}

TEST_F(ExerciseStatisticsTest, RecordsFromAFileAreTakenAsTheyAreAndLaterAnswersAddUp) {
  const QByteArray entry =
      "    <entry id=\"4\" exId=\"1\" section=\"0\" correct=\"1\" wrong=\"0\"/>\n";
  WriteAll(m_total, Document(entry + entry +
                             "    <entry id=\"6\" exId=\"1\" section=\"0\" correct=\"2147483647\""
                             " wrong=\"0\"/>\n"));
  auto stats = Open();
  stats->AddEntry({4, 1, 0, 0, 3});  // duplicates stay apart; the answer goes to one of them
  stats->AddEntry({6, 1, 0, 1, 0});  // a count at the top of the range stays there
  EXPECT_THAT(Total(*stats, 1), UnorderedElementsAre(ExStat{4, 1, 0, 1, 0}, ExStat{4, 1, 0, 1, 3},
                                                     ExStat{6, 1, 0, INT_MAX, 0}));
}

TEST_F(ExerciseStatisticsTest, BrokenFileKeepsItsReadableEntriesAndTheOtherFileIsStillRead) {
  const QByteArray localText =
      Document("    <entry id=\"8\" exId=\"2\" section=\"1\" correct=\"4\" wrong=\"4\"/>\n");
  WriteAll(m_local, localText);
  WriteAll(m_total,
           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ex_stat version=\"1.0\">\n"
           "    <entry id=\"1\" exId=\"0\" section=\"0\" correct=\"6\" wrong=\"0\"/>\n"
           "    <entry id=\"2\" exId=\"0\" sec");
  auto stats = Open();
  EXPECT_THAT(Total(*stats, 0), ElementsAre(ExStat{1, 0, 0, 6, 0}));
  EXPECT_THAT(Local(*stats, 2), ElementsAre(ExStat{8, 2, 1, 4, 4}));
  // The broken file is replaced by what could be read; the sound one is left as it was.
  EXPECT_EQ(ReadAll(m_total),
            Document("    <entry id=\"1\" exId=\"0\" section=\"0\" correct=\"6\" wrong=\"0\"/>\n"));
  EXPECT_EQ(ReadAll(m_local), localText);
  EXPECT_TRUE(stats->GetStorageError().IsEmpty());
}

TEST_F(ExerciseStatisticsTest, UnreadableFileIsNeverOverwrittenByTheLoad) {
  // A folder where the total file should be: it exists but cannot be read as a file.
  ASSERT_TRUE(QDir().mkpath(m_total));
  const QByteArray localText =
      Document("    <entry id=\"3\" exId=\"1\" section=\"0\" correct=\"1\" wrong=\"0\"/>\n");
  WriteAll(m_local, localText);
  testing::internal::CaptureStderr();
  auto stats = Open();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("stats.xml"), std::string::npos);
  EXPECT_TRUE(QFileInfo(m_total).isDir());
  EXPECT_EQ(ReadAll(m_local), localText);
  EXPECT_THAT(Local(*stats, 1), ElementsAre(ExStat{3, 1, 0, 1, 0}));
  EXPECT_EQ(stats->GetStorageError().GetCode(), Error::XmlLoad);
}

TEST_F(ExerciseStatisticsTest, ReloadingTheLocalFile) {
  auto stats = Open();
  stats->AddEntry({1, 0, 0, 1, 0});
  WriteAll(m_local,
           Document("    <entry id=\"2\" exId=\"0\" section=\"0\" correct=\"0\" wrong=\"2\"/>\n"));
  stats->LoadLocal();
  EXPECT_THAT(Local(*stats, 0), ElementsAre(ExStat{2, 0, 0, 0, 2}));

  QFile::remove(m_local);
  stats->LoadLocal();  // nothing to read: the set stays
  EXPECT_THAT(Local(*stats, 0), ElementsAre(ExStat{2, 0, 0, 0, 2}));

  // A broken local file is rewritten from what was read; the total file is not touched.
  const QByteArray totalBefore = ReadAll(m_total);
  WriteAll(m_local, "<ex_stat version=\"1.0\"><entry id=\"6\" exId=\"0\"/><entr");
  stats->LoadLocal();
  EXPECT_THAT(Local(*stats, 0), ElementsAre(ExStat{6, 0, 0, 0, 0}));
  EXPECT_EQ(ReadAll(m_local),
            Document("    <entry id=\"6\" exId=\"0\" section=\"0\" correct=\"0\" wrong=\"0\"/>\n"));
  EXPECT_EQ(ReadAll(m_total), totalBefore);
}

TEST_F(ExerciseStatisticsTest, FailedSaveOnAFullDiskLeavesThePreviousFiles) {
  auto stats = Open();
  stats->AddEntry({1, 0, 0, 1, 0});
  stats->Save();
  const QByteArray before = ReadAll(m_total);
  for (int id = 2; id < 200; ++id) stats->AddEntry({id, 0, 0, 1, 0});

  // A file size limit stands in for a full device: every write beyond 200 bytes fails.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 200;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  Error failure;
  try {
    stats->Save();
  } catch (const Error& error) {
    failure = error;
  }
  setrlimit(RLIMIT_FSIZE, &old);

  EXPECT_EQ(failure.GetCode(), Error::XmlSave);
  EXPECT_STREQ(failure.GetFunction(), "Save");
  EXPECT_FALSE(failure.GetMessage().isEmpty());
  EXPECT_EQ(ReadAll(m_total), before);
  stats->Save();  // with room again, everything is there
  EXPECT_TRUE(ReadAll(m_total).contains("id=\"199\""));
}

// A real device with no room: a small memory file system, where this machine lets the test mount
// one (as root); elsewhere the test is skipped.
TEST_F(ExerciseStatisticsTest, ASaveOnANearlyFullDiskSaysTheDiskIsFull) {
  const QString disk = m_env.Root() + "/small-disk";
  ASSERT_TRUE(QDir().mkpath(disk));
  if (::mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "no file system can be mounted here: " << std::strerror(errno);
  struct Unmount {
    QByteArray path;
    ~Unmount() { ::umount2(path.constData(), MNT_DETACH); }
  } unmount{QFile::encodeName(disk)};

  Core::ExerciseStatistics stats(disk + "/stats.xml", disk + "/statsLocal.xml");
  // Filled up, then a page freed: the save's first bytes fit, the rest do not.
  QFile filler(disk + "/filler");
  ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
  while (filler.write(QByteArray(4096, 'x')) == 4096) {
  }
  ASSERT_TRUE(filler.resize(filler.size() / 4096 * 4096 - 4096));
  for (int id = 1; id < 200; ++id) stats.AddEntry({id, 0, 0, 1, 0});
  EXPECT_THROW(stats.Save(), Error);
  ASSERT_EQ(stats.GetLastSaveProblems().size(), 2u);
  for (const StorageProblem& problem : stats.GetLastSaveProblems())
    EXPECT_EQ(problem.reason.toStdString(), "the disk is full") << problem.path.toStdString();
  EXPECT_EQ(ReadAll(disk + "/stats.xml"), EmptyDocument);
}

// A statistics file kept elsewhere behind a link stays there; the link is not replaced.
TEST_F(ExerciseStatisticsTest, ALinkedFileIsWrittenWhereTheLinkPoints) {
  const QString elsewhere = m_env.Root() + "/elsewhere.xml";
  WriteAll(elsewhere, EmptyDocument);
  ASSERT_TRUE(QFile::link(elsewhere, m_total));
  auto stats = Open();
  stats->AddEntry({1, 0, 0, 1, 0});
  stats->Save();
  EXPECT_TRUE(QFileInfo(m_total).isSymLink());
  EXPECT_TRUE(ReadAll(elsewhere).contains("id=\"1\""));
}

TEST_F(ExerciseStatisticsTest, UnwritableDataFolderIsReportedAndTheStatisticsLiveInMemory) {
  WriteAll(m_folder + "/blocked", "a file where the data folder should be");
  testing::internal::CaptureStderr();
  Core::ExerciseStatistics stats(m_folder + "/blocked/stats.xml",
                                 m_folder + "/blocked/statsLocal.xml");
  const std::string complaint = testing::internal::GetCapturedStderr();
  EXPECT_NE(complaint.find("Could not write the statistics file"), std::string::npos);
  EXPECT_EQ(stats.GetStorageError().GetCode(), Error::XmlSave);

  stats.AddEntry({1, 0, 0, 1, 0});
  EXPECT_THAT(Local(stats, 0), ElementsAre(ExStat{1, 0, 0, 1, 0}));
  EXPECT_THROW(stats.Save(), Error);
  EXPECT_THROW(stats.ClearLocal(0), Error);
  EXPECT_TRUE(Local(stats, 0).empty());  // the run's figures are cleared in memory all the same
  stats.AddEntry({1, 0, 0, 1, 0});
  EXPECT_THROW(stats.ClearTotal(0), Error);
  EXPECT_FALSE(Total(stats, 0).empty());  // but the history stays while its file keeps it
}

// Damaged files: the file as found is kept beside it, every record still whole in it is
// recovered, before and after the damage, and only then is the file rewritten.
class StatisticsRecoveryTest : public ExerciseStatisticsTest {
 protected:
  // 300 records, record n with id n on line n + 2.
  static QByteArray History() {
    QByteArray entries;
    for (int n = 1; n <= 300; ++n)
      entries += QStringLiteral(
                     "    <entry id=\"%1\" exId=\"0\" section=\"%2\" correct=\"%1\" "
                     "wrong=\"1\"/>\n")
                     .arg(n)
                     .arg(n % 3)
                     .toUtf8();
    return Document(entries);
  }
  static std::set<int> Ids(const std::vector<ExStat>& records) {
    std::set<int> ids;
    for (const ExStat& record : records) ids.insert(record.Id);
    return ids;
  }
  static QString Copy(const QString& path, const char* kind, int number = 1) {
    return QStringLiteral("%1.%2-%3-%4")
        .arg(path, kind, QDate::currentDate().toString(Qt::ISODate))
        .arg(number);
  }
};

TEST_F(StatisticsRecoveryTest, OneDamagedByteCostsOnlyTheRecordItIsIn) {
  for (const bool local : {false, true}) {
    const QString path = local ? m_local : m_total;
    QByteArray damaged = History();
    damaged[damaged.indexOf("id=\"10\"") + 2] = '\x01';
    WriteAll(path, damaged);
    std::set<int> expected;
    for (int n = 1; n <= 300; ++n)
      if (n != 10) expected.insert(n);
    for (int start = 0; start < 2; ++start) {  // recovered, then read back as written
      auto stats = Open();
      EXPECT_EQ(Ids(local ? Local(*stats, 0) : Total(*stats, 0)), expected);
      EXPECT_EQ(stats->GetStorageProblems().size(), start == 0 ? 1u : 0u);
    }
    EXPECT_EQ(ReadAll(Copy(path, "damaged")), damaged);
  }
  // The next damage keeps a copy of its own.
  WriteAll(m_total, "<ex_stat");
  Open();
  EXPECT_EQ(ReadAll(Copy(m_total, "damaged", 2)), "<ex_stat");
  EXPECT_EQ(ReadAll(Copy(m_total, "damaged")).size(), History().size());
}

TEST_F(StatisticsRecoveryTest, FortyDamagedBytesCostOnlyTheRecordsTheyHit) {
  QByteArray damaged = History();
  std::mt19937 draw(36);
  std::set<int> hit;
  for (int n = 0; n < 40; ++n) {
    const qsizetype at = std::uniform_int_distribution<qsizetype>(damaged.indexOf("<entry"),
                                                                  damaged.lastIndexOf("/>"))(draw);
    hit.insert(int(damaged.left(at).count('\n')) - 1);
    damaged[at] = "\x01<\"&"[n % 4];
  }
  WriteAll(m_total, damaged);
  const std::set<int> recovered = Ids(Total(*Open(), 0));
  for (int n = 1; n <= 300; ++n) EXPECT_TRUE(hit.count(n) || recovered.count(n)) << n;
  EXPECT_LE(recovered.size(), 300u);
  EXPECT_EQ(ReadAll(Copy(m_total, "damaged")), damaged);
}

// A count too large stays at the top rather than wrapping or dropping to 0; a record whose id is
// too large for any question is left out.
TEST_F(StatisticsRecoveryTest, CountsTooLargeStayAtTheTopAndTheFileAsFoundIsKept) {
  const QByteArray found = Document(
      "    <entry id=\"1\" exId=\"0\" section=\"0\" correct=\"99999999999\" wrong=\"3\"/>\n"
      "    <entry id=\"2\" exId=\"0\" section=\"0\" correct=\"4\" wrong=\"4294967295\"/>\n"
      "    <entry id=\"4294967296\" exId=\"0\" section=\"0\" correct=\"1\" wrong=\"0\"/>\n");
  WriteAll(m_total, found);
  EXPECT_THAT(Total(*Open(), 0),
              UnorderedElementsAre(ExStat{1, 0, 0, INT_MAX, 3}, ExStat{2, 0, 0, 4, INT_MAX}));
  EXPECT_EQ(ReadAll(Copy(m_total, "damaged")), found);
  EXPECT_TRUE(ReadAll(m_total).contains("correct=\"2147483647\" wrong=\"3\""));
}

TEST_F(StatisticsRecoveryTest, AFileOfANewerVersionIsUsedFromMemoryAndNeverRewritten) {
  QByteArray newer = History();
  newer.replace("version=\"1.0\">", "version=\"2.0\">");
  WriteAll(m_total, newer);
  auto stats = Open();
  EXPECT_EQ(Total(*stats, 0).size(), 300u);
  EXPECT_EQ(stats->GetStorageProblems().at(0).kind, StorageProblem::NewerVersion);
  stats->AddEntry({301, 0, 0, 1, 0});
  EXPECT_THROW(stats->Save(), Error);
  EXPECT_THROW(stats->ClearTotal(0), Error);
  EXPECT_EQ(ReadAll(m_total), newer);
  EXPECT_TRUE(ReadAll(m_local).contains("id=\"301\"")) << "the lesson's own file is written";
  EXPECT_EQ(ReadAll(Copy(m_total, "newer-version")), newer);
  Open();
  EXPECT_FALSE(QFile::exists(Copy(m_total, "newer-version", 2))) << "one copy of one file";
}

// Without room for the copy the damaged file stays as it is, also through saves, until the copy
// can be made.
TEST_F(StatisticsRecoveryTest, NoCopyNoRewrite) {
  QByteArray damaged = History();
  damaged[damaged.indexOf("id=\"200\"") + 2] = '<';
  WriteAll(m_total, damaged);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 1000;  // below the copy's size
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  testing::internal::CaptureStderr();
  auto stats = Open();
  EXPECT_THROW(stats->Save(), Error);
  setrlimit(RLIMIT_FSIZE, &old);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(ReadAll(m_total), damaged);
  EXPECT_TRUE(stats->GetStorageProblems().at(0).keptCopy.isEmpty());

  stats->Save();
  EXPECT_EQ(ReadAll(Copy(m_total, "damaged")), damaged);
  EXPECT_EQ(Ids(Total(*Open(), 0)).size(), 299u);
}

// Files that are not files: a named pipe would hold the reading (and the program's start) until
// another program wrote to it. It is told as unreadable and stays what it is.
TEST_F(StatisticsRecoveryTest, ANamedPipeIsNeitherWaitedForNorReplaced) {
  for (const bool local : {false, true}) {
    SCOPED_TRACE(local ? "statsLocal.xml" : "stats.xml");
    QFile::remove(m_total);
    QFile::remove(m_local);
    const QString pipe = local ? m_local : m_total;
    Testing::NamedPipes pipes;
    ASSERT_TRUE(pipes.Make(pipe));
    WriteAll(local ? m_total : m_local, History());
    testing::internal::CaptureStderr();
    auto stats = Open();
    stats->LoadLocal();
    stats->AddEntry({301, 0, 0, 1, 0});
    EXPECT_THROW(stats->Save(), Error);
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(pipes.Release()) << "the reading waited for a writer";
    EXPECT_TRUE(Testing::NamedPipes::IsPipe(pipe));
    ASSERT_EQ(stats->GetStorageProblems().size(), 1u);
    EXPECT_EQ(stats->GetStorageProblems()[0].kind, StorageProblem::Unreadable);
    EXPECT_EQ(stats->GetStorageProblems()[0].reason, "a named pipe is in its place");
    // The other file is read and saved as ever.
    EXPECT_EQ(Ids(local ? Total(*stats, 0) : Local(*stats, 0)).size(), 301u);
    EXPECT_TRUE(ReadAll(local ? m_total : m_local).contains("id=\"301\""));
  }
}

// A file far beyond any learner's history is not read: it is renamed as a damaged file would be
// copied, untouched, and a new file is started.
TEST_F(StatisticsRecoveryTest, AFileFarBeyondAnyHistoryIsPutAsideUnread) {
  for (const bool local : {false, true}) {
    SCOPED_TRACE(local ? "statsLocal.xml" : "stats.xml");
    const QString path = local ? m_local : m_total;
    const QString other = local ? m_total : m_local;
    WriteAll(other, History());
    {
      QFile huge(path);
      ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
      huge.write(History());
      ASSERT_TRUE(huge.resize(Core::ExerciseStatistics::MaxFileBytes + 1));  // holes, no disk
    }
    testing::internal::CaptureStderr();
    auto stats = Open();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("far more than any statistics"),
              std::string::npos);
    ASSERT_EQ(stats->GetStorageProblems().size(), 1u);
    const StorageProblem problem = stats->GetStorageProblems()[0];
    EXPECT_EQ(problem.kind, StorageProblem::TooLarge);
    EXPECT_EQ(problem.keptCopy, Copy(path, "damaged"));
    EXPECT_EQ(QFileInfo(problem.keptCopy).size(), Core::ExerciseStatistics::MaxFileBytes + 1);
    EXPECT_EQ(ReadAll(path), EmptyDocument);
    EXPECT_TRUE((local ? Local(*stats, 0) : Total(*stats, 0)).empty());
    EXPECT_EQ(Ids(local ? Total(*stats, 0) : Local(*stats, 0)).size(), 300u);
    QFile::remove(problem.keptCopy);
  }

  // Also when the lesson's file is read again to resume it.
  auto stats = Open();
  stats->AddEntry({1, 0, 0, 1, 0});
  {
    QFile huge(m_local);
    ASSERT_TRUE(huge.open(QIODevice::ReadWrite));
    ASSERT_TRUE(huge.resize(Core::ExerciseStatistics::MaxFileBytes + 1));
  }
  testing::internal::CaptureStderr();
  stats->LoadLocal();
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(Local(*stats, 0).empty());
  EXPECT_EQ(ReadAll(m_local), EmptyDocument);
  EXPECT_EQ(QFileInfo(Copy(m_local, "damaged")).size(), Core::ExerciseStatistics::MaxFileBytes + 1);
}

// A file of an older version holds the same records: they are all read, nothing is told or kept
// aside, and the next save writes the current version.
TEST_F(StatisticsRecoveryTest, AFileOfAnOlderVersionIsReadQuietly) {
  QByteArray older = History();
  older.replace("version=\"1.0\">", "version=\"0.9\">");
  WriteAll(m_total, older);
  auto stats = Open();
  EXPECT_EQ(Ids(Total(*stats, 0)).size(), 300u);
  EXPECT_TRUE(stats->GetStorageProblems().empty());
  EXPECT_FALSE(QFile::exists(Copy(m_total, "damaged")));
  stats->Save();
  EXPECT_EQ(ReadAll(m_total), History());

  // An older file that is damaged as well is damaged.
  older[older.indexOf("id=\"10\"") + 2] = '\x01';
  WriteAll(m_total, older);
  stats = Open();
  EXPECT_EQ(Ids(Total(*stats, 0)).size(), 299u);
  ASSERT_EQ(stats->GetStorageProblems().size(), 1u);
  EXPECT_EQ(stats->GetStorageProblems()[0].kind, StorageProblem::Damaged);
}

TEST_F(StatisticsRecoveryTest, AFolderInPlaceOfTheTotalFileStillLetsTheLessonBeSaved) {
  ASSERT_TRUE(QDir().mkpath(m_total));
  testing::internal::CaptureStderr();
  auto stats = Open();
  testing::internal::GetCapturedStderr();
  stats->AddEntry({5, 1, 0, 1, 0});
  EXPECT_THROW(stats->Save(), Error);
  EXPECT_TRUE(ReadAll(m_local).contains("id=\"5\""));
  ASSERT_EQ(stats->GetLastSaveProblems().size(), 1u);
  EXPECT_EQ(stats->GetLastSaveProblems()[0].path, m_total);
}

// What a save writes and what a start reads agree: a history that nears the bound is told once, a
// save never writes beyond what the next start reads, and the history stays readable.
class StatisticsBoundTest : public ExerciseStatisticsTest {
 protected:
  // A history as a save writes it, just under the largest file that is read: distinct questions,
  // or three questions repeated over and over (as a file may hold them).
  static QByteArray HistoryUnderTheBound(bool repeated, int* records) {
    QByteArray entries;
    const qint64 room = Core::ExerciseStatistics::MaxFileBytes - Document({}).size() - 100;
    for (*records = 0;; ++*records) {
      const QByteArray entry =
          QStringLiteral(
              "    <entry id=\"%1\" exId=\"0\" section=\"0\" correct=\"1\" wrong=\"2\"/>\n")
              .arg(repeated ? *records % 3 : *records)
              .toUtf8();
      if (entries.size() + entry.size() > room) return Document(entries);
      entries += entry;
    }
  }
  static int NearlyFullProblems(const Core::ExerciseStatistics& stats) {
    int count = 0;
    for (const StorageProblem& problem : stats.GetStorageProblems())
      count += problem.kind == StorageProblem::NearlyFull;
    return count;
  }
};

TEST_F(StatisticsBoundTest, AHistoryThatWouldOutgrowTheBoundKeepsItsFileReadable) {
  int records = 0;
  const QByteArray history = HistoryUnderTheBound(false, &records);
  WriteAll(m_total, history);
  testing::internal::CaptureStderr();
  auto stats = Open();
  EXPECT_EQ(Total(*stats, 0).size(), size_t(records));
  ASSERT_EQ(NearlyFullProblems(*stats), 1);
  EXPECT_EQ(stats->GetStorageProblems()[0].path, m_total);
  EXPECT_EQ(stats->GetStorageProblems()[0].reason, "16.0 MB of at most 16 MB");

  // One quiz more does not fit: the file keeps what it held, the lesson's file takes the answer.
  stats->AddEntry({records, 0, 0, 1, 0});
  EXPECT_THROW(stats->Save(), Error);
  ASSERT_EQ(stats->GetLastSaveProblems().size(), 1u);
  EXPECT_EQ(stats->GetLastSaveProblems()[0].kind, StorageProblem::Unwritable);
  EXPECT_EQ(stats->GetLastSaveProblems()[0].path, m_total);
  EXPECT_EQ(ReadAll(m_total), history);
  EXPECT_TRUE(ReadAll(m_local).contains(QStringLiteral("id=\"%1\"").arg(records).toUtf8()));
  EXPECT_EQ(Total(*stats, 0).size(), size_t(records) + 1) << "the answer lives on in memory";
  EXPECT_EQ(NearlyFullProblems(*stats), 1) << "told once";

  // The next start reads the whole history.
  stats = Open();
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Total(*stats, 0).size(), size_t(records));
  for (const StorageProblem& problem : stats->GetStorageProblems())
    EXPECT_NE(problem.kind, StorageProblem::TooLarge);
}

TEST_F(StatisticsBoundTest, RepeatedRecordsAreMergedWhenTheHistoryWouldOutgrowTheBound) {
  int records = 0;
  WriteAll(m_total, HistoryUnderTheBound(true, &records));
  testing::internal::CaptureStderr();
  auto stats = Open();
  testing::internal::GetCapturedStderr();
  stats->AddEntry({7, 0, 0, 1, 0});
  stats->Save();
  EXPECT_LT(QFileInfo(m_total).size(), 1024);

  stats = Open();
  EXPECT_TRUE(stats->GetStorageProblems().empty());
  const int each = records / 3;  // records is a multiple of three or one or two more
  std::vector<ExStat> expected;
  for (int id = 0; id < 3; ++id) {
    const int times = each + (id < records % 3 ? 1 : 0);
    expected.push_back({id, 0, 0, times, 2 * times});
  }
  expected.push_back({7, 0, 0, 1, 0});
  EXPECT_THAT(Total(*stats, 0),
              UnorderedElementsAre(expected[0], expected[1], expected[2], expected[3]));
}

}  // namespace
