// Rests and heads where two things want one place: a rest inside a beamed beat, heads of two
// voices a second apart, and rests of two voices at one time.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using Glyph = EngineTesting::PlacingDevice::Glyph;

constexpr unsigned int kQuarterRest = 165, kEighthRest = 97, kSixteenthRest = 64;
constexpr unsigned int kFlags[] = {74, 75, 106, 107};

bool IsRest(unsigned int code) {
  return code == kQuarterRest || code == kEighthRest || code == kSixteenthRest;
}

struct Span {
  float top, bottom;
};

class RestsAndVoicesTest : public DrawnScore {
 protected:
  std::vector<Glyph> Rests() const {
    std::vector<Glyph> rests;
    for (Glyph const& glyph : drawn.glyphs)
      if (IsRest(glyph.code)) rests.push_back(glyph);
    return rests;
  }
  static Span InkSpan(Glyph const& glyph) {
    Span span{};
    InkHeight(glyph, &span.top, &span.bottom);
    return span;
  }
  // What the filled shapes (beams and their further levels) cover at x, top to bottom, over
  // all of them that reach x; a polygon's corners run start at the stem, start away from it,
  // end away from it, end at the stem.
  std::vector<Span> ShapesAt(float x) const {
    std::vector<Span> spans;
    auto at = [x](float x1, float y1, float x2, float y2) {
      return x2 == x1 ? y1 : y1 + (y2 - y1) / (x2 - x1) * (x - x1);
    };
    for (auto const& shape : drawn.shapes) {
      if (shape.xs.size() != 4 || x < shape.left || x > shape.right) continue;
      float const a = at(shape.xs[0], shape.ys[0], shape.xs[3], shape.ys[3]);
      float const b = at(shape.xs[1], shape.ys[1], shape.xs[2], shape.ys[2]);
      spans.push_back({std::min(a, b), std::max(a, b)});
    }
    return spans;
  }
  // A height on the first staff, from its top line.
  float OnStaff(float y) const {
    auto const lines = Records(2, 5);
    return lines.empty() ? y : y - lines[0].top;
  }
  static float Apart(Span const& a, Span const& b) {
    return std::max(a.top - b.bottom, b.top - a.bottom);
  }
};

// The notes of a beat are beamed over its rests, and a rest the beam would run through moves
// out of its way.
TEST_F(RestsAndVoicesTest, BeamsGoOverTheRestsOfTheirBeatAndClearThem) {
  for (char const* score : {
           "[ \\meter<\"2/4\"> g1/16 _/16 h1/16 d2/16 f2/16 d2/16 _/16 h1/16 ]",
           "[ \\meter<\"6/8\"> c2/8 _/8 e2/8 g2/8 _/8 c3/8 ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const beams = Records(2, 14);
    ASSERT_EQ(beams.size(), 2u);
    for (unsigned int flag : kFlags) EXPECT_TRUE(Glyphs(flag).empty()) << "a flag " << flag;
    auto const rests = Rests();
    ASSERT_EQ(rests.size(), 2u);
    for (Glyph const& rest : rests) {
      SCOPED_TRACE(testing::Message() << "rest at " << rest.x << ", " << rest.y);
      EXPECT_TRUE(std::any_of(beams.begin(), beams.end(), [&](auto const& beam) {
        return rest.x > beam.left && rest.x < beam.right;
      })) << "not under a beam";
      Span const ink = InkSpan(rest);
      for (Span const& beam : ShapesAt(rest.x)) EXPECT_GE(Apart(ink, beam), 5);
    }
  }
}

// Heads of two voices a second apart stand side by side, the one whose stem goes up on the
// right, with room kept after them; a third apart they share their place.
TEST_F(RestsAndVoicesTest, HeadsOfTwoVoicesASecondApartStandSideBySide) {
  struct Case {
    char const* upper;  // stems up
    char const* lower;  // stems down
    bool upperHigher;   // false where the voices cross
    bool beside;
  } const cases[] = {
      {"f2/2", "e2/2", true, true},
      {"e2/2", "f2/2", false, true},
      {"g2/2", "e2/2", true, false},
  };
  for (Case const& c : cases) {
    std::string const score = std::string("{ [ \\staff<1> \\meter<\"2/4\"> \\stemsUp ") + c.upper +
                              " c2/2 ], [ \\staff<1> \\meter<\"2/4\"> \\stemsDown " + c.lower +
                              " c2/2 ] }";
    SCOPED_TRACE(score);
    Draw(score);
    std::vector<ScoreElementDesc> first, then;
    for (auto const& note : NoteRecords())
      (note.desc.date == 0 ? first : then).push_back(note.desc);
    ASSERT_EQ(first.size(), 2u);
    ASSERT_EQ(then.size(), 2u);
    std::sort(first.begin(), first.end(),
              [](auto const& a, auto const& b) { return a.refY < b.refY; });
    auto const& up = c.upperHigher ? first[0] : first[1];
    auto const& down = c.upperHigher ? first[1] : first[0];
    float const head = 60;
    if (c.beside) {
      EXPECT_NEAR(up.headX - down.headX, head, 5) << "not side by side";
    } else {
      EXPECT_EQ(up.headX, down.headX);
    }
    // The c2s after them stand clear of the right head.
    for (auto const& next : then)
      EXPECT_GT(next.headX - head / 2, std::max(up.headX, down.headX) + head / 2 + 20);
  }
}

// Rests of two voices at one time stand one above the other: the upper voice's above where a
// single voice puts its rest, the lower voice's below it, clear of each other and of the other
// voice's heads. A single voice keeps its rests in place whatever its stems.
TEST_F(RestsAndVoicesTest, RestsOfTwoVoicesMoveApart) {
  Draw("[ \\meter<\"2/4\"> \\stemsUp g2/4 _/4 ]");
  ASSERT_EQ(Rests().size(), 1u);
  float const single = OnStaff(Rests()[0].y);
  Draw("[ \\meter<\"2/4\"> g2/4 _/4 ]");
  EXPECT_EQ(OnStaff(Rests()[0].y), single);

  Draw(
      "{ [ \\staff<1> \\meter<\"2/4\"> \\stemsUp g2/4 _/4 ], [ \\staff<1> \\meter<\"2/4\"> "
      "\\stemsDown c2/4 _/4 ] }");
  auto rests = Rests();
  ASSERT_EQ(rests.size(), 2u);
  ASSERT_NEAR(rests[0].x, rests[1].x, 1);
  std::sort(rests.begin(), rests.end(), [](auto const& a, auto const& b) { return a.y < b.y; });
  EXPECT_LT(OnStaff(rests[0].y), single);
  EXPECT_GT(OnStaff(rests[1].y), single);
  EXPECT_GE(Apart(InkSpan(rests[0]), InkSpan(rests[1])), 10);

  // A rest against a note of the other voice clears its head (a line space high).
  Draw(
      "{ [ \\staff<1> \\meter<\"2/4\"> \\stemsUp _/4 g2/4 ], [ \\staff<1> \\meter<\"2/4\"> "
      "\\stemsDown c2/4 _/4 ] }");
  auto const notes = NoteRecords();
  rests = Rests();
  ASSERT_EQ(notes.size(), 2u);
  ASSERT_EQ(rests.size(), 2u);
  for (Glyph const& rest : rests) {
    auto const& note = std::abs(notes[0].desc.refX - rest.x) < std::abs(notes[1].desc.refX - rest.x)
                           ? notes[0].desc
                           : notes[1].desc;
    Span const head{note.refY - 25, note.refY + 25};
    EXPECT_GE(Apart(InkSpan(rest), head), 10) << "rest at " << rest.x << ", " << rest.y;
  }
}

}  // namespace
