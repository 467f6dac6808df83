#include <gtest/gtest.h>

#include <memory>

#include "ARClef.h"
#include "ARMusicalVoice.h"
#include "ARSpace.h"
#include "GRClef.h"
#include "GRForceRodEntry.h"
#include "GRGlue.h"
#include "GRSpace.h"
#include "GRSpacingMatrix.h"
#include "GRStaffManager.h"
#include "GRVoice.h"
#include "lib-score-engine/bound_tag.h"
#include "lib-score-engine/given_parameters.h"
#include "spacing_fixture.h"

namespace {

using EngineTesting::Bind;
using EngineTesting::Given;

// Voices whose elements the test places on springs by hand, and a staff manager to take rods.
class VoiceSpacingTest : public EngineTesting::SpacingFixture {
 protected:
  void TearDown() override {
    GRStaffManager::sNeedSpecialSpacing = false;
    SpacingFixture::TearDown();
  }

  GRVoice* NewVoice() {
    arVoices.push_back(std::make_unique<ARMusicalVoice>());
    voices.push_back(std::make_unique<GRVoice>(arVoices.back().get(), false));
    return voices.back().get();
  }
  // An event of duration num/denom at time tp on spring id, with the given room either side.
  GRNotationElement* Note(int staff, Fraction tp, int num, int denom, int id, float left = 20,
                          float right = 20) {
    GRNotationElement* el = Element(staff, 100, left, right);
    el->setRelativeTimePosition(tp);
    el->setDuration(Fraction(num, denom));
    el->setNeedsSpring(1);
    el->tellSpringID(id);
    return el;
  }
  GRSpace* Space(float cm) {
    spaceTags.push_back(std::make_unique<ARSpace>());
    Bind(*spaceTags.back(), Given().Float(cm, "dd", "cm"));
    spaces.push_back(std::make_unique<GRSpace>(spaceTags.back().get(), false));
    return spaces.back().get();
  }
  std::vector<std::vector<int>> NeighbourLists(GRSpacingMatrix const& matrix) const {
    std::vector<std::vector<int>> lists;
    for (void* pos = matrix.getListsByStart()->GetHeadPosition(); pos;) {
      KF_List<int> const* list = matrix.getListsByStart()->GetNext(pos);
      lists.emplace_back();
      for (void* at = list->GetHeadPosition(); at;) lists.back().push_back(list->GetNext(at));
    }
    return lists;
  }
  // Every rod the manager holds is as long as the springs it covers.
  void ExpectRodsReached() {
    for (auto const* rods : {&manager.getSimpleRods(), &manager.getComplexRods()}) {
      for (void* pos = rods->GetHeadPosition(); pos;) {
        GRRod const* rod = rods->GetNext(pos);
        float covered = 0;
        for (int id = rod->getSpr1(); id < rod->getSpr2(); ++id)
          if (GRSpring const* spring = manager.getSprings()->Get(id))
            covered += spring->getExtent();
        EXPECT_GE(covered + 0.01f, rod->getLength()) << rod->getSpr1() << ".." << rod->getSpr2();
      }
    }
  }

  GRStaffManager manager;
  std::vector<std::unique_ptr<ARMusicalVoice>> arVoices;
  std::vector<std::unique_ptr<GRVoice>> voices;
  std::vector<std::unique_ptr<ARSpace>> spaceTags;
  std::vector<std::unique_ptr<GRSpace>> spaces;
};

TEST_F(VoiceSpacingTest, AClefOpensTheSystemWithMoreRoom) {
  auto* clefTag = new ARClef;
  clefTag->setName(NVstring("g2"));
  GRClef clef(clefTag, staves[0], true);
  clef.setNeedsSpring(1);
  clef.tellSpringID(1);
  clef.setLeftSpace(30);
  GRVoice* clefFirst = NewVoice();
  clefFirst->AddTail(&clef);
  GRVoice* noteFirst = NewVoice();
  noteFirst->AddTail(Note(0, Fraction(0, 1), 1, 4, 1, 30, 15));

  for (GRVoice* voice : {clefFirst, noteFirst}) {
    int first = 1, end = 2;
    EXPECT_EQ(voice->createNewRods(&manager, first, end), 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(voice->getFirstRod()->getSpr1(), 0);
    EXPECT_EQ(voice->getFirstRod()->getSpr2(), 1);
  }
  EXPECT_EQ(clefFirst->getFirstRod()->getLength(), 80);
  EXPECT_EQ(noteFirst->getFirstRod()->getLength(), 55);
  EXPECT_EQ(noteFirst->getLastRod()->getLength(), 15);  // its right space up to the end
  int none = 0, one = 1;
  EXPECT_EQ(NewVoice()->createNewRods(&manager, none, one), -1);  // nothing in the system yet
}

TEST_F(VoiceSpacingTest, SpacesBetweenNotesAddUpAndMarkTheRod) {
  GRVoice* voice = NewVoice();
  voice->AddTail(Note(0, Fraction(0, 1), 1, 4, 0));
  voice->AddTail(Space(1));
  voice->AddTail(Space(2));
  voice->AddTail(Note(0, Fraction(1, 4), 1, 4, 1));
  voice->AddTail(Note(0, Fraction(2, 4), 1, 4, 2));
  for (int id = 0; id < 3; ++id) manager.addSpring(new GRSpring(Fraction(id, 4), Fraction(1, 4)));
  int first = 0, end = 3;
  voice->createNewRods(&manager, first, end);
  GRRod const* spaced = nullptr;
  for (void* pos = manager.getSimpleRods().GetHeadPosition(); pos;)
    if (GRRod const* rod = manager.getSimpleRods().GetNext(pos); rod->getSpr1() == 0) spaced = rod;
  ASSERT_NE(spaced, nullptr);
  EXPECT_EQ(spaced->getSpr1(), 0);
  EXPECT_FLOAT_EQ(spaced->getLength(), spaces[0]->getARSpace()->getValue() * 3);
  EXPECT_TRUE(spaced->getIsMarked());
  EXPECT_EQ(manager.getSprings()->Get(0)->isFrozen(), 0);  // free to give room to other staves
  EXPECT_FALSE(voice->getLastRod()->getIsMarked());
  EXPECT_EQ(voice->getLastRod()->getLength(), 20);
}

TEST_F(VoiceSpacingTest, AWrittenSpaceNeverDrawsNotesCloserThanTheirRoom) {
  struct Case {
    float cm;           // the written space
    float left, right;  // room of the note after it and of the note before it
    float length;       // the rod between the two notes
  } const cases[] = {
      {0.1f, 30, 20, 50},  // narrower than the heads need: the heads keep their room
      {0.1f, 60, 40, 100},
      {2.0f, 30, 20, 0},  // wider: the written width (0 stands for it)
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.cm);
    GRStaffManager local;
    for (int id = 0; id < 3; ++id) local.addSpring(new GRSpring(Fraction(id, 4), Fraction(1, 4)));
    GRVoice* voice = NewVoice();
    voice->AddTail(Note(0, Fraction(0, 1), 1, 4, 0, 20, c.right));
    GRSpace* space = Space(c.cm);
    voice->AddTail(space);
    voice->AddTail(Note(0, Fraction(1, 4), 1, 4, 2, c.left, 20));
    int first = 0, end = 3;
    voice->createNewRods(&local, first, end);
    GRRod const* spaced = local.getComplexRods().GetHead();
    ASSERT_NE(spaced, nullptr);
    EXPECT_FLOAT_EQ(spaced->getLength(), c.length > 0 ? c.length : space->getARSpace()->getValue());
    // The springs under it stay free: a sign or another staff's note there still gets room.
    EXPECT_EQ(local.getSprings()->Get(0)->isFrozen(), 0);
    EXPECT_EQ(local.getSprings()->Get(1)->isFrozen(), 0);
  }
}

TEST_F(VoiceSpacingTest, EqualNotesFormOneNeighbourList) {
  GRVoice* voice = NewVoice();
  for (int id = 0; id < 4; ++id) voice->AddTail(Note(0, Fraction(id, 4), 1, 4, id));
  GRSpacingMatrix matrix;
  matrix.resizeMSCMatrix(5);
  EXPECT_EQ(voice->updateMSCMatrix(nullptr, &matrix, &manager, &springs, 0, 4), 0);
  for (int id = 0; id < 4; ++id) EXPECT_EQ(matrix.getMSCMatrix(id, 3), 4) << id;
  EXPECT_EQ(NeighbourLists(matrix), (std::vector<std::vector<int>>{{0, 1, 2, 3, 4}}));

  // A half and two quarters: two runs, and the half's springs keep the higher frequency the
  // first voice gave them.
  GRVoice* other = NewVoice();
  other->AddTail(Note(1, Fraction(0, 1), 1, 2, 0));
  other->AddTail(Note(1, Fraction(2, 4), 1, 4, 2));
  other->AddTail(Note(1, Fraction(3, 4), 1, 4, 3));
  other->updateMSCMatrix(nullptr, &matrix, &manager, &springs, 0, 4);
  EXPECT_EQ(matrix.getMSCMatrix(1, 3), 4);
  EXPECT_EQ(NeighbourLists(matrix),
            (std::vector<std::vector<int>>{{0, 1, 2, 3, 4}, {0, 2}, {2, 3, 4}}));
}

// Complex rods under stretch: zero forces first, then by force, flagged rods last by falling
// first spring, so taking from the back stretches flagged rods first.
TEST_F(VoiceSpacingTest, ForceEntriesOrderFlaggedRodsLast) {
  GRRod plain(10, 0, 3), flaggedLow(10, 1, 3), flaggedHigh(10, 4, 6);
  flaggedLow.setIsMarked(true);
  flaggedHigh.setIsMarked(true);
  struct Case {
    GRForceRodEntry a, b;
    int order;
  } const cases[] = {
      {{0, &flaggedLow}, {5, &plain}, -1},     {{0, &plain}, {0, &flaggedLow}, 0},
      {{5, &flaggedLow}, {9, &plain}, 1},      {{5, &plain}, {9, &plain}, -1},
      {{9, &plain}, {9, &plain}, 0},           {{9, &flaggedHigh}, {1, &flaggedLow}, -1},
      {{1, &flaggedLow}, {9, &flaggedLow}, 0},
  };
  for (Case const& c : cases) EXPECT_EQ(GRForceRodEntry::comp(&c.a, &c.b), c.order);
}

// Two staves after the start glue, a clef and a key: a half note and a half against a quarter,
// a half and a quarter.
TEST_F(VoiceSpacingTest, BuildSFFGivesEachGapTheShortestSpanningNote) {
  GRVoice* upper = NewVoice();
  GRVoice* lower = NewVoice();
  GRGlue glue(staves[0], GRGlue::START_GLUE);
  auto* clefTag = new ARClef;
  clefTag->setName(NVstring("g2"));
  GRClef clef(clefTag, staves[0], true);
  clef.setNeedsSpring(1);
  clef.setLeftSpace(10);
  clef.setRightSpace(60);
  GRNotationElement* key = Note(0, Fraction(0, 1), 0, 1, 2, 10, 40);
  GRNotationElement* upperNotes[] = {Note(0, Fraction(0, 1), 1, 2, 3),
                                     Note(0, Fraction(1, 2), 1, 2, 5)};
  GRNotationElement* lowerNotes[] = {Note(1, Fraction(0, 1), 1, 4, 3),
                                     Note(1, Fraction(1, 4), 1, 2, 4, 20, 90),
                                     Note(1, Fraction(3, 4), 1, 4, 6)};
  manager.addSpring(new GRSpring(&glue, nullptr));
  manager.addSpring(new GRSpring(&clef, upper));
  manager.addSpring(new GRSpring(key, upper));
  upper->AddTail(&clef);
  upper->AddTail(key);
  for (GRNotationElement* note : upperNotes) upper->AddTail(note);
  for (GRNotationElement* note : lowerNotes) lower->AddTail(note);
  Fraction const times[] = {Fraction(0, 1), Fraction(1, 4), Fraction(1, 2), Fraction(3, 4),
                            Fraction(1, 1)};
  for (Fraction const& tp : times) manager.addSpring(new GRSpring(tp, Fraction(0, 1)));
  auto* springsOf = manager.getSprings();
  springsOf->Get(3)->addElement(upperNotes[0], upper);
  springsOf->Get(3)->addElement(lowerNotes[0], lower);
  springsOf->Get(4)->addElement(lowerNotes[1], lower);
  springsOf->Get(5)->addElement(upperNotes[1], upper);
  springsOf->Get(6)->addElement(lowerNotes[2], lower);
  manager.addVoice(upper);
  manager.addVoice(lower);
  const float clefConstant = springsOf->Get(1)->getConstant();

  std::unique_ptr<GRSpaceForceFunction2> sff(manager.BuildSFF());
  struct Expected {
    int id;
    float constant;
  } const expected[] = {
      {1, clefConstant},  // no gap: kept
      {3, 3.14f},         // a quarter spans it
      {4, 3.994f},        // two halves: 1/2 over a gap of 1/4
      {5, 3.994f},       {6, 3.14f},
  };
  for (Expected const& e : expected)
    EXPECT_NEAR(springsOf->Get(e.id)->getConstant(), e.constant, 0.001f) << e.id;
  EXPECT_EQ(sff->getRecords().GetCount(), 8);
  ExpectRodsReached();
  // The wide half note of the lower staff needs more than its own gap.
  EXPECT_NEAR(springsOf->Get(4)->getExtent() + springsOf->Get(5)->getExtent(), 110, 0.01f);
}

TEST_F(VoiceSpacingTest, RodsKeepRodOrder) {
  struct Added {
    float length;
    int first, end;
    bool front;
  } const rods[] = {{5, 3, 4, false}, {5, 1, 2, false}, {5, 2, 3, true},
                    {5, 0, 3, false}, {5, 0, 1, true},  {5, 1, 4, true}};
  for (Added const& r : rods)
    manager.addRod(new GRRod(r.length, r.first, r.end), false, r.front, -1);
  auto firsts = [](KF_IPointerList<GRRod> const& list) {
    std::vector<int> ids;
    for (void* pos = list.GetHeadPosition(); pos;) ids.push_back(list.GetNext(pos)->getSpr1());
    return ids;
  };
  EXPECT_EQ(firsts(manager.getSimpleRods()), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(firsts(manager.getComplexRods()), (std::vector<int>{0, 1}));
  manager.deleteRod(manager.getComplexRods().GetHead());
  EXPECT_EQ(firsts(manager.getComplexRods()), (std::vector<int>{1}));

  GRGlue start(staves[0], GRGlue::START_GLUE);
  EXPECT_DEATH(manager.addElementToSpring(&start, 1), "springid == 0 \\|\\| springid == -1");
}

}  // namespace
