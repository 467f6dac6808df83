#include "lib-razid-qt/music_font.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>

#include "music_symbol_table.h"

namespace {

// Every symbol code the graphical elements draw: heads, stems, flags, dot, ledger line,
// accidentals, rests, clefs, meters, bar lines and repeats, articulations, trill, jump marks and
// dynamics.
constexpr unsigned int kDrawnCodes[] = {
    88,  69,  119, 87, 81,  79,  191, 150, 218, 151, 219, 74,  75,  222, 83,  106, 107,
    221, 115, 46,  95, 110, 134, 98,  35,  180, 165, 97,  64,  174, 108, 47,  38,  63,
    66,  99,  67,  48, 49,  50,  51,  52,  53,  54,  55,  56,  57,  139, 92,  125, 93,
    62,  94,  118, 45, 85,  44,  164, 109, 230, 37,  112, 132, 80,  70,  102, 131, 39};

// The engine's music font at its start-up size, 200 px for four line spaces of 50.
class MusicFont : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    QString error;
    ASSERT_TRUE(RazidQt::RegisterMusicFont(&error)) << error.toStdString();
  }

  MusicFont() : font(RazidQt::kMusicFontFamily) {
    font.setPixelSize(200);
    font.setStyleStrategy(QFont::NoFontMerging);
  }

  static QChar Character(unsigned int code) { return QChar(char16_t(kMusicSymbolTable[code])); }

  QRectF Ink(unsigned int code) const {
    return QFontMetricsF(font).tightBoundingRect(Character(code));
  }

  QFont font;
};

TEST_F(MusicFont, ResourceLoadsAsFamilyRazid2AndOnlyOnce) {
  EXPECT_EQ(QFontInfo(font).family(), "Razid2");
  const int before = QFontDatabase::families().count();
  EXPECT_TRUE(RazidQt::RegisterMusicFont());
  EXPECT_EQ(QFontDatabase::families().count(), before);
}

TEST_F(MusicFont, UnreadableOrForeignFileIsReported) {
  QTemporaryDir dir;
  QFile notAFont(dir.filePath("razid2.ttf"));
  ASSERT_TRUE(notAFont.open(QIODevice::WriteOnly));
  notAFont.write("not a font");
  notAFont.close();
  QStringList paths = {dir.filePath("missing.ttf"), notAFont.fileName()};
  const QString otherFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  if (QFile::exists(otherFont)) paths << otherFont;
  for (const QString& path : paths) {
    QString error;
    EXPECT_FALSE(RazidQt::RegisterMusicFont(&error, path));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
  }
}

TEST_F(MusicFont, EveryDrawnCodeReachesAGlyphWithInk) {
  EXPECT_EQ(std::size(kDrawnCodes), 68u);
  const QRawFont raw = QRawFont::fromFont(font);
  for (unsigned int code : kDrawnCodes) {
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString(Character(code)));
    ASSERT_EQ(glyphs.size(), 1);
    EXPECT_NE(glyphs[0], 0u) << "code " << code << " has no glyph";
    EXPECT_FALSE(raw.pathForGlyph(glyphs[0]).isEmpty()) << "code " << code << " has no ink";
  }
}

// The spacing constants of notes (half a head is 30, a head 60) and the bar and ledger drawing
// rely on these sizes at 200 px.
TEST_F(MusicFont, PlacesHeadsBarAndLedgerAsTheEngineDrawsThem) {
  const QFontMetricsF metrics(font);
  for (unsigned int head : {88u, 69u, 191u}) {
    EXPECT_DOUBLE_EQ(metrics.horizontalAdvance(Character(head)), 60.0) << "head " << head;
    EXPECT_NEAR(Ink(head).left(), 0.0, 0.5) << "head " << head;
    EXPECT_NEAR(Ink(head).right(), 60.0, 0.5) << "head " << head;
  }
  EXPECT_NEAR(Ink(139).bottom(), 0.0, 0.5);
  EXPECT_NEAR(Ink(139).height(), 200.0, 0.5);
  EXPECT_NEAR(Ink(95).width(), 102.0, 0.5);
  EXPECT_NEAR(Ink(95).center().y(), 0.0, 0.5);
}

TEST(MusicFontGenerator, RegeneratesTheCompiledFontByteForByte) {
  const QStringList sources =
      QDir("/usr/share/lilypond").entryList({"*"}, QDir::Dirs | QDir::NoDotAndDotDot);
  bool haveSource = false;
  for (const QString& version : sources)
    haveSource |= QFile::exists("/usr/share/lilypond/" + version + "/fonts/otf/emmentaler-20.otf");
  if (!haveSource) GTEST_SKIP() << "lilypond-fonts is not installed: the font is not regenerated";

  QTemporaryDir dir;
  const QString output = dir.filePath("razid2.ttf");
  QProcess generator;
  generator.start("/usr/bin/python3",
                  {MELVARIN_SOURCE_DIR "/tools/font/make_razid2.py", "--output", output});
  ASSERT_TRUE(generator.waitForFinished(60000));
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();

  QFile generated(output);
  QFile compiled(RazidQt::kMusicFontResource);
  ASSERT_TRUE(generated.open(QIODevice::ReadOnly));
  ASSERT_TRUE(compiled.open(QIODevice::ReadOnly));
  EXPECT_TRUE(generated.readAll() == compiled.readAll())
      << "resources/fonts/razid2.ttf is not what tools/font/make_razid2.py writes";
}

}  // namespace
