#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;

constexpr unsigned int kFermata = 85, kStaccato = 46;

class FermataTest : public DrawnScore {};

// A fermata stands over the staff, clear of the end of an up stem and of the heads (a fifth of a
// space under its dot), centred over a rest; a chord holds one. Other articulations stay with
// the notes.
TEST_F(FermataTest, AFermataStandsClearOverTheStaffTheStemAndTheHeadsOrItsRest) {
  Draw(
      "[ \\meter<\"4/4\"> \\fermata( g1/4 ) \\fermata( e1/4 ) \\fermata( h1/4 ) \\fermata( _/4 ) | "
      "\\fermata( {g1/2, h1, d2} ) \\fermata( {c2/2, e2, g2, c3} ) | \\fermata( _/2 ) "
      "\\stacc( _/2 ) | \\fermata( _/1 ) ]");
  auto const fermatas = Glyphs(kFermata);
  ASSERT_EQ(fermatas.size(), 8u);
  EXPECT_TRUE(Glyphs(kStaccato).empty());
  float const staffTop = Records(2, 5).at(0).top;
  auto const stems = Records(2, 10);
  auto const rests = Records(1, 11);
  auto const notes = NoteRecords();
  for (auto const& fermata : fermatas) {
    SCOPED_TRACE(fermata.x);
    NVRect const& ink = fermata.ink;
    auto const over = [&](float left, float right) { return ink.right > left && ink.left < right; };
    EXPECT_LT(ink.bottom, staffTop);
    int under = 0;
    for (auto const& stem : stems) {
      if (!over(stem.left - 2, stem.right + 2)) continue;
      ++under;
      EXPECT_LE(ink.bottom + 10, stem.top) << "on the stem at " << stem.left;
    }
    for (auto const& note : notes) {
      if (!over(note.desc.headX - 30, note.desc.headX + 30)) continue;
      ++under;
      EXPECT_LE(ink.bottom + 10, note.desc.refY - 30) << "on the head at " << note.desc.headX;
    }
    for (auto const& rest : rests) {
      if (!over(rest.refX, rest.refX)) continue;
      ++under;
      EXPECT_NEAR((ink.left + ink.right) / 2, rest.refX, 2);
    }
    EXPECT_GT(under, 0) << "over nothing";
  }
}

// Of two voices on a staff, the lower one's fermata stands turned over below the staff and its
// stem, on a note, a chord or a rest; the upper one's stays above.
TEST_F(FermataTest, TheLowerVoicesFermataStandsTurnedOverBelowTheStaff) {
  Draw(EngineTesting::TwoVoices(
      "e2/2 \\fermata( f2/2 ) | \\fermata( g2/1 ) | \\fermata( a2/1 )",
      "c2/2 \\fermata( a1/2 ) | \\fermata( {c1/1, e1} ) | \\fermata( _/1 )"));
  auto const staff = Records(2, 5).at(0);
  ASSERT_EQ(Glyphs(kFermata).size(), 3u);
  for (auto const& fermata : Glyphs(kFermata)) EXPECT_LT(fermata.ink.bottom, staff.top);
  ASSERT_EQ(Glyphs(117).size(), 3u);
  for (auto const& fermata : Glyphs(117)) {
    float lowest = staff.bottom;  // of the stems and heads over it
    auto const over = [&](float left, float right) {
      return fermata.ink.right > left && fermata.ink.left < right;
    };
    for (auto const& stem : Records(2, 10))
      if (over(stem.left - 2, stem.right + 2)) lowest = std::max(lowest, stem.bottom);
    for (auto const& [page, note] : NoteRecords())
      if (over(note.headX - 30, note.headX + 30)) lowest = std::max(lowest, note.refY + 25);
    EXPECT_GE(fermata.ink.top, lowest + 10) << fermata.x;
  }
}

// Where voices share a staff, a note's staccato, tenuto, accent and marcato stand at its stem's
// end on its voice's side; a fermata there stacks outside them, its ink clear of theirs.
TEST_F(FermataTest, AFermataOfASharedStaffStandsOutsideTheVoicesOtherMarks) {
  std::string const pieces[] = {
      EngineTesting::TwoVoices("\\bm( \\staccBegin \\fermata( h&2/8 ) \\fermata( a2/8 "
                               "\\staccEnd ) ) \\stacc( \\fermata( {e2/4, g2} ) ) "
                               "\\accent( \\fermata( d2/4 ) ) \\marcato( \\fermata( c2/4 ) )",
                               "c1/1"),
      EngineTesting::TwoVoices("e2/1",
                               "\\stacc( \\fermata( e1/4 ) ) \\marcato( \\fermata( d1/8 ) ) "
                               "\\ten( \\stacc( \\fermata( g1/8 ) ) ) "
                               "\\accent( \\fermata( {c1/4, e1} ) ) \\ten( \\fermata( f1/4 ) )"),
  };
  for (std::string const& piece : pieces) {
    SCOPED_TRACE(piece);
    Draw(piece);
    std::vector<NVRect> fermatas, others;
    for (unsigned int code : {kFermata, 117u})
      for (auto const& fermata : Glyphs(code)) {
        NVRect const& ink = fermata.ink;  // with the room it keeps from the marks inside it
        fermatas.push_back(NVRect(ink.left, ink.top - 10, ink.right, ink.bottom + 10));
      }
    ASSERT_EQ(fermatas.size(), 5u);
    for (unsigned int code : {kStaccato, 45u, 62u, 94u, 118u})
      for (auto const& mark : Glyphs(code)) others.push_back(mark.ink);
    EXPECT_EQ(EngineTesting::Overlaps(fermatas, others), 0);
  }
}

}  // namespace
