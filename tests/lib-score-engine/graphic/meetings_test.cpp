// Where two signs meet on a few notes: a meter after a bar line and the note after it, a tie
// between close notes, jump signs at one place, a grace note among a chord's notes, a bar line
// inside a shared place, and what a tag asks of its signs' colour and size.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::DrawnScore;
using EngineTesting::Overlap;
using EngineTesting::PlacingDevice;

constexpr unsigned int kFilledHead = 88, kHalfHead = 69, kCoda = 230, kSegno = 37, kSharp = 35;
constexpr float kSpace = 50;

bool IsDigit(unsigned int code) {
  return code >= '0' && code <= '9';
}

class MeetingsTest : public DrawnScore {};

// A meter written after a bar line in mid line keeps about a space before the note after it, as
// it does where it opens the line, whatever the width of its numbers.
TEST_F(MeetingsTest, AMeterAfterABarLineKeepsASpaceBeforeTheNote) {
  for (std::string const change : {"\\meter<\"3/4\"> g0/4 a0 h0", "\\meter<\"100/64\"> g0/4 a0"}) {
    SCOPED_TRACE(change);
    Draw("[ \\clef<\"bass\"> \\meter<\"4/4\"> c0/4 d0 e0 f0 | " + change + " ]");
    auto const bars = Records(3, 0);
    ASSERT_FALSE(bars.empty());
    float const bar = LeftToRight(bars).front().right;
    float meterRight = 0;
    for (auto const& glyph : drawn.glyphs)
      if (IsDigit(glyph.code) && glyph.x > bar) meterRight = std::max(meterRight, glyph.ink.right);
    float note = std::numeric_limits<float>::max();
    for (auto const& head : Glyphs(kFilledHead))
      if (head.ink.left > meterRight) note = std::min(note, head.ink.left);
    EXPECT_GE(note - meterRight, 0.9f * kSpace);
  }
}

// Two tied sixteenths set close: the tie runs from the middle of one head to the middle of the
// other, clear over them, not as a cap the width of the gap between them.
TEST_F(MeetingsTest, ATieBetweenCloseNotesRunsFromHeadToHead) {
  Draw("[ \\meter<\"4/4\"> \\tie( e2/16 e2/16 ) f2/8 g2/4 a2/2 ]");
  auto const ties = Records(2, 17);
  ASSERT_EQ(ties.size(), 1u);
  auto const heads = Glyphs(kFilledHead);
  ASSERT_GE(heads.size(), 2u);
  auto const middle = [](PlacingDevice::Glyph const& head) {
    return (head.ink.left + head.ink.right) / 2;
  };
  EXPECT_LE(ties[0].left, middle(heads[0]) + 1);
  EXPECT_GE(ties[0].right, middle(heads[1]) - 1);
  // The stems point down: the tie stands over the heads.
  EXPECT_LE(ties[0].bottom, std::min(heads[0].ink.top, heads[1].ink.top));
}

// A coda and a segno at one bar line, and both written on one note, stand side by side: no
// sign or word of one lies on the other.
TEST_F(MeetingsTest, JumpSignsAtOnePlaceStandSideBySide) {
  Draw("[ \\meter<\"3/4\"> g2/2. \\coda | \\segno a2/2. | \\segno \\coda h2/2. ]");
  std::vector<NVRect> signs;
  for (unsigned int code : {kCoda, kSegno})
    for (auto const& sign : Glyphs(code)) signs.push_back(sign.ink);
  ASSERT_EQ(signs.size(), 4u);
  for (size_t i = 0; i < signs.size(); ++i)
    for (size_t j = i + 1; j < signs.size(); ++j)
      EXPECT_FALSE(Overlap(signs[i], signs[j])) << i << " on " << j;
  ASSERT_EQ(drawn.texts.size(), 2u);  // the codas' words
  for (auto const& text : drawn.texts)
    for (auto const& segno : Glyphs(kSegno))
      EXPECT_FALSE(Overlap(TextInk(text), segno.ink)) << "segno at " << segno.x;
}

// A grace note written among a chord's notes stands before the chord, small, on a stem and flag
// of its own, as one written before the chord does: nothing of it lies on the chord's heads.
TEST_F(MeetingsTest, AGraceNoteAmongAChordsNotesStandsBeforeTheChord) {
  Draw("[ \\meter<\"4/4\"> {c2/2, \\grace( d2/8 ), e2} g2/2 ]");
  std::vector<PlacingDevice::Glyph> grace, chord;
  for (auto const& glyph : drawn.glyphs) {
    if (FontSize(glyph) == 150) grace.push_back(glyph);
    if ((glyph.code == kFilledHead || glyph.code == kHalfHead) && FontSize(glyph) == 200 &&
        glyph.x < Glyphs(kHalfHead).back().x)
      chord.push_back(glyph);
  }
  ASSERT_EQ(chord.size(), 2u);
  float const chordLeft = std::min(chord[0].ink.left, chord[1].ink.left);
  // The head, the stem and the flag of the grace note.
  ASSERT_GE(grace.size(), 3u);
  for (auto const& glyph : grace) EXPECT_LT(glyph.ink.right, chordLeft) << glyph.code;
  auto const graceHead = std::find_if(grace.begin(), grace.end(),
                                      [](auto const& glyph) { return glyph.code == kFilledHead; });
  ASSERT_NE(graceHead, grace.end());
  EXPECT_TRUE(std::any_of(grace.begin(), grace.end(), [&](auto const& glyph) {
    return glyph.ink.bottom < graceHead->ink.top;  // its stem and flag rise from it
  }));
}

// A note cut by a bar line inside a shared place keeps the bar line between its two halves.
TEST_F(MeetingsTest, ABarLineCuttingANoteOfASharedPlaceStays) {
  Draw("[ \\meter<\"4/4\"> c2/2 \\shareLocation( d2/1 ) e2/2 ]");
  auto const notes = NoteRecords();
  ASSERT_EQ(notes.size(), 4u);
  auto const bars = LeftToRight(Records(3, 0));
  ASSERT_EQ(bars.size(), 2u);  // the bar line and the end bar
  EXPECT_GT(bars[0].left, notes[1].desc.right);
  EXPECT_LT(bars[0].right, notes[2].desc.left);
}

// What a tag says of its signs reaches them: the colour of a tie range reaches the ties made
// from it, the colour of a key its sharps, and a meter's own size its numbers.
TEST_F(MeetingsTest, ColourAndSizeWrittenOnATagReachItsSigns) {
  drawn.calls.clear();
  Draw("[ \\meter<\"4/4\"> \\tie<color=\"red\">( c2/2 c2/2 ) ]");
  EXPECT_NE(std::find(drawn.calls.begin(), drawn.calls.end(), "PushFillColor(rgba(200,0,0,255))"),
            drawn.calls.end());

  Draw("[ \\key<2, color=\"red\"> \\meter<\"3/4\", size=2> c2/4 d2 e2 ]");
  auto const sharps = Glyphs(kSharp);
  ASSERT_EQ(sharps.size(), 2u);
  for (auto const& sharp : sharps) EXPECT_EQ(sharp.color, VGColor(200, 0, 0));
  std::vector<PlacingDevice::Glyph> digits;
  for (auto const& glyph : drawn.glyphs)
    if (IsDigit(glyph.code)) digits.push_back(glyph);
  ASSERT_EQ(digits.size(), 2u);
  float const staffMiddle = Records(2, 5).at(0).top + 2 * kSpace;
  for (auto const& digit : digits) {
    EXPECT_EQ(FontSize(digit), 400);
    EXPECT_GT(digit.ink.bottom - digit.ink.top, 3 * kSpace);
  }
  // The numbers stand one over the other, apart, around the staff's middle.
  EXPECT_LE(digits[0].ink.bottom, digits[1].ink.top + 0.1f * kSpace);
  EXPECT_NEAR((digits[0].ink.top + digits[1].ink.bottom) / 2, staffMiddle, 0.5f * kSpace);
}

}  // namespace
