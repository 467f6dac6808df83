#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "ARCast.h"
#include "GRGlue.h"
#include "GRPositionTag.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "laid_out_fixture.h"

namespace {

class ElementCastTest : public EngineTesting::LaidOutFixture {
 protected:
  // The staves of every slice and the elements on them.
  std::vector<GRNotationElement*> Elements() const {
    std::vector<GRNotationElement*> elements;
    for (GRSystem* system : Systems()) {
      for (void* at = system->getSlices().GetHeadPosition(); at;) {
        GRSystemSlice const* slice = system->getSlices().GetNext(at);
        int lowest = 0;
        int highest = -1;
        slice->getStaffRange(lowest, highest);
        for (int n = lowest; n <= highest; ++n) {
          GRStaff* staff = slice->getStaff(n);
          if (!staff) continue;
          elements.push_back(staff);
          for (void* pos = staff->getElements().GetHeadPosition(); pos;)
            elements.push_back(staff->getElements().GetNext(pos));
        }
      }
    }
    return elements;
  }
};

// Counts the answers that differ from dynamic_cast's.
int Mismatches(std::vector<GRNotationElement*> const& elements) {
  int wrong = 0;
  auto same = [&wrong](void const* a, void const* b) { wrong += a != b; };
  for (GRNotationElement* element : elements) {
    GObject const* object = element;
    same(ar_cast<GRPositionTag>(element), dynamic_cast<GRPositionTag*>(element));
    same(ar_cast<GRTag const>(object), dynamic_cast<GRTag const*>(object));
    same(ar_cast<GRSingleNote>(element), dynamic_cast<GRSingleNote*>(element));
    same(ar_cast<GRGlue const>(object), dynamic_cast<GRGlue const*>(object));
    // The staff's element base is virtual.
    same(ar_cast<GRStaff>(element), dynamic_cast<GRStaff*>(element));
    same(ar_cast<GRCompositeNotationElement>(element),
         dynamic_cast<GRCompositeNotationElement*>(element));
    // From a spanner's other base back to the element.
    if (GRPositionTag* spanner = dynamic_cast<GRPositionTag*>(element))
      same(ar_cast<GRNotationElement>(spanner), element);
  }
  return wrong;
}

// The layout asks ar_cast in place of dynamic_cast for its elements too: the same subobject for
// every element of a laid-out score, the first time and from the table, also while another
// thread fills the same tables.
TEST_F(ElementCastTest, AnswersAsDynamicCastForEveryElementOfAScore) {
  LayOut(
      "{ [ \\staff<1> \\clef<\"g2\"> \\key<\"F\"> \\meter<\"3/4\"> \\slur(c1/8 d e f) "
      "{ e1/4, g1, c2 } \\tie(g1/4 g1/4) \\beam(a1/16 b a g) \\cresc(f1/4 e d) ], "
      "[ \\staff<2> \\clef<\"f4\"> c0/2. \\grace(d0/8) e0/2 _/4 ] }");
  std::vector<GRNotationElement*> const elements = Elements();
  ASSERT_GT(elements.size(), 30u);
  int wrong[2] = {-1, -1};
  std::thread other([&] { wrong[1] = Mismatches(elements) + Mismatches(elements); });
  wrong[0] = Mismatches(elements) + Mismatches(elements);
  other.join();
  EXPECT_EQ(wrong[0], 0);
  EXPECT_EQ(wrong[1], 0);
}

}  // namespace
