#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "GRGlue.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"

namespace {

using EngineTesting::GraphicFixture;

// One system of two slices with staves 0 and 1 each; the staves start in the treble clef.
class StaffTest : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    for (int s = 0; s < 2; ++s) {
      auto* slice = new GRSystemSlice(nullptr, Fraction(s, 1));
      system.AddSystemSlice(slice);
      for (int n = 0; n < 2; ++n) {
        staves[s][n] = new GRStaff(slice);
        slice->addStaff(staves[s][n], n);
      }
    }
    staff = staves[0][0];
  }
  std::vector<int> Accidentals(int pitch, int accidentals) const {
    GRStaff::AccidentalSigns const signs = staff->askAccidentals(pitch, 1, accidentals);
    return {signs.begin(), signs.end()};
  }

  GRSystem system;
  GRStaff* staves[2][2] = {};
  GRStaff* staff = nullptr;
};

TEST_F(StaffTest, NotesStandWhereTheTrebleClefPutsThem) {
  struct Case {
    int pitch, octave;
    float position;
    int ledgerLines, stem;
  } const cases[] = {
      {6, 1, 150, 0, 1},   // g1, second line from the bottom
      {2, 1, 250, -1, 1},  // c1, one ledger line below
      {9, 1, 250, -1, 1},  // cis1 stands with c1
      {11, 1, 175, 0, 1},  // fis1 with f1
      {8, 1, 100, 0, -1},  // h1 on the middle line: stem down
      {7, 2, -50, 1, -1},  // a2, one ledger line above
      {0, 1, 0, 0, -1},    // no pitch
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << c.pitch << "/" << c.octave);
    EXPECT_EQ(staff->getNotePosition(c.pitch, c.octave), c.position);
    EXPECT_EQ(staff->getNumHelplines(c.pitch, c.octave), c.ledgerLines);
    EXPECT_EQ(staff->getDefaultThroatDirection(c.pitch, c.octave), c.stem);
  }
  // A staff format of negative size turns the staff over: no ledger lines, and the search for
  // a key's octave ends.
  staves[1][0]->getStaffState().lineSpace = -50;
  EXPECT_EQ(staves[1][0]->getNumHelplines(2, 1), 0);
  staves[1][0]->getKeyPosition(5, 1);
  EXPECT_EQ(staff->getNumlines(), 5);
  EXPECT_EQ(staff->getDredgeSize(), 200);
  EXPECT_EQ(staff->getFontSize(), 200);
}

TEST_F(StaffTest, KeySignatureAccidentalsStayWithinTheStaff) {
  struct Case {
    bool alto;
    int pitch, direction;
    float position;
  } const cases[] = {
      {false, 5, 1, 0},    {false, 2, 1, 75},  {false, 6, 1, -25},  {false, 3, 1, 50},
      {false, 8, -1, 100}, {false, 4, -1, 25}, {false, 7, -1, 125}, {true, 5, 1, 25},
      {true, 8, -1, 125},  {false, 0, 1, 0},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.alto ? "alto " : "treble ") << c.pitch);
    if (c.alto)
      staff->setClefParameters("c3", 2, 1, 2, GRStaffState::CLEFEXPLICIT);
    else
      staff->setClefParameters("g2", 6, 1, 3, GRStaffState::CLEFEXPLICIT);
    EXPECT_EQ(staff->getKeyPosition(c.pitch, c.direction), c.position);
  }
}

TEST_F(StaffTest, AccidentalsAreAskedForAgainstKeyAndMeasure) {
  EXPECT_EQ(Accidentals(2, 0), std::vector<int>{});
  EXPECT_EQ(Accidentals(2, 1), std::vector<int>{1});
  EXPECT_EQ(Accidentals(9, 0), std::vector<int>{1}) << "a chromatic pitch brings its sharp";
  EXPECT_EQ(Accidentals(1, 0), std::vector<int>{}) << "a rest has none";
  int const gMajor[GRStaffState::kPitches] = {0, 0, 0, 1};
  staff->setKeyParameters(1, gMajor);
  EXPECT_EQ(Accidentals(5, 1), std::vector<int>{});
  EXPECT_EQ(Accidentals(5, 0), std::vector<int>{-10});
  EXPECT_EQ(Accidentals(5, -1), std::vector<int>{-1});
}

TEST_F(StaffTest, StavesKnowTheirNumberAndTheStaffBefore) {
  EXPECT_EQ(staves[1][1]->getStaffNumber(), 1);
  EXPECT_EQ(staves[1][1]->getGRSystem(), &system);
  EXPECT_EQ(staves[1][1]->getPreviousStaff(), staves[0][1]);
  EXPECT_EQ(staves[0][1]->getPreviousStaff(), nullptr);
  EXPECT_EQ(staves[1][0]->getRelativeTimePosition(), Frac_1);

  // Elements sort down the system: staff number first, then y; no staff goes above.
  auto* low = new GRGlue(staves[0][1], GRGlue::SECOND_GLUE);
  auto* high = new GRGlue(staves[0][0], GRGlue::SECOND_GLUE);
  staves[0][1]->AddSecondGlue(low);
  staves[0][0]->AddSecondGlue(high);
  high->setPosition({0, 500});
  GRGlue loose(nullptr, GRGlue::END_GLUE);
  EXPECT_EQ(low->getStaffNumber(), 1);
  EXPECT_EQ(compnotposy(low, high), 1);
  EXPECT_EQ(compnotposy(&loose, high), -1);
  EXPECT_EQ(compnotposy(high, high), 0);
}

TEST_F(StaffTest, ALaterSecondGlueBecomesThePartnerOfTheFirst) {
  auto* first = new GRGlue(staff, GRGlue::SECOND_GLUE);
  auto* second = new GRGlue(staff, GRGlue::SECOND_GLUE);
  auto* third = new GRGlue(staff, GRGlue::SECOND_GLUE);
  staff->AddSecondGlue(first);
  staff->AddSecondGlue(second);
  staff->AddSecondGlue(third);
  EXPECT_EQ(staff->getSecondGlue(), first);
  EXPECT_EQ(first->getPartner(), second);
  EXPECT_EQ(second->getAssociations()->GetHead(), first);
  EXPECT_EQ(third->getAssociations(), nullptr);
  EXPECT_EQ(staff->getElements().GetCount(), 3);
}

TEST_F(StaffTest, StaffDrawsLinesThenElementsAndReportsItself) {
  staff->setLength(400);
  staff->setPosition({10, 20});
  staves[1][0]->setLength(100);
  staves[1][0]->setPosition({410, 20});
  staff->OnDraw(device, map);
  EXPECT_EQ(device.calls.front(), "PushPen(rgba(0,0,0,122),4)");
  // The lines run on over the staff of the next slice, which draws none of its own.
  EXPECT_EQ(device.calls[1], "Line(10,20,510,20)");
  // The closing line stands between the lines, crossing none.
  EXPECT_EQ(device.calls[6], "Line(10,66,10,24)");
  EXPECT_EQ(device.calls[9], "Line(10,216,10,174)");
  ASSERT_EQ(map.elements.size(), 2u);
  EXPECT_EQ(map.elements[0].kind, 5);
  EXPECT_EQ(map.elements[1].kind, 2);
  EXPECT_EQ(map.elements[1].subtype, 5);
  EXPECT_EQ(map.elements[1].right, 410);
  EXPECT_EQ(map.elements[1].bottom, 220);
  EXPECT_EQ(map.GetDent(), 50);
  device.calls.clear();
  staves[1][0]->OnDraw(device, map);
  for (auto const& call : device.calls) EXPECT_EQ(call.rfind("Line(", 0), std::string::npos);
}

}  // namespace
