#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QXmlStreamReader>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

using SvgOutputTest = EngineFixture;

// The texts of the SVG's text elements, read as XML to its end; fails the test when the file is
// not well-formed.
QStringList SvgTexts(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader svg(&file);
  QStringList texts;
  while (!svg.atEnd())
    if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"text")
      texts << svg.readElementText();
  EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString() << " at line "
                               << svg.lineNumber();
  return texts;
}

// A title or lyric may hold any byte, but XML holds no control character but tab and line ends:
// the render tool's SVG leaves them out of the words they stood in, and stays readable.
TEST_F(SvgOutputTest, ControlCharactersInTextsAreLeftOutOfTheSvg) {
  QTemporaryDir dir;
  const QString svg = dir.filePath("score.svg");
  QProcess tool;
  tool.start(RMN_RENDER_PATH,
             {WriteFile(dir, "score.rmn",
                        "[ \\title<\"Ti\x01tle\x1b\"> \\lyrics<\"la\x02\x7f la\x1f\">( c d ) ]"),
              svg});
  ASSERT_TRUE(tool.waitForFinished(60000));
  ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
  const QStringList texts = SvgTexts(svg);
  EXPECT_TRUE(texts.contains("Title")) << texts.join('|').toStdString();
  // Delete is no control character XML forbids.
  EXPECT_TRUE(texts.contains("la\x7f")) << texts.join('|').toStdString();
  for (const QString& text : texts)
    for (const QChar c : text)
      EXPECT_FALSE(c.unicode() < 0x20 && c != '\t' && c != '\n' && c != '\r');
}

}  // namespace
}  // namespace RazidQtTesting
