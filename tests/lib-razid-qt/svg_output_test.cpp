#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>
#include <string>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

class SvgOutputTest : public EngineFixture {
 protected:
  // The texts of the SVG the render tool writes of the score, read as XML, and the error that
  // ended the reading, empty when it read to the end.
  static QStringList SvgTexts(std::string const& score, QString* error) {
    QTemporaryDir dir;
    QProcess tool;
    tool.start(RMN_RENDER_PATH, {WriteFile(dir, "score.rmn", score), dir.filePath("score.svg")});
    EXPECT_TRUE(tool.waitForFinished(60000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    QFile file(dir.filePath("score.svg"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&file);
    QStringList texts;
    while (!svg.atEnd())
      if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text")
        texts << svg.readElementText();
    *error = svg.errorString();
    return texts;
  }
};

// A text may hold any character, but XML 1.0 holds only tab, line ends and the characters from
// U+0020 on but the surrogates, U+FFFE and U+FFFF, not even as references: the render tool's SVG
// leaves the others out of the words they stood in, whichever tag's text they stood in, and reads
// as XML to its end. Bytes of no character (the encoding of a lone surrogate) are read as the
// Latin-1 text of an older file and make SVG that reads as well; delete is no character XML
// forbids.
TEST_F(SvgOutputTest, CharactersXmlForbidsAreLeftOutOfEveryTextTag) {
  std::string forbidden;
  for (char c = 1; c < 0x20; ++c)
    if (c != '\t' && c != '\n' && c != '\r') forbidden += c;
  forbidden += "\xEF\xBF\xBE\xEF\xBF\xBF";  // U+FFFE, U+FFFF
  struct Words {
    std::string text;
    QString left;
  };
  Words const words[] = {{"a" + forbidden + "b", "ab"},
                         {"c\xED\xA0\x80\x7F"
                          "d",
                          QString::fromLatin1("c\xED\xA0\x80\x7F"
                                              "d")}};
  struct Tag {
    char const* name;
    std::string before, after;
  };
  Tag const tags[] = {
      {"title", "\\title<\"", "\"> c"},
      {"composer", "\\composer<\"", "\"> c"},
      {"text", "\\text<\"", "\">( c )"},
      {"lyrics", "\\lyrics<\"", "\">( c )"},
      {"mark", "\\mark<\"", "\"> c"},
      {"instrument", "\\instr<\"", "\"> c"},
      {"fingering", "\\fingering<\"", "\">( c )"},
      {"tempo", "\\tempo<\"", "\"> c"},
      {"label", "\\label<\"", "\">( c )"},
  };
  for (Tag const& tag : tags) {
    for (Words const& each : words) {
      SCOPED_TRACE(std::string(tag.name) + " " + each.left.toStdString());
      QString error;
      QStringList const texts = SvgTexts("[ " + tag.before + each.text + tag.after + " ]", &error);
      EXPECT_EQ(error.toStdString(), "");
      EXPECT_TRUE(texts.contains(each.left)) << texts.join('|').toStdString();
    }
  }
}

}  // namespace
}  // namespace RazidQtTesting
