// Where two symbols want one place: rests inside a beamed beat, heads of two voices a second
// apart, rests of two voices at one time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::Repeated;
using Glyph = EngineTesting::PlacingDevice::Glyph;

struct Span {
  float top, bottom;
};
float Apart(Span const& a, Span const& b) {
  return std::max(a.top - b.bottom, b.top - a.bottom);
}

class RestsAndVoicesTest : public DrawnScore {
 protected:
  // The quarter, eighth and sixteenth rests drawn, top down, with the height of their ink.
  std::vector<std::pair<Glyph, Span>> Rests() const {
    std::vector<std::pair<Glyph, Span>> rests;
    for (Glyph const& glyph : drawn.glyphs) {
      if (glyph.code != 165 && glyph.code != 97 && glyph.code != 64) continue;
      Span ink{};
      InkHeight(glyph, &ink.top, &ink.bottom);
      rests.emplace_back(glyph, ink);
    }
    std::sort(rests.begin(), rests.end(),
              [](auto const& a, auto const& b) { return a.first.y < b.first.y; });
    return rests;
  }

  // Every rest drawn, as many as at least, keeps clear of the heads, stems and beams of the notes
  // at its place or a fifth of a space beside it.
  void ExpectRestsClearOfNotes(size_t atLeast) {
    std::vector<NVRect> rests, marks;  // rests' glyphs and whole or half rests' bars; the notes
    for (auto const& [rest, ink] : Rests()) rests.push_back(rest.ink);
    for (auto const& s : drawn.shapes)
      if (s.xs.empty() && s.bottom - s.top < 30)
        rests.push_back({s.left, s.top, s.right, s.bottom});
    for (auto const& stem : Records(2, 10))
      marks.push_back({stem.left - 3, stem.top, stem.right + 3, stem.bottom});
    for (auto const& beam : Records(2, 14))
      marks.push_back({beam.left, beam.top, beam.right, beam.bottom});
    for (auto const& [page, note] : NoteRecords())
      marks.push_back({note.headX - 30, note.refY - 25, note.headX + 30, note.refY + 25});
    ASSERT_GE(rests.size(), atLeast);
    for (NVRect const& rest : rests)
      for (NVRect const& mark : marks)
        if (mark.right + 10 > rest.left && rest.right + 10 > mark.left) {
          EXPECT_GE(Apart({rest.top, rest.bottom}, {mark.top, mark.bottom}), 10) << rest.left;
        }
  }
};

TEST_F(RestsAndVoicesTest, BeamsGoOverTheRestsOfTheirBeatAndClearThem) {
  for (char const* score : {"[ \\meter<\"2/4\"> g1/16 _/16 h1/16 d2/16 f2/16 d2/16 _/16 h1/16 ]",
                            "[ \\meter<\"6/8\"> c2/8 _/8 e2/8 g2/8 _/8 c3/8 ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const beams = Records(2, 14);
    ASSERT_EQ(beams.size(), 2u);
    for (unsigned int flag : {74u, 75u, 106u, 107u}) EXPECT_TRUE(Glyphs(flag).empty());
    ASSERT_EQ(Rests().size(), 2u);
    for (auto const& [rest, ink] : Rests()) {
      EXPECT_TRUE(
          std::any_of(beams.begin(), beams.end(),
                      [&](auto const& beam) { return rest.x > beam.left && rest.x < beam.right; }))
          << "a rest off the beams at " << rest.x;
      // Every beam level over it, its corners listed along the stems' ends and then back.
      for (auto const& level : drawn.shapes) {
        if (level.xs.size() != 4 || rest.x < level.left || rest.x > level.right) continue;
        auto at = [&](int a, int b) {
          return level.ys[a] +
                 (level.ys[b] - level.ys[a]) / (level.xs[b] - level.xs[a]) * (rest.x - level.xs[a]);
        };
        EXPECT_GE(Apart(ink, {std::min(at(0, 3), at(1, 2)), std::max(at(0, 3), at(1, 2))}), 5);
      }
    }
  }
}

// The note whose stem goes up stands right of the other, also where the voices cross, and the
// next notes keep clear of it; a third apart they share their place.
TEST_F(RestsAndVoicesTest, HeadsOfTwoVoicesASecondApartStandSideBySide) {
  for (auto const& [up, down, apart] :
       {std::tuple{"f2", "e2", 60}, {"e2", "f2", 60}, {"g2", "e2", 0}}) {
    std::string const voice = "[ \\staff<1> \\meter<\"2/4\"> ";
    Draw("{ " + voice + "\\stemsUp " + up + "/2 c2/2 ], " + voice + "\\stemsDown " + down +
         "/2 c2/2 ] }");
    auto const notes = NoteRecords();
    ASSERT_EQ(notes.size(), 4u);
    // The first two notes: the stem-up one is the higher unless the voices cross.
    float const upX = (notes[0].desc.refY < notes[1].desc.refY) == (std::string(up) > down)
                          ? notes[0].desc.headX
                          : notes[1].desc.headX;
    float const downX = notes[0].desc.headX + notes[1].desc.headX - upX;
    EXPECT_NEAR(upX - downX, apart, 5) << up << " over " << down;
    EXPECT_GT(notes[2].desc.headX, std::max(upX, downX) + 80);
  }
}

// The upper voice's rest stands above where one voice puts it, the lower voice's below it, clear
// of each other; one voice keeps its rests in place whatever its stems.
TEST_F(RestsAndVoicesTest, RestsOfTwoVoicesMoveApart) {
  auto onStaff = [&](Glyph const& rest) { return rest.y - Records(2, 5)[0].top; };
  Draw("[ \\meter<\"2/4\"> g2/4 _/4 ]");
  float const single = onStaff(Rests()[0].first);
  Draw("[ \\meter<\"2/4\"> \\stemsUp g2/4 _/4 ]");
  EXPECT_EQ(onStaff(Rests()[0].first), single);
  Draw(
      "{ [ \\staff<1> \\meter<\"2/4\"> \\stemsUp g2/4 _/4 ], "
      "[ \\staff<1> \\meter<\"2/4\"> \\stemsDown c2/4 _/4 ] }");
  auto const rests = Rests();
  ASSERT_EQ(rests.size(), 2u);
  EXPECT_LT(onStaff(rests[0].first), single);
  EXPECT_GT(onStaff(rests[1].first), single);
  EXPECT_GE(Apart(rests[0].second, rests[1].second), 10);
}

// A rest of one voice keeps clear of the other voice's notes, chords and stems at its place or a
// fifth of a space beside it, also where only a stem crosses its place.
TEST_F(RestsAndVoicesTest, ARestClearsTheOtherVoicesNotesAndStems) {
  for (auto const& [upper, lower] :
       {std::pair{"a2/2 _/4 c3/4 | g2/2 _/2", "f2/2 a2/4 _/4 | e2/4 f2 e2/2"},
        {"_/4 g1/8 _/8", "{f2/4, a2} d1/8 {h1/8, d2}"},
        {"c3/4 _/4", "_/4 {c1/4, e1}"}}) {
    SCOPED_TRACE(upper);
    Draw(EngineTesting::TwoVoices(upper, lower));
    ExpectRestsClearOfNotes(2);
  }
}

// Where the stems of either voice are left to the engine, a rest still moves out of the other
// voice's way, to the side away from its notes, and a rest filling its bar, drawn in the bar's
// middle, clears the notes anywhere in the bar.
TEST_F(RestsAndVoicesTest, ARestOfAVoiceWithAutomaticStemsClearsTheOtherVoice) {
  std::string const staff = "[ \\staff<1> \\meter<\"4/4\"> ";
  for (auto const& [upper, lower] : {
           std::pair{"h1/4 c2 d2 h1", "_/4 _/4 _/2"},
           {"\\stacc( c2/4 d2 e2 f2 ) | g2/1", "_/1 | \\stemsDown c2/1"},
           {"_/4 _/2 _/4", "e1/4 g1 c2 a1"},
           {"\\stemsUp g1/4 a1 h1 c2", "_/4 _/4 _/2"},
           {"c2/8 d2 e2 f2 g2/2", "_/4 _/4 _/2"},
           {"\\stemsUp c2/4 d2 g1 c2", "\\stemsDown _/1"},
       }) {
    SCOPED_TRACE(upper);
    Draw("{ " + staff + upper + " ], " + staff + lower + " ] }");
    ExpectRestsClearOfNotes(1);
  }
}

// Whether a glyph is a rest: quarter down to 128th.
bool IsRestGlyph(unsigned int code) {
  return code == 47 || code == 64 || code == 97 || code == 108 || code == 165 || code == 174;
}

bool Meet(NVRect const& a, NVRect const& b) {
  constexpr float kTouch = 1;
  return a.left + kTouch < b.right && b.left + kTouch < a.right && a.top + kTouch < b.bottom &&
         b.top + kTouch < a.bottom;
}

// Once the line is spaced, a rest beside another voice keeps clear of all that voice draws over
// its width: the beam and the stems grown to reach it, a rest of another length, the dots and
// staccatos of the column before; where that voice pushes it toward its own beam, the beam moves
// away. A tuplet's bracket keeps clear of the rests under it. Two
// rests of one length at one place are one rest for both voices.
TEST_F(RestsAndVoicesTest, ARestClearsAllTheOtherVoiceDraws) {
  for (auto const& [upper, lower] : {
           std::pair{"g2/4 a2/8 f#2/8 d2/4", "_/4 _/4 _/4"},
           {"c3/8 a2/8 f2/8 d2/8 e2/4", "_/4 _/4 _/4"},
           {"_/4 c3/8 d3/8 e3/4", "_/8 g2/8 _/8 a2/8 _/4"},
           {"\\stacc( g1/8 f1/16 h1/16 a1/4 ) c2/4", "_/4 _/4 _/4"},
           {"\\tuplet<\"-3-\">( g2/12 d2/12 f2/12 ) c2/4 e2/4", "_/4 _/4 _/4"},
           {"e2/8. f2/16 g2/4 a2/4", "c1/16 _/16 _/8 _/4 _/4"},
           {"\\stacc( c2/8 d2/8 ) e2/4 f2/4", "_/8 _/8 _/4 _/4"},
           // Pushed toward its own beam, the rest finds the beam moved away from it.
           {"\\stemsUp d1/8 e1/8 e1/8 c2/8 c2/4", "\\stemsDown \\beam( d1/8 _/8 f1/8 ) _/8 _/4"},
           {"\\stemsUp d1/16 e1/16 e1/16 d1/16 c2/4 c2/4",
            "\\stemsDown \\beam( d1/16 _/16 d1/16 f1/16 ) _/4 _/4"},
           {"\\stemsUp \\beam( g2/8 _/8 e2/8 ) _/8 _/4", "\\stemsDown h1/8 h1/8 h1/8 g1/8 g1/4"},
       }) {
    SCOPED_TRACE(std::string(upper) + " over " + lower);
    Draw("{ [ \\staff<1> \\meter<\"3/4\"> " + std::string(upper) +
         " ], [ \\staff<1> \\meter<\"3/4\"> " + lower + " ] }");
    std::vector<std::pair<NVRect, unsigned int>> rests;  // ink and glyph, 0 for a bar
    std::vector<NVRect> marks;
    for (Glyph const& glyph : drawn.glyphs) {
      if (IsRestGlyph(glyph.code)) {
        rests.emplace_back(glyph.ink, glyph.code);
      } else {
        marks.push_back(glyph.ink);
      }
    }
    for (auto const& shape : drawn.shapes)
      if (shape.xs.empty() && shape.bottom - shape.top < 30)
        rests.emplace_back(NVRect{shape.left, shape.top, shape.right, shape.bottom}, 0);
    // A tuplet's bracket: the short strokes that are no staff or bar lines.
    for (auto const& line : drawn.lines) {
      float const length = std::hypot(line.x2 - line.x1, line.y2 - line.y1);
      if (length < 300 && !(line.x1 == line.x2 && length > 100))
        marks.push_back({std::min(line.x1, line.x2), std::min(line.y1, line.y2) - 2,
                         std::max(line.x1, line.x2), std::max(line.y1, line.y2) + 2});
    }
    ASSERT_GE(rests.size(), 3u);
    for (size_t i = 0; i < rests.size(); ++i) {
      NVRect const& rest = rests[i].first;
      for (NVRect const& mark : marks) EXPECT_FALSE(Meet(rest, mark)) << "a rest at " << rest.left;
      for (size_t j = i + 1; j < rests.size(); ++j) {
        bool const one = rests[i].second == rests[j].second && rest == rests[j].first;
        EXPECT_TRUE(one || !Meet(rest, rests[j].first)) << "two rests at " << rest.left;
      }
      // The beams over its width, by their slanting edges.
      for (auto const& beam : drawn.shapes) {
        if (beam.xs.size() != 4) continue;
        for (float x : {std::max(rest.left, beam.xs[0]), std::min(rest.right, beam.xs[3])}) {
          if (x < rest.left || x > rest.right || x < beam.xs[0] || x > beam.xs[3] ||
              beam.xs[3] <= beam.xs[0])
            continue;
          auto at = [&](int a, int b) {
            return beam.ys[a] +
                   (beam.ys[b] - beam.ys[a]) / (beam.xs[b] - beam.xs[a]) * (x - beam.xs[a]);
          };
          float const top = std::min(at(0, 3), at(1, 2)), bottom = std::max(at(0, 3), at(1, 2));
          EXPECT_FALSE(rest.top < bottom && top < rest.bottom) << "a rest on a beam at " << x;
        }
      }
    }
  }
}

// The rests drawn: their glyphs' ink and whole or half rests' bars.
std::vector<NVRect> RestInks(EngineTesting::PlacingDevice const& drawn) {
  std::vector<NVRect> rests;
  for (Glyph const& glyph : drawn.glyphs)
    if (IsRestGlyph(glyph.code)) rests.push_back(glyph.ink);
  for (auto const& shape : drawn.shapes)
    if (shape.xs.empty() && shape.bottom - shape.top < 30)
      rests.push_back({shape.left, shape.top, shape.right, shape.bottom});
  return rests;
}

// A rest under the arc of another voice's tie, which rises from a low whole note through the
// staff over the notes it passes, moves out from under it a whole space at a time.
TEST_F(RestsAndVoicesTest, ARestMovesFromUnderTheOtherVoicesTie) {
  std::string const staff = "[ \\staff<1> \\meter<\"4/4\"> ";
  for (auto const& [upper, lower] : {
           std::pair{"\\stemsUp \\tie( e1/1 e1/4 ) g1/4 a1/2",
                     "\\stemsDown d1/4 a0/4 _/4 e1/4 d1/1"},
           {"\\stemsUp \\tie( e1/1 e1/2 ) f1/2", "\\stemsDown c1/4 _/4 _/4 c1/4 c1/1"},
       }) {
    SCOPED_TRACE(std::string(upper) + " over " + lower);
    Draw("{ " + staff + upper + " ], " + staff + lower + " ] }");
    std::vector<NVRect> const rests = RestInks(drawn);
    ASSERT_FALSE(rests.empty());
    int ties = 0;
    for (auto const& curve : drawn.shapes) {
      if (curve.xs.size() < 8) continue;
      ++ties;
      for (NVRect const& rest : rests)
        EXPECT_FALSE(EngineTesting::OutlineCrosses(curve, rest))
            << "a tie through the rest at " << rest.left;
    }
    EXPECT_GT(ties, 0);
  }
}

// On a line hardly wider than its page, a bar of one beat whose seven flats and naturals leave
// its notes little room, a rest keeps air from the stem standing up on the right of the head of
// its own voice's note before it: the stem grows to its beam only once the line is spaced, and
// the room kept between heads left it out.
TEST_F(RestsAndVoicesTest, ARestKeepsAirFromTheStemOfTheNoteBefore) {
  for (auto const& [bar, width] : {
           std::pair{"\\beam( c1/16 e1/16 _/16 c1/16 )", "5.5"},
           {"\\beam( c1/16 e1/16 _/16 c1/16 )", "6.5"},
       }) {
    std::string const text = std::string("[ \\pageFormat<w=") + width +
                             "cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<-7> "
                             "\\meter<\"1/4\"> " +
                             bar + " | " + bar + " ]";
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const rests = RestInks(drawn);
    ASSERT_EQ(rests.size(), 2u);
    for (auto const& stem : Records(2, 10))
      for (NVRect const& rest : rests) {
        NVRect const near{stem.left - 5, stem.top, stem.right + 5, stem.bottom};
        EXPECT_FALSE(Meet(rest, near))
            << "a rest at " << rest.left << " by a stem at " << stem.left;
      }
  }
}

// On a line squeezed narrower than its notes need, a bar of one beat too wide for the page that
// no break can part, the rests cannot keep their room beside the stems and heads around them:
// they move out of the way of those notes instead, their own voice's as well as the other's.
TEST_F(RestsAndVoicesTest, ARestOnASqueezedLineMovesOffTheNotesAroundIt) {
  std::string const page =
      "\\pageFormat<w=4.5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<-7> "
      "\\meter<\"1/4\"> ";
  for (std::string const& text : {
           "[ " + page +
               "\\beam( c2/32 e2/32 ) _/32 \\beam( c2/32 g1/32 ) _/32 \\beam( a1/32 c2/32 ) ]",
           "{ [ \\staff<1> " + page +
               "\\stemsUp \\beam( e2/32 g2/32 ) _/32 \\beam( a2/32 c3/32 ) _/32 "
               "\\beam( h2/32 d3/32 ) ], [ \\staff<1> " +
               page + "\\stemsDown g1/8 _/8 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    std::vector<NVRect> const rests = RestInks(drawn);
    ASSERT_GE(rests.size(), 2u);
    std::vector<NVRect> notes;
    for (auto const& stem : Records(2, 10))
      notes.push_back({stem.left - 3, stem.top, stem.right + 3, stem.bottom});
    for (auto const& record : NoteRecords()) {
      ScoreElementDesc const& head = record.desc;
      notes.push_back({head.headX - 30, head.refY - 25, head.headX + 30, head.refY + 25});
    }
    for (NVRect const& rest : rests)
      for (NVRect const& note : notes)
        EXPECT_FALSE(Meet(rest, note))
            << "a rest at " << rest.left << " on a note at " << note.left;
  }
}

// Two voices in unison share one head only where it reads the same for both: a hollow, a filled
// or a whole head, a dotted or a plain one, each stand beside the other's; so do two whole notes,
// whose one head has no stems to show it is two voices'.
TEST_F(RestsAndVoicesTest, UnisonHeadsOfDifferentKindsStandSideBySide) {
  for (auto const& [upper, lower, shared] : {
           std::tuple{"c2/2", "c2/4", false},
           {"e2/2.", "e2/4", false},
           {"e2/4.", "e2/4", false},
           {"c2/1", "c2/2", false},
           {"c2/1", "c2/1", false},
           {"c2/4", "c2/4", true},
           {"c2/4", "c2/8", true},
           {"c2/2", "c2/2", true},
       }) {
    SCOPED_TRACE(std::string(upper) + " with " + lower);
    Draw(EngineTesting::TwoVoices(std::string(upper) + " a1/4", std::string(lower) + " a1/4"));
    auto const notes = NoteRecords();
    ASSERT_EQ(notes.size(), 4u);
    float const apart = std::fabs(notes[0].desc.headX - notes[1].desc.headX);
    if (shared) {
      EXPECT_LT(apart, 1);
    } else {
      EXPECT_GE(apart, 55) << "two heads of different kinds drawn as one";
      // The dots stand after both heads.
      for (Glyph const& dot : Glyphs(46))
        if (dot.x < notes[2].desc.left) {
          EXPECT_GT(dot.ink.left, std::max(notes[0].desc.headX, notes[1].desc.headX) + 25);
        }
    }
  }
}

// A rest's dots stand after it and clear of what follows, with the rest's glyph or bar as wide
// as without them: a dot touching the next rest is read as part of that rest.
// A rest filling the first bar of a line stands in the middle of the bar's music, after the
// clef and key that open the line, not in the key.
TEST_F(RestsAndVoicesTest, ARestFillingALinesFirstBarStandsAfterTheKey) {
  for (char const* score : {
           "[ \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<5> "
           "\\meter<\"2/4\"> c#2/16 d#2 e2 f#2 g#2 a#2 h2 c#3 | _/2 | c#2/2 ]",
           "[ \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<-6> "
           "\\meter<\"4/4\"> c2/16 d2 e2 f2 g2 a2 h2 c3 d3 c3 h2 a2 g2 f2 e2 d2 | _/1 | c2/1 ]",
           "{ [ \\staff<1> \\pageFormat<w=5cm, h=20cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
           "\\key<5> \\meter<\"2/4\"> d#2/16 c#2 d#2 c#2 d#2 c#2 d#2 c#2 | a2/2 ], "
           "[ \\staff<1> \\key<5> \\meter<\"2/4\"> h1/2 | _/2 ] }",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    // The rest's bar and the signs of the key of its line, at the line's start.
    std::vector<Glyph> signs;
    for (Glyph const& glyph : drawn.glyphs)
      if (EngineTesting::IsAccidental(glyph.code)) signs.push_back(glyph);
    std::vector<NVRect> bars;
    for (auto const& shape : drawn.shapes)
      if (shape.xs.empty() && shape.bottom - shape.top < 30)
        bars.push_back({shape.left, shape.top, shape.right, shape.bottom});
    ASSERT_EQ(bars.size(), 1u);
    NVRect const& rest = bars.front();
    float keyEnd = 0;
    for (Glyph const& sign : signs)
      if (sign.ink.top > rest.top - 250 && sign.ink.bottom < rest.bottom + 250 &&
          sign.ink.left < rest.left + 300)
        keyEnd = std::max(keyEnd, sign.ink.right);
    EXPECT_GT(keyEnd, 0) << "no key drawn before the rest";
    EXPECT_GT(rest.left, keyEnd + 50) << "the rest stands in the key";
  }
}

TEST_F(RestsAndVoicesTest, DottedRestsKeepRoomForTheirDots) {
  auto isRest = [](unsigned int code) {
    return code == 47 || code == 64 || code == 97 || code == 108 || code == 165 || code == 174;
  };
  for (char const* score : {
           "[ \\meter<\"2/4\"> _/16. _/32 _/8. _/16 _/32. _/64 _/64. _/128 _/8.. _/32 ]",
           "[ \\meter<\"4/4\"> _/2. _/4 ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    std::vector<NVRect> marks;  // the rests' ink and bars, left to right
    std::vector<Glyph> dots;
    for (Glyph const& glyph : drawn.glyphs) {
      if (isRest(glyph.code)) marks.push_back(glyph.ink);
      if (glyph.code == 46) dots.push_back(glyph);
    }
    for (auto const& shape : drawn.shapes) {
      if (shape.xs.empty() && shape.bottom - shape.top < 30) {
        EXPECT_NEAR(shape.right - shape.left, 50, 1) << "a half rest's bar";
        marks.push_back(NVRect{shape.left, shape.top, shape.right, shape.bottom});
      }
    }
    std::sort(marks.begin(), marks.end(),
              [](auto const& a, auto const& b) { return a.left < b.left; });
    ASSERT_FALSE(dots.empty());
    for (Glyph const& dot : dots) {
      auto next = std::find_if(marks.begin(), marks.end(),
                               [&](NVRect const& mark) { return mark.left > dot.ink.left; });
      ASSERT_NE(next, marks.begin());
      EXPECT_GT(dot.ink.left, std::prev(next)->right) << "a dot stands after its rest";
      if (next != marks.end()) {
        EXPECT_GE(next->left - dot.ink.right, 10)
            << "a dot at " << dot.x << " clear of the next rest";
      }
    }
  }
}

}  // namespace
