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

#include <cmath>
#include <utility>
#include <vector>

#include "music_symbol_table.h"

namespace {

// Every symbol code the graphical elements draw: heads, stems, flags, dot, ledger line,
// accidentals, rests, clefs, meters, bar lines and repeats, articulations, trill, jump marks and
// dynamics.
constexpr unsigned int kDrawnCodes[] = {
    88,  69,  119, 87,  81,  79,  191, 150, 218, 151, 219, 74,  75,  222, 83,  106, 107, 221, 115,
    46,  95,  110, 134, 98,  35,  180, 165, 97,  64,  174, 108, 47,  38,  63,  66,  99,  67,  48,
    49,  50,  51,  52,  53,  54,  55,  56,  57,  139, 92,  125, 93,  62,  94,  118, 45,  85,  44,
    164, 109, 230, 37,  112, 132, 80,  70,  102, 131, 39,  245, 246, 247, 248, 249};

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

  // The outline's bounds (the metrics' tight rectangle always takes in the baseline).
  QRectF Ink(unsigned int code) const {
    const QRawFont raw = QRawFont::fromFont(font);
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString(Character(code)));
    return glyphs.size() == 1 ? raw.pathForGlyph(glyphs[0]).boundingRect() : QRectF();
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
  EXPECT_EQ(std::size(kDrawnCodes), 73u);
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

// Stems run one line space (50 px) from the head's left or right edge; flags hang from the
// stem's tip (the baseline) on the stem's x. Positions at 200 px, y downwards.
TEST_F(MusicFont, StemsAndFlagsMeetAtTheHeadsEdgesAndTheStemsTip) {
  const auto left = &QRectF::left, right = &QRectF::right, top = &QRectF::top,
             bottom = &QRectF::bottom;
  for (unsigned int code : {150u, 218u}) {
    for (auto [edge, px] : {std::pair{left, 0.0}, {right, 5.0}, {top, 0.0}, {bottom, 50.0}})
      EXPECT_NEAR((Ink(code).*edge)(), px, 0.5) << "down stem " << code;
  }
  for (unsigned int code : {151u, 219u}) {
    for (auto [edge, px] : {std::pair{left, 55.0}, {right, 60.0}, {top, -50.0}, {bottom, 0.0}})
      EXPECT_NEAR((Ink(code).*edge)(), px, 0.5) << "up stem " << code;
  }
  for (unsigned int code : {106u, 107u, 221u, 115u, 246u, 248u}) {
    EXPECT_NEAR(Ink(code).left(), 55.0, 0.5) << "up flag " << code;
    EXPECT_NEAR(Ink(code).top(), 0.0, 0.5) << "up flag " << code;
  }
  for (unsigned int code : {74u, 75u, 222u, 83u, 245u, 247u}) {
    EXPECT_NEAR(Ink(code).left(), 0.0, 0.5) << "down flag " << code;
    EXPECT_NEAR(Ink(code).bottom(), 0.0, 0.5) << "down flag " << code;
  }
}

// One to six flags, 1/8 to 1/256: each shorter value's flags reach further along the stem, so
// that no two of them look alike.
TEST_F(MusicFont, EachShorterValueHasLongerFlagsOfItsOwn) {
  for (auto const& flags : {std::vector<unsigned int>{106, 107, 221, 115, 246, 248},
                            std::vector<unsigned int>{74, 75, 222, 83, 245, 247}}) {
    for (std::size_t i = 1; i < flags.size(); ++i) {
      EXPECT_NE(Character(flags[i]), Character(flags[i - 1])) << "flag " << flags[i];
      EXPECT_GT(Ink(flags[i]).height(), Ink(flags[i - 1]).height() + 5) << "flag " << flags[i];
    }
  }
}

// Symbols are spaced by their advances in whole pixels at 200 px; clefs stand on the bottom line
// with their reference line 1, 2 or 3 line spaces up, meter digits are centred on their line.
TEST_F(MusicFont, AdvancesAreWholePixelsAndClefsAndDigitsSitOnTheirLines) {
  const QFontMetricsF metrics(font);
  for (unsigned int code : kDrawnCodes) {
    const qreal advance = metrics.horizontalAdvance(Character(code));
    EXPECT_DOUBLE_EQ(advance, std::round(advance)) << "code " << code;
  }
  // The C clef spans the staff around its middle line; the G clef reaches below and above the
  // staff; the F clef stays in its upper part.
  EXPECT_NEAR(Ink(66).top(), -200.0, 0.5);
  EXPECT_NEAR(Ink(66).bottom(), 0.0, 0.5);
  EXPECT_GT(Ink(38).bottom(), 50.0);
  EXPECT_LT(Ink(38).top(), -250.0);
  EXPECT_GT(Ink(63).bottom(), -75.0);
  EXPECT_LT(Ink(63).bottom(), -25.0);
  for (unsigned int digit = 48; digit <= 57; ++digit)
    EXPECT_NEAR(Ink(digit).center().y(), 0.0, 1.0) << "digit " << digit - 48;
}

// The dynamics that no single letter pair covers have glyphs of their own, made of the letters
// of the others: as high and deep as their letters, and wider than their softer neighbours.
TEST_F(MusicFont, DynamicsOfThreeOrFourLettersHaveGlyphsOfTheirOwn) {
  constexpr unsigned int p = 112, pp = 132, ppp = 240, pppp = 241, f = 102, ff = 131, ffff = 242,
                         sf = 243, sfz = 244;
  const QFontMetricsF metrics(font);
  auto width = [&](unsigned int code) { return metrics.horizontalAdvance(Character(code)); };
  for (unsigned int code : {ppp, pppp, ffff, sf, sfz}) {
    EXPECT_FALSE(Ink(code).isEmpty()) << "code " << code;
    EXPECT_DOUBLE_EQ(width(code), std::round(width(code))) << "code " << code;
  }
  EXPECT_NEAR(Ink(ppp).top(), Ink(p).top(), 0.5);
  EXPECT_NEAR(Ink(ppp).bottom(), Ink(p).bottom(), 0.5);
  EXPECT_NEAR(Ink(ffff).bottom(), Ink(f).bottom(), 0.5);
  EXPECT_NEAR(Ink(sfz).top(), Ink(f).top(), 0.5);
  EXPECT_GT(width(ppp), width(pp) + 0.5 * width(p));
  EXPECT_GT(width(pppp), width(ppp) + 0.5 * width(p));
  EXPECT_GT(width(ffff), width(ff) + width(f));
  EXPECT_GT(width(sfz), width(sf));
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
