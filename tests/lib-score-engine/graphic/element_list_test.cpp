#include <gtest/gtest.h>

#include <memory>

#include "GRNotationElement.h"
#include "NEPointerList.h"
#include "graphic_fixture.h"

namespace {

using EngineTesting::GraphicFixture;

class Timed : public GRNotationElement {
 public:
  Timed(Fraction tp, Fraction duration, unsigned int symbol = 0) {
    setRelativeTimePosition(tp);
    setDuration(duration);
    mSymbol = symbol;
  }
};

class ElementListTest : public GraphicFixture {};

TEST_F(ElementListTest, EqualTimesKeepTheOrderTheyCameIn) {
  Timed late1(Frac_1_4, Frac_0), early(Frac_0, Frac_0), late2(Frac_1_4, Frac_0);
  NEPointerList list;
  list.AddAtCorrectTimePosition(&late1);
  list.AddAtCorrectTimePosition(&early);
  list.AddAtCorrectTimePosition(&late2);
  void* pos = list.GetHeadPosition();
  EXPECT_EQ(list.GetNext(pos), &early);
  EXPECT_EQ(list.GetNext(pos), &late1);
  EXPECT_EQ(list.GetNext(pos), &late2);
}

TEST_F(ElementListTest, ShortestDurationsWithAndWithoutTheZeroOnes) {
  Timed none(Frac_0, Frac_0), eighth1(Frac_0, Frac_1_8), quarter(Frac_0, Frac_1_4),
      eighth2(Frac_0, Frac_1_8);
  NEPointerList list;
  for (Timed* e : {&none, &eighth1, &quarter, &eighth2}) list.AddTail(e);
  std::unique_ptr<NEPointerList> shortest(list.getElementsWithShortestDuration());
  ASSERT_EQ(shortest->GetCount(), 1);
  EXPECT_EQ(shortest->GetHead(), &none);
  std::unique_ptr<NEPointerList> positive(list.getElementsWithShortestDurationNotNull());
  ASSERT_EQ(positive->GetCount(), 2);
  EXPECT_EQ(positive->GetHead(), &eighth1);
  EXPECT_EQ(positive->GetTail(), &eighth2);
  NEPointerList zeros;
  zeros.AddTail(&none);
  EXPECT_EQ(
      std::unique_ptr<NEPointerList>(zeros.getElementsWithShortestDurationNotNull())->GetCount(),
      0);
}

TEST_F(ElementListTest, DrawingAndPlacingReachEveryElementInOrder) {
  StartEngine();
  Timed a(Frac_0, Frac_0, 65), b(Frac_0, Frac_0, 66);
  NEPointerList list;
  list.AddTail(&a);
  list.AddTail(&b);
  list.setPosition({10, 20});
  list.setHPosition(30);
  list.OnDraw(device, map);
  EXPECT_EQ(device.calls[2],
            "DrawMusicSymbol(30,20,65) font=Razid2@200 color=rgba(0,0,0,255) align=17");
  EXPECT_EQ(device.calls[5],
            "DrawMusicSymbol(30,20,66) font=Razid2@200 color=rgba(0,0,0,255) align=17");
}

}  // namespace
