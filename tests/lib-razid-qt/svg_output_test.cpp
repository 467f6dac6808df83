#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>
#include <string>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

using SvgOutputTest = EngineFixture;

// XML 1.0 holds no control character but tab and line ends, nor U+FFFE or U+FFFF: the render
// tool's SVG leaves them out of whichever tag's text held them, and reads as XML to its end. Bytes
// of no character (a lone surrogate's) are read as Latin-1; delete is no character XML forbids.
TEST_F(SvgOutputTest, CharactersXmlForbidsAreLeftOutOfEveryTextTag) {
  std::string forbidden = "\xEF\xBF\xBE\xEF\xBF\xBF";  // U+FFFE, U+FFFF
  for (char c = 1; c < 0x20; ++c)
    if (c != '\t' && c != '\n' && c != '\r') forbidden += c;
  char const unpaired[] = "c\xED\xA0\x80\x7F\x64";  // a lone surrogate and delete, "d" after
  std::pair<std::string, QString> const words[] = {{"a" + forbidden + "b", "ab"},
                                                   {unpaired, QString::fromLatin1(unpaired)}};
  char const* const tags[][2] = {
      {"\\title<\"", "\"> c"},        {"\\composer<\"", "\"> c"}, {"\\text<\"", "\">( c )"},
      {"\\lyrics<\"", "\">( c )"},    {"\\mark<\"", "\"> c"},     {"\\instr<\"", "\"> c"},
      {"\\fingering<\"", "\">( c )"}, {"\\tempo<\"", "\"> c"},    {"\\label<\"", "\">( c )"}};
  for (auto const& [before, after] : tags) {
    for (auto const& [text, left] : words) {
      SCOPED_TRACE(before + left.toStdString());
      QTemporaryDir dir;
      QProcess tool;
      tool.start(RMN_RENDER_PATH,
                 {WriteFile(dir, "score.rmn", std::string("[ ") + before + text + after + " ]"),
                  dir.filePath("score.svg")});
      ASSERT_TRUE(tool.waitForFinished(60000));
      ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
      QFile file(dir.filePath("score.svg"));
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      QXmlStreamReader svg(&file);
      QStringList texts;
      while (!svg.atEnd())
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text")
          texts << svg.readElementText();
      EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
      EXPECT_TRUE(texts.contains(left)) << texts.join('|').toStdString();
    }
  }
}

}  // namespace
}  // namespace RazidQtTesting
