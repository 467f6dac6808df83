#include <cmath>

#include "engine_fixture.h"

namespace RazidQtTesting {
namespace {

// The question chord as the exercise engine writes it, plain and coloured as a right answer.
QString QuestionChord(const char* format = "") {
  return QStringLiteral("{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto %1 { c1 , e1 , g1 }  ] }")
      .arg(QString::fromLatin1(format));
}
constexpr QRgb kRightGreen = 0xff00996c;

class QuestionRenderTest : public EngineFixture {
 protected:
  void Render(const QString& rmn) {
    painter = QuestionPainter(rmn);
    image = Draw(*painter, 1, {1050, 350});
    root = RazidMapGetRootElement(painter->grHandle(), 1);
    ASSERT_NE(root, nullptr);
    // Chords hold empty events besides their notes.
    for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 1, n); ++n)
      if (RazidMapGetElementSubType(e) == 10) notes.push_back(e);
  }
  Painter painter;
  QImage image;
  CScoreElement* root = nullptr;
  std::vector<CScoreElement*> notes;
};

TEST_F(QuestionRenderTest, TheChordsNotesAreMappedWhereTheyAreDrawn) {
  Render(QuestionChord());
  EXPECT_EQ(RazidMapGetElementType(root), 8);
  EXPECT_EQ(RazidMapGetRootElement(painter->grHandle(), 2), nullptr);

  ASSERT_EQ(notes.size(), 3u);
  std::vector<float> heads, references;
  for (CScoreElement* note : notes) {
    float x, y;
    RazidMapGetHeadPoint(note, &x, &y);
    heads.push_back(x);
    references.push_back(y);
    EXPECT_GT(Count(image, Box(note), Dark), 0) << "no ink in a note's box";
  }
  EXPECT_EQ(heads[1], heads[0]);
  EXPECT_EQ(heads[2], heads[0]);
  // A third apart: one line space, 50 units at 0.35 pixels per unit.
  EXPECT_NEAR(std::abs(references[1] - references[0]), 17.5, 0.01);
  EXPECT_NEAR(std::abs(references[2] - references[1]), 17.5, 0.01);
}

// The opening clef stands on its staff: neither the page's box nor the ink reaches past the
// page or the system.
TEST_F(QuestionRenderTest, EverythingDrawnLiesInThePageAndItsSystem) {
  Render(QuestionChord());
  const QRectF page = Box(root);
  EXPECT_NEAR(page.left(), 0, 0.01);
  EXPECT_NEAR(page.top(), 0, 0.01);
  EXPECT_NEAR(page.right(), 1050, 0.01);
  EXPECT_NEAR(page.bottom(), 350, 0.01);
  const QRectF system = Box(RazidMapFindDeepNthElementOfType(root, 7, 1)).adjusted(-3, -3, 3, 3);
  QRect ink;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != 0xffffffff) ink |= QRect(x, y, 1, 1);
  ASSERT_FALSE(ink.isEmpty());
  EXPECT_TRUE(system.contains(QRectF(ink).adjusted(0.5, 0.5, -0.5, -0.5)))
      << "ink " << ink.left() << ", " << ink.top() << ", " << ink.right() << ", " << ink.bottom()
      << " system " << system.left() << ", " << system.top() << ", " << system.right() << ", "
      << system.bottom();
}

// Every stem the map reports holds ink, for single notes as for chords, with stems set by the
// score or left to the notes, with and without flags.
TEST_F(QuestionRenderTest, EveryStemIsDrawn) {
  for (const char* notes : {"c1/4", "\\stemsAuto c1/4", "\\stemsAuto a2/4", "\\stemsUp e1/4",
                            "\\stemsDown f2/4", "c1/8 e1/4", "{ c1 , e1 , g1 }"}) {
    SCOPED_TRACE(notes);
    Render(QStringLiteral("{ [ \\staff<1> \\clef<\"g2\"> %1 ] }").arg(QLatin1String(notes)));
    int stems = 0;
    for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 2, n); ++n) {
      if (RazidMapGetElementSubType(e) != 10) continue;
      ++stems;
      EXPECT_GT(Count(image, Box(e).adjusted(-1, 0, 1, 0), Dark), 10) << "stem " << stems;
    }
    EXPECT_GE(stems, 1);
  }
}

TEST_F(QuestionRenderTest, ARightAnswerIsDrawnInItsColour) {
  Render(QuestionChord("  \\noteFormat<color=\"0x00996c\"> "));
  ASSERT_EQ(notes.size(), 3u);
  for (CScoreElement* note : notes)
    EXPECT_GT(Count(image, Box(note), [](QRgb p) { return p == kRightGreen; }), 0);
}

}  // namespace
}  // namespace RazidQtTesting
