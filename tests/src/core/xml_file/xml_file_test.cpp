// The data files' common ground over real files: replacement without leftovers a clean-up could
// mistake, copies of damaged files that are never overwritten, and reading damaged documents.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/core/xml_file/xml_file.h"
#include "support/temp_environment.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QXmlStreamAttributes>

namespace {

using Core::XmlFile::KeepCopy;

class XmlFileTest : public ::testing::Test {
 protected:
  QByteArray ReadAll(const QString& name) const {
    QFile file(m_folder.filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  void WriteAll(const QString& name, const QByteArray& bytes) const {
    QFile file(m_folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QStringList Names() const {
    return m_folder.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }

  Testing::TempEnvironment m_env;
  QDir m_folder{m_env.DataHome()};
  QString m_path = m_folder.filePath("stats.xml");
};

TEST_F(XmlFileTest, ReplacingLeavesOnlyTheFileAndFailsWithoutTouchingIt) {
  EXPECT_FALSE(Core::XmlFile::ReplaceFile(m_path, "first"));
  EXPECT_FALSE(Core::XmlFile::ReplaceFile(m_path, "second"));
  EXPECT_EQ(ReadAll("stats.xml"), "second");
  EXPECT_EQ(Names(), QStringList{"stats.xml"});

  // A folder in the file's place is reported, and nothing is left beside it.
  const QString blocked = m_folder.filePath("statsLocal.xml");
  ASSERT_TRUE(QDir().mkpath(blocked));
  const std::optional<QString> failure = Core::XmlFile::ReplaceFile(blocked, "x");
  ASSERT_TRUE(failure);
  EXPECT_FALSE(failure->isEmpty());
  EXPECT_EQ(Names(), QStringList{"stats.xml"});
}

// What a kill between writing and renaming leaves is recognised by the program's own mark only.
TEST_F(XmlFileTest, LeftoversOfInterruptedReplacementsAreTheOnlyFilesRemoved) {
  const QStringList leftovers = {".stats.xml.melvarin-save-aB3dE9"};
  const QStringList kept = {"stats.xml",
                            "stats.xml.backup",
                            "stats.xml.AbCdEf",
                            ".stats.xml.melvarin-save-toolong",
                            ".statsLocal.xml.melvarin-save-aB3dE9",
                            "stats.xml.damaged-2025-01-02-1"};
  for (const QString& name : leftovers + kept) WriteAll(name, "x");
  Core::XmlFile::RemoveLeftovers(m_path);
  QStringList expected = kept;
  expected.sort();
  EXPECT_EQ(Names(), expected);
}

TEST_F(XmlFileTest, CopiesAreNumberedPerDayNeverOverwrittenAndNotMadeTwice) {
  const QString today = QDate::currentDate().toString(Qt::ISODate);
  const QString first = m_folder.filePath("stats.xml.damaged-" + today + "-1");
  EXPECT_EQ(KeepCopy(m_path, "one", "damaged").path, first);
  EXPECT_EQ(KeepCopy(m_path, "one", "damaged").path, first) << "the same content is kept once";
  EXPECT_EQ(KeepCopy(m_path, "two", "damaged").path,
            m_folder.filePath("stats.xml.damaged-" + today + "-2"));
  EXPECT_EQ(KeepCopy(m_path, "one", "newer-version").path,
            m_folder.filePath("stats.xml.newer-version-" + today + "-1"));
  EXPECT_EQ(ReadAll("stats.xml.damaged-" + today + "-1"), "one");
  EXPECT_EQ(ReadAll("stats.xml.damaged-" + today + "-2"), "two");

  // A copy that cannot be written says why and names no file.
  const Core::XmlFile::KeptCopy failed =
      KeepCopy(m_folder.filePath("missing/stats.xml"), "three", "damaged");
  EXPECT_TRUE(failed.path.isEmpty());
  EXPECT_FALSE(failed.error.isEmpty());
}

TEST_F(XmlFileTest, SalvageReadsEveryWholeTagAroundTheDamage) {
  QStringList read;
  QStringList lost;
  Core::XmlFile::SalvageStartElements(
      "<?xml version=\"1.0\"?>\n<root v=\"1\">\n  <a n=\"1\"/>\n  <a n=\"2\x01\"/>\n"
      "  <b n=\"3\"/>junk\n  <c n=\"4\n  <a n=\"5\"/>\n</root>\n  <a n=\"6\"",
      [&read](QStringView name, const QXmlStreamAttributes& attributes) {
        read << name.toString() + attributes.value("n").toString() +
                    attributes.value("v").toString();
      },
      [&lost](QStringView name) { lost << name.toString(); });
  EXPECT_EQ(read, (QStringList{"root1", "a1", "b3", "a5"}));
  EXPECT_EQ(lost, (QStringList{"a", "c", "a"}));
}

}  // namespace
