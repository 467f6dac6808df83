// Slurs drawn on the real music font beside rests: a slur ending on a rest stops over (under) its
// ink, and a slur whose side no voice tells goes to the other side of its notes where another
// voice's rests, moved out of the notes' way, stand over (under) them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawn_score.h"

namespace {

using EngineTesting::PlacingDevice;

// A tie or slur is one band of two curves of 27 points.
constexpr size_t kCurveCorners = 54;
// The rests from a quarter's to a 256th's.
constexpr unsigned int kRests[] = {165, 97, 64, 174, 108, 47, 249};
class CurvesPastRests : public EngineTesting::DrawnScore {
 protected:
  // Each rest a curve's outline passes through, at the curve's ends too.
  std::vector<std::string> RestsMet() const {
    std::vector<std::string> found;
    for (PlacingDevice::Shape const& curve : drawn.shapes) {
      if (curve.xs.size() != kCurveCorners) continue;
      for (PlacingDevice::Glyph const& rest : drawn.glyphs) {
        if (rest.page != curve.page || std::ranges::find(kRests, rest.code) == std::end(kRests))
          continue;
        if (EngineTesting::OutlineCrosses(curve, rest.ink))
          found.push_back("rest " + std::to_string(rest.code) + " at " + std::to_string(rest.x) +
                          ", " + std::to_string(rest.y));
      }
    }
    return found;
  }
};

TEST_F(CurvesPastRests, SlursKeepClearOfTheRestsTheyMeet) {
  for (char const* text : {
           // The slur's last note is a rest: it ends over the rest's ink, not in it.
           "[ \\meter<\"2/4\"> \\slur( e2/8 _/8 ) c2/4 ]",
           // A voice of rests only, moved under (over) the other voice's notes: the slur over
           // those notes goes to the side the rests leave free.
           "{ [ \\staff<1> \\meter<\"3/4\"> \\slur( e1/4 e1/4 e1/4 ) ], "
           "[ \\staff<1> \\meter<\"3/4\"> _/4 _/4 _/4 ] }",
           "{ [ \\staff<1> \\meter<\"3/4\"> \\slur( a2/4 g2/4 a2/4 ) ], "
           "[ \\staff<1> \\meter<\"3/4\"> _/4 _/4 _/4 ] }",
           // The slur keeps to the side its beamed notes leave free: the rest over its first note
           // moves out of the way of its tip.
           "{ [ \\staff<1> \\meter<\"3/4\"> _/4 \\slur( \\tuplet<\"-3-\">( e2/12 g1/12 a1/12 ) ) "
           "_/4 ], [ \\staff<1> \\meter<\"3/4\"> _/4 _/4 _/4 ] }",
       }) {
    SCOPED_TRACE(text);
    Draw(text);
    for (std::string const& met : RestsMet()) ADD_FAILURE() << met << " meets a slur";
  }
}

}  // namespace
