#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

using SvgOutputTest = EngineFixture;

// A title or lyric may hold any byte, but XML holds no control character but tab and line ends:
// the render tool's SVG leaves them out of the words they stood in, and reads as XML to its end.
TEST_F(SvgOutputTest, ControlCharactersInTextsAreLeftOutOfTheSvg) {
  QTemporaryDir dir;
  QProcess tool;
  tool.start(RMN_RENDER_PATH, {WriteFile(dir, "score.rmn",
                                         "[ \\title<\"Ti\x01tle\x1b\"> \\lyrics<\"la\x02\x7f "
                                         "la\x1f\">( c d ) ]"),
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
  // Delete is no control character XML forbids.
  EXPECT_TRUE(texts.contains("Title") && texts.contains("la\x7f")) << texts.join('|').toStdString();
}

}  // namespace
}  // namespace RazidQtTesting
