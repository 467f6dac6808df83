// "tstats.xml": its exact form, reading damaged or foreign files, and safe replacement.

#include <gtest/gtest.h>

#include "src/core/midi/error.h"
#include "src/core/telemetry/platform_info.h"
#include "src/core/telemetry/telemetry.h"
#include "src/core/telemetry/telemetry_xml.h"
#include "support/temp_environment.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <climits>

#include <ctime>

namespace {

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

Core::TelemetryData Read(const QByteArray& text, Core::TelemetryData data = {}) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  Core::TelemetryXMLSerializer::ReadXML(buffer, data);
  return data;
}

TEST(TelemetryXmlTest, DocumentHasTheAttributeOrderAndNumberForms) {
  Core::TelemetryData data;
  data.appLaunchCount = 2;
  data.appTimeAverage = 5;
  data.uid = QUuid::fromString(QStringLiteral("{12345678-9abc-def0-1234-56789abcdef0}"));
  data.installDate = 1733500000123;
  data.os = "Linux";
  data.locale = "de_DE";
  data.tz = -18000;
  data.exLaunchCount[1] = 3;
  data.exScoreAverage[1] = 1.0 / 3.0;
  data.quizScore[2][9] = 0.75;

  const QList<QByteArray> lines = Core::TelemetryXMLSerializer::WriteXML(data).split('\n');
  ASSERT_EQ(lines.size(), 1 + 1 + 3 * 22 + 1 + 1);  // last element is the final newline
  EXPECT_EQ(lines[0], R"(<?xml version="1.0" encoding="UTF-8"?>)");
  EXPECT_EQ(lines[1], R"(<telemetry version="1.0" appLaunchCount="2" appTimeAverage="5" )"
                      R"(uid="{12345678-9abc-def0-1234-56789abcdef0}" installDate="1733500000123" )"
                      R"(os="Linux" locale="de_DE" tz="-18000">)");
  EXPECT_EQ(lines[2],
            R"(    <exercise id="0" exLaunchCount="0" quizLaunchCount="0" refLaunchCount="0" )"
            R"(settingsLaunchCount="0" exTimeAverage="0" quizTimeAverage="0" refTimeAverage="0" )"
            R"(settingsTimeAverage="0" exScoreAverage="0" quizScoreAverage="0">)");
  EXPECT_EQ(lines[3], R"(        <exScore index="0" value="0"/>)");
  EXPECT_EQ(lines[13], R"(        <quizScore index="0" value="0"/>)");
  EXPECT_EQ(lines[23], "    </exercise>");
  EXPECT_TRUE(lines[24].contains(R"(exLaunchCount="3")"));
  EXPECT_TRUE(lines[24].contains(R"(exScoreAverage="0.333333333333333")"));
  EXPECT_EQ(lines[66], R"(        <quizScore index="9" value="0.75"/>)");
  EXPECT_EQ(lines[68], "</telemetry>");

  // And it reads back to the same record.
  Core::TelemetryData back = Read(Core::TelemetryXMLSerializer::WriteXML(data));
  EXPECT_EQ(back.uid, data.uid);
  EXPECT_EQ(back.installDate, data.installDate);
  EXPECT_EQ(back.exLaunchCount[1], 3);
  EXPECT_NEAR(back.exScoreAverage[1], 1.0 / 3.0, 1e-15);
  EXPECT_EQ(back.quizScore[2][9], 0.75);
}

TEST(TelemetryXmlTest, DamagedIdentityKeepsTheFreshValues) {
  Core::TelemetryData fresh;
  fresh.uid = QUuid::createUuid();
  fresh.installDate = 1733500000000;
  for (const char* root : {R"(<telemetry version="1.0" appLaunchCount="4"/>)",
                           R"(<telemetry version="1.0" uid="not-a-uuid" installDate="soon"/>)",
                           R"(<telemetry version="1.0" uid="" installDate=""/>)"}) {
    SCOPED_TRACE(root);
    const Core::TelemetryData data = Read(root, fresh);
    EXPECT_EQ(data.uid, fresh.uid);
    EXPECT_EQ(data.installDate, fresh.installDate);
  }
}

TEST(TelemetryXmlTest, OutOfRangeBlocksAreSkipped) {
  const Core::TelemetryData data =
      Read(R"(<telemetry version="1.0"><exercise id="3" exLaunchCount="9">)"
           R"(<exScore index="0" value="0.5"/></exercise>)"
           R"(<exercise id="1" exLaunchCount="2"><exScore index="10" value="0.5"/>)"
           R"(<exScore index="-1" value="0.5"/><quizScore index="4" value="0.25"/>)"
           R"(</exercise></telemetry>)");
  EXPECT_EQ(data.exLaunchCount, (Core::TelemetryData::PerExercise{0, 2, 0}));
  EXPECT_EQ(data.exScore, Core::TelemetryData().exScore);
  EXPECT_EQ(data.quizScore[1][4], 0.25);
}

TEST(TelemetryXmlTest, BrokenDocumentsAreReportedWithWhatWasReadKept) {
  try {
    Read(R"(<telemetry version="2.0" appLaunchCount="4"/>)");
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.GetCode(), Error::XmlParse);
    EXPECT_EQ(error.GetMessage(), "2.0");
  }

  Core::TelemetryData data;
  try {
    QBuffer buffer;
    buffer.setData(
        "<telemetry version=\"1.0\" appLaunchCount=\"4\">\n"
        "    <exercise id=\"1\" exLaunchCount=\"6\"/>\n"
        "    <exercise id=\"2\" exLaun");
    buffer.open(QIODevice::ReadOnly);
    Core::TelemetryXMLSerializer::ReadXML(buffer, data);
    ADD_FAILURE() << "no error";
  } catch (const Error& error) {
    EXPECT_EQ(error.GetCode(), Error::XmlParse);
    EXPECT_TRUE(error.GetMessage().startsWith("TelemetryDb XML error 3:"))
        << error.GetMessage().toStdString();
  }
  EXPECT_EQ(data.appLaunchCount, 4);
  EXPECT_EQ(data.exLaunchCount[1], 6);
}

class TelemetryFileTest : public ::testing::Test {
 protected:
  Testing::TempEnvironment m_env;
  QString m_path = m_env.DataHome() + "/tstats.xml";
};

TEST_F(TelemetryFileTest, IdentitySurvivesARestart) {
  QUuid uid;
  qint64 installDate = 0;
  {
    Core::Telemetry first(m_path);
    uid = first.GetData().uid;
    installDate = first.GetData().installDate;
  }
  Core::Telemetry second(m_path);
  EXPECT_EQ(second.GetData().uid, uid);
  EXPECT_EQ(second.GetData().installDate, installDate);
}

// A damaged record keeps everything still whole in it, before and after the damage, and the file
// as found is kept beside it before the shutdown rewrites it.
TEST_F(TelemetryFileTest, DamagedFileIsKeptAndEverythingWholeInItRecovered) {
  Core::TelemetryData data;
  data.appLaunchCount = 7;
  data.exLaunchCount = {1, 2, 3};
  data.quizScore[2][9] = 0.75;
  QByteArray damaged = Core::TelemetryXMLSerializer::WriteXML(data);
  damaged[damaged.indexOf("<exercise id=\"1\"") + 5] = '\x01';  // the trainer 1 block's head
  damaged.replace("appLaunchCount=\"7\"", "appLaunchCount=\"99999999999\"");
  WriteAll(m_path, damaged);
  const QString copy = m_path + ".damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-1";
  {
    Core::Telemetry telemetry(m_path);
    EXPECT_EQ(telemetry.GetData().appLaunchCount, INT_MAX);
    EXPECT_EQ(telemetry.GetData().exLaunchCount, (Core::TelemetryData::PerExercise{1, 0, 3}));
    EXPECT_EQ(telemetry.GetData().quizScore[2][9], 0.75);
    EXPECT_EQ(
        telemetry.GetStorageProblems(),
        (std::vector<Core::StorageProblem>{
            {Core::StorageProblem::Damaged, Core::StorageProblem::UsageRecord, m_path, "", copy}}));
  }
  EXPECT_EQ(ReadAll(copy), damaged);
  EXPECT_TRUE(ReadAll(m_path).contains(R"(exLaunchCount="3")"));
}

// A newer version's record is used and left alone; an older one is read quietly, as a record of
// this version, and written in this version at shutdown.
TEST_F(TelemetryFileTest, OnlyANewerVersionIsNeverWritten) {
  for (const char* version : {"2.0", "0.9"}) {
    const bool newer = version[0] == '2';
    const QByteArray found = QByteArray(R"(<telemetry version=")") + version +
                             R"(" appLaunchCount="40" installDate="5"/>)";
    WriteAll(m_path, found);
    testing::internal::CaptureStderr();
    {
      Core::Telemetry telemetry(m_path);
      EXPECT_EQ(telemetry.GetData().appLaunchCount, 40);
      EXPECT_EQ(telemetry.GetData().installDate, 5);
      EXPECT_EQ(telemetry.GetStorageProblems().size(), newer ? 1u : 0u) << version;
    }
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(ReadAll(m_path) == found, newer) << version;
    EXPECT_EQ(QDir(m_env.DataHome()).entryList({"tstats.xml.*"}, QDir::Files).size(), newer ? 1 : 0)
        << version;
    QFile::remove(m_path);
    for (const QString& kept : QDir(m_env.DataHome()).entryList({"tstats.xml.*"}, QDir::Files))
      QFile::remove(m_env.DataHome() + "/" + kept);
  }
}

// A file far too large to be a usage record is not read but put aside, and a new record is
// written. (A named pipe in its place is told and left as it is: see the storage notice's test.)
TEST_F(TelemetryFileTest, AHugeFileIsPutAside) {
  {
    QFile huge(m_path);
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(Core::Telemetry::MaxFileBytes + 1));
  }
  const QString aside = m_path + ".damaged-" + QDate::currentDate().toString(Qt::ISODate) + "-1";
  {
    Core::Telemetry telemetry(m_path);
    EXPECT_EQ(telemetry.GetStorageProblems(),
              (std::vector<Core::StorageProblem>{{Core::StorageProblem::TooLarge,
                                                  Core::StorageProblem::UsageRecord, m_path, "",
                                                  aside}}));
    EXPECT_EQ(telemetry.GetData().appLaunchCount, 0);
  }
  EXPECT_EQ(QFileInfo(aside).size(), Core::Telemetry::MaxFileBytes + 1);
  EXPECT_TRUE(ReadAll(m_path).startsWith("<?xml"));
}

TEST_F(TelemetryFileTest, UnwritableFolderIsReportedWithoutEndingTheProgram) {
  WriteAll(m_env.DataHome() + "/blocked", "a file where a folder should be");
  testing::internal::CaptureStderr();
  {
    Core::Telemetry telemetry(m_env.DataHome() + "/blocked/tstats.xml");
    try {
      telemetry.Save();
      ADD_FAILURE() << "no error";
    } catch (const Error& error) {
      EXPECT_EQ(error.GetCode(), Error::XmlSave);
      EXPECT_STREQ(error.GetFunction(), "Save");
      EXPECT_FALSE(error.GetMessage().isEmpty());
    }
  }  // the destructor's own save fails the same way and only says so
  EXPECT_NE(testing::internal::GetCapturedStderr().find("Could not save the usage record"),
            std::string::npos);
}

TEST(TimeZoneTest, OffsetIsPositiveEastOfGreenwich) {
  const QByteArray old = qgetenv("TZ");
  qputenv("TZ", "UTC-2");  // POSIX writes zones east of Greenwich with a minus sign
  tzset();
  EXPECT_EQ(Core::getTimeZoneDiff(), 7200);
  qputenv("TZ", "EST5");
  tzset();
  EXPECT_EQ(Core::getTimeZoneDiff(), -18000);
  if (old.isNull())
    qunsetenv("TZ");
  else
    qputenv("TZ", old);
  tzset();
}

}  // namespace
