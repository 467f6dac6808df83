// The statistics file format and the record container behind it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "src/core/exercise/ex_store/ex_stat_xml.h"
#include "src/core/midi/error.h"

#include <QBuffer>

namespace {

using Core::ExStat;
using Core::ExStatSet;
using Core::ExDbDetail::XMLSerializer;
using ::testing::ElementsAre;

ExStatSet SetOf(std::initializer_list<ExStat> records) {
  ExStatSet set;
  for (const ExStat& record : records) set.Append(record);
  return set;
}

// Reads `text` into `set`; returns the error raised, empty when there was none.
Error Read(const QByteArray& text, ExStatSet& set) {
  QBuffer buffer;
  buffer.setData(text);
  buffer.open(QIODevice::ReadOnly);
  try {
    XMLSerializer::ReadXML(buffer, set);
  } catch (const Error& error) {
    return error;
  }
  return Error();
}

TEST(ExStatXmlTest, EntriesAreWrittenInInsertionOrderAndReadBack) {
  const ExStatSet set = SetOf({{9, 2, 1, 3, 0}, {4, 0, 0, 0, 12}, {-5, 1, 2, -1, 7}});
  EXPECT_EQ(XMLSerializer::WriteXML(set),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<ex_stat version=\"1.0\">\n"
            "    <entry id=\"9\" exId=\"2\" section=\"1\" correct=\"3\" wrong=\"0\"/>\n"
            "    <entry id=\"4\" exId=\"0\" section=\"0\" correct=\"0\" wrong=\"12\"/>\n"
            "    <entry id=\"-5\" exId=\"1\" section=\"2\" correct=\"-1\" wrong=\"7\"/>\n"
            "</ex_stat>\n");
  ExStatSet back;
  ASSERT_TRUE(Read(XMLSerializer::WriteXML(set), back).IsEmpty());
  // Fields are stored unsigned: negative values come back as 0.
  EXPECT_THAT(back.Records(),
              ElementsAre(ExStat{9, 2, 1, 3, 0}, ExStat{4, 0, 0, 0, 12}, ExStat{0, 1, 2, 0, 7}));
}

TEST(ExStatXmlTest, LenientAboutMissingFieldsOtherRootsAndDuplicates) {
  ExStatSet set;
  ASSERT_TRUE(Read(R"(<stats><entry id="3" exId="1" correct="2" wrong="x"/>)"
                   R"(<group><entry id="3" exId="1" correct="1"/></group></stats>)",
                   set)
                  .IsEmpty());
  EXPECT_THAT(set.Records(), ElementsAre(ExStat{3, 1, 0, 2, 0}, ExStat{3, 1, 0, 1, 0}));
}

TEST(ExStatXmlTest, ForeignVersionFailsAtTheRoot) {
  for (const char* root : {R"(<ex_stat version="2.0"><entry id="1"/></ex_stat>)",
                           R"(<ex_stat><entry id="1"/></ex_stat>)"}) {
    SCOPED_TRACE(root);
    ExStatSet set;
    const Error error = Read(root, set);
    EXPECT_EQ(error.GetCode(), Error::XmlParse);
    EXPECT_EQ(error.GetMessage(), QString(root).contains("2.0") ? "2.0" : "");
    EXPECT_STREQ(error.GetFunction(), "startElement");
    EXPECT_THAT(error.GetFile(),
                ::testing::StartsWith(MELVARIN_SOURCE_PREFIX "src/core/exercise/ex_store/"));
    EXPECT_TRUE(set.Records().empty());
  }
}

TEST(ExStatXmlTest, FileCutInTheMiddleKeepsTheEntriesBeforeTheCut) {
  const QByteArray whole = XMLSerializer::WriteXML(SetOf({{1, 0, 0, 1, 0}, {2, 0, 0, 0, 1}, {3}}));
  const QByteArray cut = whole.left(whole.indexOf("<entry id=\"3\"") + 20);
  ExStatSet set;
  const Error error = Read(cut, set);
  EXPECT_EQ(error.GetCode(), Error::XmlParse);
  EXPECT_EQ(error.GetMessage(), "ExerciseDb XML error 5:24 : Premature end of document.");
  EXPECT_STREQ(error.GetFunction(), "fatalError");
  EXPECT_THAT(set.Records(), ElementsAre(ExStat{1, 0, 0, 1, 0}, ExStat{2, 0, 0, 0, 1}));
}

TEST(ExStatXmlTest, OnlyAPlainLaterVersionNumberIsANewerVersion) {
  const auto root = [](const char* version) {
    return QByteArray("<?xml version=\"1.0\"?>\n<ex_stat version=\"") + version +
           "\">\n    <entry id=\"1\"/>\n</ex_stat>\n";
  };
  for (const char* newer : {"1.1", "2.0", "10"})
    EXPECT_TRUE(XMLSerializer::IsNewerVersion(root(newer))) << newer;
  for (const char* other : {"1.0", "0.9", "1.0x", "", "2.0 beta"})
    EXPECT_FALSE(XMLSerializer::IsNewerVersion(root(other))) << other;
  EXPECT_TRUE(XMLSerializer::IsNewerVersion(root("2.0") + "<entry id=\"")) << "damage elsewhere";
}

}  // namespace
