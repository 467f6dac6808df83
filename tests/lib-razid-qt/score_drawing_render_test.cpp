// Scores drawn through the painter front end into images: a tempo mark's small note, the G
// clef's box, and the examples of drawing faults mended, put on a contact sheet for looking at.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "engine_fixture.h"
#include "tools/pictures/contact_sheet.h"

namespace RazidQtTesting {
namespace {

// The examples as they are written in the faults' reports, one picture each.
struct Example {
  const char* name;
  const char* rmn;
};
constexpr Example kExamples[] = {
    {"tempo-note",
     "[ \\meter<\"4/4\"> \\tempo<\"[1/4] = 96\"> c1/4 d e f | g a h c2 \\newSystem "
     "c2 h1 a g | f e d c ]"},
    {"meter-change-bar", "[ \\meter<\"4/4\"> c1 d e f \\meter<\"3/4\"> g a h ]"},
    {"bar-before-key", "[ \\meter<\"3/4\"> c1/4 d e f g a h c2 d \\key<\"D\"> e f g ]"},
    {"bar-before-dynamic",
     "[ \\meter<\"3/4\"> d1/4 e f g/2 a/4 a h/8 c2 d e c/4 d e c d e c d e "
     "\\intens<\"f\"> f/2. g1/4 a h c2 d e ]"},
    {"dynamic-at-break",
     "{ [ \\meter<\"3/4\"> \\key<\"G\"> \\slur( d1/4 e f# ) g/2 \\tie( a/4 a/4 ) h/8 c2 d e "
     "\\repeatEnd \\crescBegin c/4 d e \\crescEnd \\intens<\"f\"> f#/2. g1/8 a h c2/4 d e d c h1/4 "
     "a g g/2. ], [ \\staff<2> \\clef<\"f\"> \\meter<\"3/4\"> \\key<\"G\"> g0/2. {c0/4,e,g} _/4 _ "
     "d0/2. g-1/2. {g-1/2,d0,h0} _/4 a-1/2. d0/2. g0/2. g-1/2. ] }"},
    {"staff-start-line", "[ c1/4 d e f \\bar g a h c2 ]"},
    {"clef-change-room", "[ \\clef<\"g2+8\"> c2 d e f \\clef<\"g2-8\"> c1 d e f ]"},
    {"staff-format-held",
     "[ \\meter<\"4/4\"> c2/4 d e f | \\staffFormat<\"3-line\"> c2/4 d e f | "
     "g a h c3 \\newSystem c3/1 | c3/1 ]"},
    {"dynamics",
     "[ \\intens<\"sf\"> g1/4 \\intens<\"ffff\"> g \\intens<\"ppp\"> g "
     "\\intens<\"pppp\"> g ]"},
    {"double-bar", "[ c1/4 d e f \\doubleBar g a h c2 ]"},
    {"volta-broken",
     "[ \\meter<\"4/4\"> c1/4 d e f | \\volta<\"1.\",\"1\">( g a h c2 | c2 h1 a g "
     "\\newSystem g a h c2 | d2 e f g ) | c2/1 ]"},
    {"new-page-first", "[ \\newPage c1/4 d e f | g a h c2 \\newPage c/1 ]"},
    {"beam-across-staves",
     "{ [ \\staff<1> \\clef<\"treble\"> \\meter<\"2/4\"> _/2 | c2/4 d2 ], [ \\staff<2> "
     "\\clef<\"bass\"> \\meter<\"2/4\"> \\beam( c0/8 \\staff<1> e1/8 \\staff<2> g0/8 \\staff<1> "
     "c2/8 ) | \\staff<2> c0/2 ] }"},
    {"ties-13-16", "[ c*13/16 ]"},
    {"ties-29-32", "[ c*29/32 ]"},
    {"tuplet-brackets",
     "[ \\meter<\"4/4\"> c1/4 d e f | g a h c2 | d2/2 c2 | h1/2 a | "
     "\\tuplet<\"-3-\">( g1/8 a h ) \\tuplet<\"-3-\">( c2/8 d e ) f/2 ]"},
    {"hairpins", "[ \\cresc(g1/4 a1/4 b1/4 c2/4) \\dim(c2/4 b1/4 a1/4 g1/4) ]"},
};

// rmn-render's width; the pages of a score stand one under the other.
constexpr int kWidth = 1240;

// The page cut to its ink and a margin, so that the music fills a contact sheet's cell.
QImage Inked(const QImage& page) {
  QRect ink;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (qGray(page.pixel(x, y)) < 250) ink |= QRect(x, y, 1, 1);
  return ink.isEmpty() ? page : page.copy(ink.adjusted(-12, -12, 12, 12));
}

// The pages, cut to their ink, one under the other on grey.
QImage Stacked(const std::vector<QImage>& pages) {
  std::vector<QImage> inked;
  int width = 1, height = 0;
  for (const QImage& page : pages) {
    inked.push_back(Inked(page));
    width = std::max(width, inked.back().width());
    height += inked.back().height() + 8;
  }
  QImage all(width, std::max(height, 1), QImage::Format_RGB32);
  all.fill(Qt::lightGray);
  QPainter painter(&all);
  int y = 0;
  for (const QImage& page : inked) {
    painter.drawImage(0, y, page);
    y += page.height() + 8;
  }
  return all;
}

class ScoreDrawing : public EngineFixture {
 protected:
  // Every page drawn as rmn-render draws it: pages shrunk to their music, kWidth pixels wide.
  static std::vector<QImage> Pages(const QString& rmn, Painter& score) {
    score = NewPainter();
    score->setResizePageToMusic(true);
    EXPECT_TRUE(score->setRMNCode(rmn)) << score->getLastErrorMessage().toStdString();
    std::vector<QImage> pages;
    for (int page = 1; page <= score->pageCount(); ++page)
      pages.push_back(Draw(*score, page, {kWidth, score->heightForWidth(kWidth, page)}));
    return pages;
  }
  static std::vector<CScoreElement*> Found(CScoreElement* root, int kind, int subtype = -1) {
    std::vector<CScoreElement*> found;
    for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, kind, n); ++n)
      if (subtype < 0 || RazidMapGetElementSubType(e) == subtype) found.push_back(e);
    return found;
  }
};

// The small note of a tempo mark is drawn at 0.65 of the device's scale, which it hands back as
// it found it: the mark reads whole and every system after it is drawn where the map has it.
TEST_F(ScoreDrawing, TempoMarkWithANoteLeavesTheScaleAndEverySystemIsDrawn) {
  Painter score;
  const std::vector<QImage> pages = Pages(kExamples[0].rmn, score);
  ASSERT_EQ(pages.size(), 1u);
  CScoreElement* root = RazidMapGetRootElement(score->grHandle(), 1);
  const std::vector<CScoreElement*> systems = Found(root, 7);
  ASSERT_EQ(systems.size(), 2u);
  for (CScoreElement* system : systems) {
    const QRectF box = Box(system);
    EXPECT_TRUE(QRectF(pages[0].rect()).contains(box));
    EXPECT_GT(Count(pages[0], box, Dark), 500);
  }
  // The note and "= 96" stand above the first staff, as tall as text and notes are there.
  const QRectF firstStaff = Box(Found(root, 5)[0]);
  const QRectF above(firstStaff.left(), firstStaff.top() - 60, 200, 50);
  EXPECT_GT(Count(pages[0], above, Dark), 100);
}

// The G clef reaches 4.8 line spaces above the line it marks: its box holds all its ink, and
// the octave mark sits on that box.
TEST_F(ScoreDrawing, TheGClefsBoxHoldsItsInk) {
  for (const char* clef : {"g2", "g2+8"}) {
    SCOPED_TRACE(clef);
    Painter score;
    const std::vector<QImage> pages =
        Pages(QString("[ \\clef<\"%1\"> e1/1 ]").arg(QLatin1String(clef)), score);
    CScoreElement* root = RazidMapGetRootElement(score->grHandle(), 1);
    const std::vector<CScoreElement*> clefs = Found(root, 2, 13);
    ASSERT_EQ(clefs.size(), 1u);
    const QRectF box = Box(clefs[0]);
    const QImage& page = pages[0];
    // One line space in pixels: the box's height is 7.5 of them, 9 with the octave mark.
    const qreal space = box.height() / (std::string(clef) == "g2" ? 7.5 : 9.0);
    EXPECT_EQ(Count(page, QRectF(box.left(), 0, box.width(), box.top()), Dark), 0);
    EXPECT_GT(Count(page, QRectF(box.left(), box.top(), box.width(), space * 0.5), Dark), 0);
    EXPECT_EQ(Count(page, QRectF(box.left(), box.bottom(), box.width(), page.height()), Dark), 0);
  }
}

// Every example drawn now, and, given an earlier rmn-render in MELVARIN_RENDER_BEFORE, drawn
// by it too: pictures and contact sheets land in the build's test artefacts.
TEST_F(ScoreDrawing, ExamplesGoOnAContactSheet) {
  QDir artefacts(MELVARIN_TEST_ARTEFACTS "/score-drawing");
  ASSERT_TRUE(artefacts.removeRecursively() || !artefacts.exists());
  ASSERT_TRUE(QDir().mkpath(artefacts.path()));
  const QString before = qEnvironmentVariable("MELVARIN_RENDER_BEFORE");
  QTemporaryDir work;
  QStringList paths;
  for (const Example& example : kExamples) {
    SCOPED_TRACE(example.name);
    Painter score;
    const std::vector<QImage> pages = Pages(example.rmn, score);
    ASSERT_FALSE(pages.empty());
    const QString after = QString("%1-after.png").arg(example.name);
    ASSERT_TRUE(Stacked(pages).save(artefacts.filePath(after)));
    if (before.isEmpty()) {
      paths << after;
      continue;
    }
    const QString input = WriteFile(work, "example.rmn", example.rmn);
    std::vector<QImage> earlier;
    for (int page = 1, count = 1; page <= count; ++page) {
      QProcess render;
      const QString output = work.filePath(QString("page%1.png").arg(page));
      render.start(before, {"--page", QString::number(page), input, output});
      ASSERT_TRUE(render.waitForFinished(30000));
      const QString said = QString::fromLatin1(render.readAllStandardOutput());
      if (said.startsWith("pages ")) count = said.mid(6).trimmed().toInt();
      earlier.push_back(QImage(output));
    }
    const QString old = QString("%1-before.png").arg(example.name);
    ASSERT_TRUE(Stacked(earlier).save(artefacts.filePath(old)));
    paths << old << after;
  }
  const int columns = before.isEmpty() ? 3 : 2;
  const int perSheet = columns * 6;
  for (qsizetype first = 0, sheet = 1; first < paths.size(); first += perSheet, ++sheet) {
    const QImage contact = Pictures::ContactSheet(artefacts, paths.mid(first, perSheet), columns);
    EXPECT_TRUE(contact.save(artefacts.filePath(QString("sheet-%1.png").arg(sheet))));
  }
}

}  // namespace
}  // namespace RazidQtTesting
