#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::IsAccidental;
using testing::HasSubstr;
using testing::Not;

constexpr unsigned int kStemUpFoot = 219;

class GraceTest : public DrawnScore {};

// Grace notes come in time before the note they lean on and take no time of their own: they are
// the notes drawn with no length at its date.
TEST_F(GraceTest, GraceNotesStandSideBySideBeforeTheirNoteClearOfIt) {
  for (char const* score : {
           "[ \\meter<\"4/4\"> c2/4 \\grace(d2/16) c2/4 e2/2 ]",
           "[ \\meter<\"4/4\"> \\grace(e2/8 d2/8) c2/4 \\grace(g1/16 a1 h1) c2/2 | "
           "\\grace(c#2/8) d2/4 e f g ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    EXPECT_THAT(warnings, Not(HasSubstr("GRGrace")));
    auto const notes = NoteRecords();
    int groups = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
      ScoreElementDesc const& main = notes[i].desc;
      if (main.duration <= 0) continue;
      std::vector<ScoreElementDesc> graces;
      for (auto const& r : notes)
        if (r.desc.duration == 0 && r.desc.date == main.date) graces.push_back(r.desc);
      if (graces.empty()) continue;
      ++groups;
      // Heads (60 units wide at full size) a gap apart, the last one clear of the note's head
      // and of the signs before it.
      float limit = main.headX - 30;
      for (auto const& glyph : drawn.glyphs)
        if (IsAccidental(glyph.code) && glyph.x < main.headX && glyph.x > main.headX - 150 &&
            std::abs(glyph.y - main.refY) < 1)
          limit = std::min(limit, glyph.x);
      for (size_t g = graces.size(); g-- > 0;) {
        SCOPED_TRACE(testing::Message() << "grace " << g << " at " << graces[g].headX);
        EXPECT_LE(graces[g].headX + 30, limit - 10);
        EXPECT_GT(graces[g].headX + 30, limit - 200) << "far from what follows";
        limit = graces[g].headX - 30;
      }
    }
    EXPECT_GT(groups, 0);
  }
}

// A grace note is small in all its parts, the note it leans on full size: five notes of a 2/4 bar
// with graces before two of them read as two.
TEST_F(GraceTest, GraceNotesAreDrawnSmallInAllTheirParts) {
  Draw(
      "[ \\meter<\"2/4\"> \\grace( a2/8 ) g2/4 \\grace( c2/16 h1/16 ) a1/4 | \\grace( c#2/8. ) "
      "d2/2 ]");
  // Glyphs drawn at grace size (a music font of 150) and at full size (200): black and half
  // heads, eighth and sixteenth flags, sharp, dot, ledger line.
  std::map<std::pair<unsigned int, int>, int> drawnAt;
  for (auto const& glyph : drawn.glyphs) ++drawnAt[{glyph.code, FontSize(glyph)}];
  struct {
    unsigned int code;
    int grace, full;
  } const expected[] = {{88, 4, 2}, {69, 0, 1}, {106, 2, 0}, {107, 2, 0},
                        {35, 1, 0}, {46, 1, 0}, {95, 1, 0}};
  for (auto const& e : expected) {
    EXPECT_EQ((drawnAt[{e.code, 150}]), e.grace) << e.code;
    EXPECT_EQ((drawnAt[{e.code, 200}]), e.full) << e.code;
  }
}

// A grace chord is one column on one stem, up as a grace note's, placed as one grace note: clear
// of the meter or bar line before it and of its note.
TEST_F(GraceTest, AGraceChordStandsAsOneColumnOnOneStem) {
  Draw("[ \\meter<\"4/4\"> \\grace( {c2/8, d2} ) e2/4 g2/2. | c2/2. \\grace( {h1/8, d2} ) a1/4 ]");
  std::map<float, std::vector<ScoreElementDesc>> chords;  // by the date of the note they lean on
  for (auto const& r : NoteRecords())
    if (r.desc.duration == 0) chords[r.desc.date].push_back(r.desc);
  ASSERT_EQ(chords.size(), 2u);
  for (auto const& [date, chord] : chords) {
    // Small heads are 45 wide: one stem's foot touches each, on one side or the other.
    auto const feet = Glyphs(kStemUpFoot);
    EXPECT_EQ(std::count_if(feet.begin(), feet.end(),
                            [&](auto const& foot) {
                              return FontSize(foot) == 150 &&
                                     std::all_of(chord.begin(), chord.end(), [&](auto const& head) {
                                       return std::abs(head.headX -
                                                       (foot.ink.left + foot.ink.right) / 2) < 25 &&
                                              foot.ink.bottom >= head.refY - 25;
                                     });
                            }),
              1)
        << date;
  }
  auto const bars = Records(3);
  for (auto const& head : Glyphs(88)) {
    if (FontSize(head) != 150) continue;
    NVRect const& ink = head.ink;
    for (auto const& glyph : drawn.glyphs)
      EXPECT_FALSE(FontSize(glyph) != 150 && glyph.ink.left < ink.right &&
                   glyph.ink.right > ink.left && glyph.ink.top < ink.bottom &&
                   glyph.ink.bottom > ink.top)
          << "grace head at " << head.x << " on glyph " << glyph.code;
    for (auto const& bar : bars)
      EXPECT_FALSE(bar.left < ink.right && bar.right > ink.left) << "grace head at " << head.x;
  }
}

// The symbol map holds each stem where it is drawn, a small one as a full-size one: on the ink of
// its glyphs, from its head to its end, whichever way it points.
TEST_F(GraceTest, StemsAreMappedWhereTheyAreDrawn) {
  Draw(
      "[ \\meter<\"4/4\"> \\grace(a1/8) g1/4 \\grace(c2/16 h1/16) a1/4 \\grace({h1/8, d2}) "
      "c3/2 ]");
  auto const stems = Records(2, 10);
  ASSERT_EQ(stems.size(), 7u);  // four grace stems (one for the chord) and three full-size
  int small = 0;
  for (ScoreElementDesc const& stem : stems) {
    SCOPED_TRACE(testing::Message() << "stem mapped at " << stem.left << ", " << stem.top);
    float top = 1e9f, bottom = -1e9f;
    int size = 0;
    for (auto const& glyph : drawn.glyphs) {
      if (glyph.code != 150 && glyph.code != 151 && glyph.code != 218 && glyph.code != 219)
        continue;
      if (glyph.ink.left > stem.left + 0.5f || glyph.ink.right < stem.right - 0.5f ||
          glyph.ink.bottom < stem.top || glyph.ink.top > stem.bottom)
        continue;
      top = std::min(top, glyph.ink.top);
      bottom = std::max(bottom, glyph.ink.bottom);
      size = FontSize(glyph);
    }
    ASSERT_NE(size, 0) << "no stem drawn there";
    EXPECT_NEAR(stem.top, top, 1);
    EXPECT_NEAR(stem.bottom, bottom, 1);
    if (size == 150) ++small;
  }
  EXPECT_EQ(small, 4);
}

}  // namespace

namespace {

// A grace note before a note under a fermata keeps its stem and flag clear of the fermata's arc
// (a tenth of a space apart), before a chord as before a single note; a grace note below the
// staff, far under the arc, stays close to its note.
TEST_F(GraceTest, AGraceNoteKeepsClearOfTheFermataOfItsNote) {
  for (char const* score : {"[ \\meter<\"2/4\"> \\grace( f2/8 ) \\fermata( {a1/2, c2, f2} ) ]",
                            "[ \\meter<\"2/4\"> \\grace( f2/8 ) \\fermata( e2/2 ) ]",
                            "[ \\meter<\"2/4\"> \\grace( g2/16 a2 ) \\fermata( h2/2 ) ]"}) {
    SCOPED_TRACE(score);
    Draw(score);
    auto const fermatas = Glyphs(85);
    ASSERT_EQ(fermatas.size(), 1u);
    NVRect const& arc = fermatas[0].ink;
    int small = 0;
    for (auto const& glyph : drawn.glyphs) {
      if (FontSize(glyph) != 150) continue;
      ++small;
      NVRect const& ink = glyph.ink;
      EXPECT_FALSE(ink.left < arc.right + 5 && ink.right > arc.left - 5 &&
                   ink.top < arc.bottom + 5 && ink.bottom > arc.top - 5)
          << "grace glyph " << glyph.code << " at " << ink.left << ", " << ink.top;
    }
    EXPECT_GE(small, 3);
  }
  // In a tight line the note keeps room for that on its left: the grace note stays clear of the
  // notes before it as well.
  Draw(
      "[ \\meter<\"4/4\"> c2/16 d e f g a h c3 \\grace( a2/8 ) \\fermata( f2/4 ) e2/16 f g a | "
      "c2/16 d e f g a h c3 \\grace( a2/8 ) \\fermata( {e2/4, g2} ) e2/16 f g a | "
      "c2/16 d e f g a h c3 \\grace( a2/8 ) \\fermata( f2/4 ) e2/16 f g a | "
      "c2/16 d e f g a h c3 \\grace( a2/8 ) \\fermata( f2/4 ) e2/16 f g a ]");
  for (auto const& grace : drawn.glyphs) {
    if (FontSize(grace) != 150) continue;
    for (auto const& glyph : drawn.glyphs)
      EXPECT_FALSE(FontSize(glyph) != 150 && grace.ink.left < glyph.ink.right + 5 &&
                   grace.ink.right > glyph.ink.left - 5 && grace.ink.top < glyph.ink.bottom + 5 &&
                   grace.ink.bottom > glyph.ink.top - 5)
          << "grace glyph " << grace.code << " at " << grace.ink.left << ", " << grace.ink.top
          << " on " << glyph.code;
  }
  // Far below the arc the grace note keeps its place beside its note.
  Draw("[ \\meter<\"2/4\"> \\grace( c1/8 ) d1/2 ]");
  auto const plain = NoteRecords();
  Draw("[ \\meter<\"2/4\"> \\grace( c1/8 ) \\fermata( d1/2 ) ]");
  auto const held = NoteRecords();
  ASSERT_EQ(plain.size(), 2u);
  ASSERT_EQ(held.size(), 2u);
  EXPECT_NEAR(held[1].desc.headX - held[0].desc.headX, plain[1].desc.headX - plain[0].desc.headX,
              0.5);
}

}  // namespace

namespace {

// A grace group stands directly before its note on the note's line, whatever stands between them
// in the text: after the bar line, after the clef, key and meter that open the line or change
// there, and clear of all of them.
TEST_F(GraceTest, AGraceGroupStandsDirectlyBeforeItsNoteOnItsLine) {
  for (std::string const& score : {
           std::string("[ \\meter<\"4/4\"> c d e f \\grace( g/8 ) \\newSystem a/1 ]"),
           std::string("[ \\meter<\"4/4\"> c d e f \\grace( g/8 ) \\newPage a/1 ]"),
           std::string("[ \\meter<\"4/4\"> c d e f \\grace( g/8 ) \\bar a/1 ]"),
           std::string("{ [ \\staff<1> \\key<3> \\meter<\"4/4\"> c2 d e f \\grace( g2/8 ) "
                       "\\newSystem a2/1 ], [ \\staff<2> \\clef<\"f4\"> \\key<3> "
                       "\\meter<\"4/4\"> a0/1 | a0/1 ] }"),
           std::string("[ \\meter<\"4/4\"> c2 d e f \\grace( g2/8 a2 ) \\key<2> \\meter<\"3/4\"> "
                       "h2/2. ]"),
           std::string("[ \\meter<\"3/4\"> c2/2. \\grace( d2/8 ) \\repeatBegin e2/2. ]"),
           // Settings written after the group stay after it, and do not hold it back.
           std::string("[ \\meter<\"4/4\"> c2/4 d2 e2 f2 \\grace( f2/16 ) \\newSystem "
                       "\\beamsAuto g2/1 ]"),
           std::string("[ \\meter<\"4/4\"> c2/4 d2 e2 f2 \\grace( c2/16 ) \\newPage \\beamsAuto "
                       "\\stemsDown h1/1 ]"),
           std::string("[ \\meter<\"4/4\"> c2/4 d2 e2 f2 \\grace( d2/16 e2 ) \\bar \\beamsAuto "
                       "\\key<2> c2/1 ]"),
           "[ " + EngineTesting::Repeated("c2/4 d2 e2 \\grace( {f2/16, a2} ) \\bar", 30) + "g2 ]",
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    std::vector<DrawnLine> const lines = DrawnLines();
    auto lineOf = [&](int page, ScoreElementDesc const& note) {
      for (size_t n = 0; n < lines.size(); ++n)
        if (lines[n].page == page && note.refY >= lines[n].system.top &&
            note.refY <= lines[n].system.bottom)
          return static_cast<int>(n);
      return -1;
    };
    auto const notes = NoteRecords();
    int graces = 0;
    for (auto const& [page, grace] : notes) {
      if (grace.duration != 0) continue;
      ++graces;
      int const line = lineOf(page, grace);
      SCOPED_TRACE(testing::Message() << "grace at " << grace.headX << " on line " << line);
      ScoreElementDesc const* main = nullptr;
      for (auto const& [notePage, note] : notes)
        if (note.duration > 0 && std::abs(note.date - grace.date) < 1e-4 &&
            (!main || lineOf(notePage, note) == line))
          main = &note;
      ASSERT_TRUE(main);
      EXPECT_EQ(lineOf(page, *main), line) << "its note is on another line";
      EXPECT_LT(grace.headX, main->headX);
      EXPECT_GT(grace.headX, main->headX - 400) << "far from its note";
      for (ScoreElementDesc const& bar : Records(3, -1, page))
        if (bar.top < lines[line].system.bottom && bar.bottom > lines[line].system.top) {
          EXPECT_FALSE(bar.right > grace.headX && bar.left < main->headX)
              << "bar line at " << bar.left << " between the grace and its note";
        }
    }
    EXPECT_GT(graces, 0);
    // No grace ink on a bar line, clef, key or meter.
    for (auto const& small : drawn.glyphs) {
      if (FontSize(small) != 150) continue;
      NVRect const& ink = small.ink;
      for (auto const& glyph : drawn.glyphs)
        EXPECT_FALSE(glyph.page == small.page && FontSize(glyph) != 150 &&
                     glyph.ink.left < ink.right && glyph.ink.right > ink.left &&
                     glyph.ink.top < ink.bottom && glyph.ink.bottom > ink.top)
            << "grace glyph " << small.code << " at " << ink.left << " on glyph " << glyph.code;
      for (auto const& bar : Records(3, -1, small.page))
        EXPECT_FALSE(bar.left < ink.right && bar.right > ink.left && bar.top < ink.bottom &&
                     bar.bottom > ink.top)
            << "grace glyph " << small.code << " at " << ink.left << " on a bar line";
    }
  }
}

}  // namespace

namespace {

// A grace group takes room of its own: its notes and flags keep clear of the signs of the note or
// chord they lean on and of the other voice's notes with it, and of the notes before them at any
// height (a grace note over the note before reads as struck with it), in a line as tight as the
// line breaker makes it.
TEST_F(GraceTest, GraceNotesKeepClearOfTheirNotesSignsAndOfTheNotesBefore) {
  for (std::string const& score : {
           std::string("[ \\key<-1> \\meter<\"3/4\"> c2/4 d2 e2 | \\grace( a1/16 ) "
                       "{h1/8, g1/8, e1/8} h&1/8 g2/4 a2 ]"),
           std::string("[ \\meter<\"2/4\"> \\grace( a1/16 ) {h1/8, g#1/8} \\grace( c2/16 ) "
                       "{d#2/8, g#1/8} \\grace( e2/16 d2 ) {c#2/4, a#1, f#1} ]"),
           std::string("[ \\pageFormat<w=8cm, h=21cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> "
                       "\\key<6> \\meter<\"3/4\"> c2/4 d2 e2 | \\beam( f#2/8 {e#2/8, c#2/8} ) "
                       "\\grace( c#3/16 g#2/16 ) a#2/16 e#2/16 a1/16 h1/16 "
                       "\\tuplet<\"-3-\">( f#2/12 f#2/12 a#2/12 ) ]"),
           // A space of the other staff stands between the chord and the grace note.
           std::string(
               "{ [ \\staff<1> \\meter<\"C\"> h1/8. c2/16 f1/8. h1/16 f1/8 f1/8 e#1/4 | _/4 "
               "e1/8. e1/16 \\tuplet<\"-3-\">( f1/12 f1/12 e1/12 ) \\space<4> g1/4 ], "
               "[ \\staff<2> \\clef<\"f4\"> \\meter<\"C\"> _/2 _/4 a&-1/4 | {e0/2, g0/2, "
               "h0/2} \\beam( f0/8 {c0/8, e0/8, g0/8} ) \\grace( c#0/16 ) d0/8 c0/8 ] }"),
           // The sign of the other voice's note at the same time stands as high as a grace
           // head, or as its flag.
           EngineTesting::TwoVoices("c2/4 \\grace( a1/16 ) c2/4 c2/2", "c2/4 a&1/4 a1/2"),
           EngineTesting::TwoVoices("c2/4 \\grace( e2/16 d2/16 ) c2/4 c2/2", "c2/4 a&1/4 a1/2"),
       }) {
    SCOPED_TRACE(score);
    Draw(score);
    std::vector<EngineTesting::PlacingDevice::Glyph> graceHeads, heads, graceSigns, signs,
        graceFlags;
    for (auto const& glyph : drawn.glyphs) {
      bool const small = FontSize(glyph) == 150;
      if (glyph.code == 88 || glyph.code == 69) (small ? graceHeads : heads).push_back(glyph);
      if (small && (glyph.code == 106 || glyph.code == 107)) graceFlags.push_back(glyph);
      if (IsAccidental(glyph.code)) (small ? graceSigns : signs).push_back(glyph);
    }
    auto const meet = [](auto const& a, auto const& b) {
      return a.page == b.page && a.ink.left < b.ink.right && a.ink.right > b.ink.left &&
             a.ink.top < b.ink.bottom && a.ink.bottom > b.ink.top;
    };
    for (auto const& sign : graceSigns)
      for (auto const& head : heads)
        EXPECT_FALSE(meet(head, sign))
            << "grace sign at " << sign.ink.left << " on a head at " << head.ink.left;
    for (auto const& flag : graceFlags)
      for (auto const& sign : signs)
        EXPECT_FALSE(meet(sign, flag))
            << "grace flag at " << flag.ink.left << " on a sign at " << sign.ink.left;
    ASSERT_FALSE(graceHeads.empty());
    for (auto const& grace : graceHeads) {
      NVRect const& ink = grace.ink;
      SCOPED_TRACE(testing::Message() << "grace head at " << ink.left << ", " << ink.top);
      for (auto const& sign : signs)
        EXPECT_FALSE(sign.page == grace.page && sign.ink.left < ink.right &&
                     sign.ink.right > ink.left && sign.ink.top < ink.bottom &&
                     sign.ink.bottom > ink.top)
            << "on a sign at " << sign.ink.left;
      // On its staff, a head whose middle stands before the grace head's ends before it.
      for (auto const& head : heads)
        if (head.page == grace.page && std::abs(head.y - grace.y) < 250 &&
            head.ink.left + head.ink.right < ink.left + ink.right) {
          EXPECT_LE(head.ink.right, ink.left + 1) << "over a head at " << head.ink.left;
        }
    }
  }
}

}  // namespace
