#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GRNotationElement.h"
#include "NEPointerList.h"
#include "graphic_fixture.h"

namespace {

using EngineTesting::GraphicFixture;

class Timed : public GRNotationElement {
 public:
  Timed(Fraction tp, Fraction duration) {
    setRelativeTimePosition(tp);
    setDuration(duration);
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

// A long list answers from an index, which must follow every change of the list.
TEST_F(ElementListTest, ALongListFindsItsElementsAfterEveryChange) {
  std::vector<std::unique_ptr<Timed>> elements;
  for (int i = 0; i < 100; ++i) elements.push_back(std::make_unique<Timed>(Frac_0, Frac_0));
  NEPointerList list;
  for (auto& element : elements) list.AddTail(element.get());
  auto nodeOf = [&list](GRNotationElement const* element) {
    for (void* pos = list.GetHeadPosition(); pos;) {
      void* node = pos;
      if (list.GetNext(pos) == element) return node;
    }
    return static_cast<void*>(nullptr);
  };
  auto expectFound = [&] {
    for (auto& element : elements)
      EXPECT_EQ(list.GetElementPos(element.get()), nodeOf(element.get()));
  };
  expectFound();
  list.RemoveElementAt(list.GetElementPos(elements[50].get()));
  expectFound();
  void* node = list.AddHead(elements[50].get());
  EXPECT_EQ(list.GetElementPos(elements[50].get()), node);
  list.SetAt(list.GetElementPos(elements[10].get()), elements[20].get());  // now twice: the first
  expectFound();
  list.RemoveAll();
  EXPECT_EQ(list.GetElementPos(elements[0].get()), nullptr);
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
}

}  // namespace
