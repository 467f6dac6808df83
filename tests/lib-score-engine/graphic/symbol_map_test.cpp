#include <gtest/gtest.h>

#include <sstream>

#include "ScoreSymbolMap.h"
#include "graphic_fixture.h"

namespace {

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

// A device that has drawn with its origin moved and its scale changed.
class MovedDevice : public EngineTesting::RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;
  float GetXScale() const override { return 2; }
  float GetYScale() const override { return 3; }
  float GetXOrigin() const override { return 10; }
  float GetYOrigin() const override { return 20; }
};

ScoreElementDesc Desc(int kind, float left, float top, float right, float bottom, float date = 0,
                      float duration = 0) {
  ScoreElementDesc d;
  d.kind = kind;
  d.left = left;
  d.top = top;
  d.right = right;
  d.bottom = bottom;
  d.date = date;
  d.duration = duration;
  return d;
}

class SymbolMapTest : public EngineTesting::GraphicFixture {
 protected:
  void Add(ScoreElementDesc const& d) { symbols.AddElement(device, d); }
  std::string Finish() {
    CaptureStdout();
    symbols.Finish();
    return GetCapturedStdout();
  }

  ScoreSymbolMap symbols;
};

TEST_F(SymbolMapTest, RecordsTakeTheDeviceCoordinates) {
  MovedDevice moved(&system);
  ScoreElementDesc d = Desc(1, 1, 2, 3, 4);
  d.refX = 5;
  d.refY = 6;
  d.headX = 7;
  symbols.AddElement(moved, d);
  CScoreElement const* e = symbols.GetElement(0);
  EXPECT_EQ(e->left, 22);
  EXPECT_EQ(e->top, 66);
  EXPECT_EQ(e->right, 26);
  EXPECT_EQ(e->bottom, 72);
  EXPECT_EQ(e->refX, 30);
  EXPECT_EQ(e->refY, 78);
  EXPECT_EQ(e->headX, 34);
  symbols.SetDent(moved, 50);
  EXPECT_EQ(symbols.GetDent(), 150);
  EXPECT_EQ(symbols.ElementCountForType(1), 1);
  EXPECT_EQ(symbols.ElementCountForType(-1), 0);
  EXPECT_EQ(symbols.ElementCountForType(10), 0);
}

TEST_F(SymbolMapTest, TheMapHoldsEveryElementAndNoneMoves) {
  Add(Desc(4, 0, 0, 1, 1));
  CScoreElement const* first = symbols.GetElement(0);
  CaptureStdout();
  for (int i = 1; i < 5000; ++i) Add(Desc(4, 0, 0, 1, 1));
  Add(Desc(1, 0, 0, 1, 1));
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(symbols.ElementCount(), 5001);
  EXPECT_EQ(symbols.ElementCountForType(1), 1);
  EXPECT_EQ(symbols.GetElement(0), first);  // tree links stay valid
  symbols.Reset();
  EXPECT_TRUE(symbols.IsEmpty());
  EXPECT_EQ(symbols.GetRootElement(), nullptr);
  Add(Desc(1, 0, 0, 1, 1));
  EXPECT_EQ(symbols.ElementCountForType(1), 1);
}

// page > system > slice > two staves, the upper one ending at its bar, then a second system.
TEST_F(SymbolMapTest, TheTreeFollowsTheDrawingOrder) {
  Add(Desc(1, 0, 0, 10, 10, 0.25f, 0.5f));  // before any staff
  Add(Desc(8, 0, 0, 1000, 1400));
  Add(Desc(7, 0, 0, 0, 0));
  Add(Desc(6, 0, 0, 0, 0));
  Add(Desc(5, 50, 100, 900, 300));
  Add(Desc(1, 100, 150, 120, 170, 0, 0.25f));
  Add(Desc(3, 400, 100, 400, 300));
  Add(Desc(2, 0, 0, 2000, 2000));   // never widens anything
  Add(Desc(5, 50, 400, 900, 600));  // the bar above ends the upper staff only
  Add(Desc(1, 500, 450, 520, 470, 0.5f, 0.25f));
  Add(Desc(5, 50, 600, 900, 700));  // empty: leaves the tree
  Add(Desc(7, 0, 0, 0, 0));
  Add(Desc(6, 0, 0, 0, 0));  // empty: leaves the tree
  Add(Desc(6, 0, 0, 0, 0));
  Add(Desc(5, 60, 700, 900, 900));  // a new system: its own left
  Add(Desc(1, 100, 750, 120, 770, 1, 1));
  EXPECT_EQ(Finish(), "ScoreSymbolMap error: no current staff\n");

  CScoreElement* page = symbols.GetRootElement();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(symbols.GetMinDate(), 0);
  EXPECT_EQ(symbols.GetMaxDate(), 2);
  EXPECT_EQ(symbols.GetElement(0)->parent(), nullptr);
  ASSERT_EQ(page->children().size(), 2u);
  CScoreElement* firstSystem = page->children()[0];
  CScoreElement* slice = firstSystem->children()[0];
  ASSERT_EQ(slice->children().size(), 2u);
  CScoreElement* upper = slice->children()[0];
  CScoreElement* lower = slice->children()[1];
  EXPECT_EQ(upper->right, 400);  // cut at the bar
  EXPECT_EQ(lower->left, 50);
  EXPECT_EQ(lower->index(), 1);
  EXPECT_EQ(slice->date, 0);
  EXPECT_EQ(slice->duration, 0.75f);
  EXPECT_EQ(slice->left, 50);
  EXPECT_EQ(slice->bottom, 700);  // boxes are widened before empty staves go

  CScoreElement* secondSystem = page->children()[1];
  ASSERT_EQ(secondSystem->children().size(), 1u);  // the empty slice went
  CScoreElement* lastStaff = secondSystem->children()[0]->children()[0];
  EXPECT_EQ(lastStaff->left, 60);
  EXPECT_EQ(lastStaff->children().size(), 2u);  // its event and every kind 2 element
  EXPECT_EQ(lastStaff->children()[1]->kind, 2);
  EXPECT_EQ(lastStaff->right, 900);
  EXPECT_EQ(symbols.ElementCountForType(6), 2);
  EXPECT_EQ(symbols.ElementCountForType(5), 3);
  EXPECT_EQ(page->duration, 2);

  std::ostringstream listing;
  secondSystem->Print(listing, 1);
  // The empty slice, dated 0, still counted when the durations were gathered.
  EXPECT_EQ(listing.str().substr(0, listing.str().find('\n') + 3),
            "\\system<date=\"0\" duration=\"2\" box=\"60, 700, 900, 900\">\n  ");
}

TEST_F(SymbolMapTest, ErrorsNameWhatIsMissing) {
  for (int kind : {3, 5, 6, 7}) Add(Desc(kind, 0, 0, 0, 0));
  EXPECT_EQ(Finish(),
            "ScoreSymbolMap error: no current staff\n"
            "ScoreSymbolMap error: no current system slice\n"
            "ScoreSymbolMap error: no current system\n"
            "ScoreSymbolMap error: no current page\n");
  EXPECT_EQ(symbols.GetRootElement(), nullptr);
  std::ostringstream out;
  ScoreSymbolMap::DispSymbolInfos(out, nullptr);
  EXPECT_EQ(out.str(), "\\null\n");
}

}  // namespace
