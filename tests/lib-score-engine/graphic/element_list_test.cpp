#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "GRNotationElement.h"
#include "NEPointerList.h"
#include "appended_fold.h"
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

namespace {

// A fold over a list that grows takes each element in once; a list changed otherwise is taken in
// whole again, so that the fold never misses an element or keeps one that went.
TEST_F(ElementListTest, AFoldTakesInWhatWasAddedAndStartsAgainAfterOtherChanges) {
  std::vector<std::unique_ptr<Timed>> elements;
  for (int i = 0; i < 6; ++i) elements.push_back(std::make_unique<Timed>(Frac_0, Frac_0));
  NEPointerList list;
  AppendedFold fold;
  int starts = 0;
  std::vector<GRNotationElement*> taken;
  auto update = [&] {
    fold.update(
        list,
        [&] {
          ++starts;
          taken.clear();
        },
        [&](GRNotationElement* element) { taken.push_back(element); });
  };
  list.AddTail(elements[0].get());
  list.AddTail(elements[1].get());
  update();
  list.AddTail(elements[2].get());
  update();
  update();
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(taken, (std::vector<GRNotationElement*>{elements[0].get(), elements[1].get(),
                                                    elements[2].get()}));

  // Put in between, then appended: as many more versions as more elements, but not at the end.
  list.AddElementAt(list.GetHeadPosition(), elements[3].get());
  update();
  EXPECT_EQ(starts, 2);
  EXPECT_EQ(taken.size(), 4u);

  // Removed and another appended: the count is the same as before the two changes.
  list.RemoveElement(elements[1].get());
  list.AddTail(elements[4].get());
  update();
  EXPECT_EQ(starts, 3);
  EXPECT_EQ(taken, (std::vector<GRNotationElement*>{elements[3].get(), elements[0].get(),
                                                    elements[2].get(), elements[4].get()}));
}

}  // namespace
