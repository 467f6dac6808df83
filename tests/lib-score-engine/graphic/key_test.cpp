#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ARKey.h"
#include "GRKey.h"
#include "marks_fixture.h"

namespace {

using EngineTesting::MarksFixture;

class KeyTest : public MarksFixture {
 protected:
  // Glyph, x and y of each accidental of a key made on a line that already shows a key.
  std::vector<std::vector<float>> Accidentals(int fifths, int shown, int natural = 0) {
    ARKey shownKey(shown);  // outlives the line, whose key reads it when it goes
    GRStaff line(staff->getGRSystemSlice());
    if (shown != 0) line.AddKey(&shownKey);
    ARKey key(fifths);
    GRKey grKey(&line, &key, natural, false);
    std::vector<std::vector<float>> signs;
    for (void* pos = grKey.First(); pos;) {
      GRNotationElement* sign = grKey.GetNext(pos);
      signs.push_back({float(sign->getSymbol()), sign->getPosition().x, sign->getPosition().y});
    }
    width = grKey.getBoundingBox().right - grKey.getBoundingBox().left;
    leftSpace = grKey.getLeftSpace();
    return signs;
  }
  static int SignCount(GRKey const& grKey) {
    int count = 0;
    for (void* pos = grKey.First(); pos; grKey.GetNext(pos)) ++count;
    return count;
  }
  float Sharp(int name) const { return staff->getKeyPosition(name, 1); }
  float Flat(int name) const { return staff->getKeyPosition(name, -1); }

  float width = -1;
  float leftSpace = -1;
};

// Accidentals 100 wide claim 60 on their left and 50 on their right, with 5 between them.
TEST_F(KeyTest, AccidentalsInTheOrderOfFifthsShowingOnlyWhatChanges) {
  using Signs = std::vector<std::vector<float>>;
  EXPECT_EQ(Accidentals(2, 0), (Signs{{35, 65, 0}, {35, 180, 75}}));  // f, c
  EXPECT_EQ(Sharp(5), 0);
  EXPECT_EQ(Accidentals(-4, 0),  // b, e, a, d
            (Signs{{98, 65, Flat(8)}, {98, 180, Flat(4)}, {98, 295, Flat(7)}, {98, 410, Flat(3)}}));
  // From 2 to 3 sharps only the g is added.
  EXPECT_EQ(Accidentals(3, 2), (Signs{{35, 65, Sharp(6)}}));
  // Cancelling 3 sharps: naturals on g, c, f; a copy of the key shown cancels it whole.
  EXPECT_EQ(Accidentals(0, 3, 1),
            (Signs{{110, 65, Flat(6)}, {110, 180, Flat(2)}, {110, 295, Flat(5)}}));
  EXPECT_EQ(Accidentals(3, 3, 1),
            (Signs{{110, 65, Sharp(5)}, {110, 180, Sharp(2)}, {110, 295, Sharp(6)}}));
  // The key in force, or no key against none, shows nothing.
  EXPECT_EQ(Accidentals(3, 3), Signs{});
  EXPECT_EQ(Accidentals(0, 0), Signs{});
  EXPECT_EQ(width, 0);
  EXPECT_EQ(leftSpace, 50);
}

TEST_F(KeyTest, KeysOfAnySizeAddUpTheirFifths) {
  int keyArray[GRKey::kEntries];
  EXPECT_EQ(GRKey::getNonFreeKeyArray(8, keyArray), 8);
  EXPECT_THAT(keyArray, testing::ElementsAre(1, 1, 1, 2, 1, 1, 1, 0, 0, 0, 0, 0));
  // A key tag may write any number: it is counted, not walked, so it ends at once.
  GRKey::getNonFreeKeyArray(-2000000000, keyArray);
  EXPECT_EQ(keyArray[6], -285714286);
  EXPECT_EQ(keyArray[0], -285714285);
  EXPECT_EQ(Accidentals(2000000000, -2000000000).size(), 7u);

  ARKey key(2);
  ARKey other(2);
  GRKey grKey(nullptr, &key, 0, false);
  EXPECT_EQ(grKey.First(), nullptr);
  grKey.setGRStaff(staff);
  grKey.setPosition(NVPoint{100, 40});
  EXPECT_EQ(grKey.GetTail()->getPosition().x, 280);
  EXPECT_TRUE(grKey == static_cast<GRTag const&>(GRKey(staff, &other, 0, false)));
}

// A line shows no key before its first one, whatever key the line before left in force; and a
// key built again when the state is replayed keeps its signs.
TEST_F(KeyTest, TheFirstKeyOfALineIsDrawnWholeAndStaysSoWhenTheStateIsReplayed) {
  ARKey key(3);
  GRStaff line(staff->getGRSystemSlice());
  line.getStaffState().numkeys = 3;
  auto* grKey = static_cast<GRKey*>(line.AddKey(&key));
  EXPECT_EQ(SignCount(*grKey), 3);
  line.UpdateStaffState(nullptr);
  EXPECT_EQ(SignCount(*grKey), 3);
  EXPECT_EQ(line.shownKeyNumber(nullptr), 3);
  EXPECT_EQ(line.shownKeyNumber(grKey), 0);
}

}  // namespace
