// The voice manager walked as the staff manager walks it, on parsed RMN.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ARClef.h"
#include "ARDisplayDuration.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARNote.h"
#include "ARRest.h"
#include "ARShareStem.h"
#include "GRBar.h"
#include "GRBowing.h"
#include "GRClef.h"
#include "GRDummy.h"
#include "GRGlobalStem.h"
#include "GRGrace.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPositionTag.h"
#include "GRRepeatEnd.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRVoice.h"
#include "NEPointerList.h"
#include "laid_out_fixture.h"
#include "parse_music.h"
#include "voice_walk.h"

namespace {

using EngineTesting::ElementsOf;
using EngineTesting::VoiceWalk;
using Kinds = std::vector<std::string>;

class VoiceManagerTest : public EngineTesting::GraphicFixture {
 protected:
  // The codes voice v reported, as "t1" or "e2", in order.
  static std::vector<std::string> Codes(VoiceWalk const& walk, int voice) {
    std::vector<std::string> codes;
    for (VoiceWalk::Call const& call : walk.calls)
      if (call.voice == voice) codes.push_back(call.pass + std::to_string(call.code));
    return codes;
  }
  static bool Knows(GRNotationElement const* element, GRNotationElement const* other) {
    NEPointerList* links = element->getAssociations();
    return links && links->GetElementPos(const_cast<GRNotationElement*>(other)) != nullptr;
  }
};

TEST_F(VoiceManagerTest, TagsAndEventsBecomeTheStaffsElementsInOrder) {
  struct Case {
    char const* rmn;
    Kinds kinds;  // glues left out; clef and key come from the automatic passes
  } const cases[] = {
      // The repeat begin gets the bar line a line broken there ends with; the sign hides it.
      {R"([ \meter<"2/4"> c d \bar e f \doubleBar g a \repeatBegin c d \repeatEnd e f ])",
       {"GRClef", "GRKey", "GRMeter", "GRSingleNote", "GRSingleNote", "GRBar", "GRSingleNote",
        "GRSingleNote", "GRDoubleBar", "GRSingleNote", "GRSingleNote", "GRBar", "GRRepeatBegin",
        "GRSingleNote", "GRSingleNote", "GRRepeatEnd", "GRSingleNote", "GRSingleNote",
        "GRFinishBar"}},
      // A tempo mark is the system's, not the staff's; a space needs no spring of its own.
      {R"([ \tempo<"Allegro"> c \space<20> \text<"x"> d ])",
       {"GRClef", "GRKey", "GRSingleNote", "GRSpace", "GRText", "GRSingleNote", "GRFinishBar"}},
      // A chord: an empty holds the place, its notes share its stem and location.
      {"[ c/4 {c,e} ]",
       {"GRClef", "GRKey", "GRSingleNote", "GRGlobalLocation", "GRGlobalStem", "GREmpty",
        "GRTagARNotationElement", "GRSingleNote", "GRTagARNotationElement", "GRSingleNote",
        "GREmpty", "GRFinishBar"}},
      {R"([ \tie(c/2 c/2) \slur(d e) \tuplet<"-3-">(a/8 b c) \cresc(c d) ])",
       {"GRClef", "GRKey", "GRTie", "GRSingleNote", "GRSingleNote", "GRSlur", "GRSingleNote",
        "GRSingleNote", "GRNewTuplet", "GRAutoBeam", "GRSingleNote", "GRSingleNote", "GRAutoBeam",
        "GRSingleNote", "GRCrescendo", "GRSingleNote", "GRSingleNote", "GRFinishBar"}},
      // A range written on a tag without one: the tag takes no time in the walk.
      {R"([ \mark(e c c) ])",
       {"GRClef", "GRKey", "GRText", "GRSingleNote", "GRSingleNote", "GRSingleNote",
        "GRFinishBar"}},
      // An octava written where the line begins stands after the line's clef and key.
      {R"([ \oct<1> c \oct<0> c ])",
       {"GRClef", "GRKey", "GRSText", "GRSingleNote", "GRSText", "GRSingleNote", "GRFinishBar"}},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.rmn);
    VoiceWalk walk(c.rmn);
    ASSERT_TRUE(walk.parsed());
    walk.Run();
    EXPECT_EQ(walk.Kinds(1), c.kinds);
  }
}

TEST_F(VoiceManagerTest, BarsInTheSystemFormatAreCopiedAcrossTheSystem) {
  for (bool const across : {true, false}) {
    VoiceWalk walk(across ? R"([ \barFormat<"system"> c \bar d ])" : R"([ c \bar d ])");
    walk.Run();
    GRBar* bar = walk.Find<GRBar>(1);
    ASSERT_NE(bar, nullptr);
    // The copy, the slice's own, is told where the staff's bar stands.
    GRBar* copy = nullptr;
    for (void* pos = bar->getAssociations()->GetHeadPosition(); pos;)
      if (auto* other = dynamic_cast<GRBar*>(bar->getAssociations()->GetNext(pos))) copy = other;
    EXPECT_EQ(copy != nullptr, across);
  }
}

TEST_F(VoiceManagerTest, PassesReportWhatLiesNext) {
  // Tags only: each tag pass asks for another until the last tag; no event is ever made.
  VoiceWalk tags(R"([ \clef<"f"> \meter<"4/4"> ])");
  tags.Run();
  EXPECT_EQ(Codes(tags, 0), (std::vector<std::string>{"t1", "t0", "e-10"}));
  // A bar is followed by a possible break, which waits for the break before the next note.
  VoiceWalk notes("[ c/2 \\bar d/2 ]");
  notes.Run();
  EXPECT_EQ(Codes(notes, 0), (std::vector<std::string>{"t1", "t1", "t2", "e1", "t1", "t-5", "t-6",
                                                       "e1", "t0", "e-10"}));
  EXPECT_EQ(notes.breaks, std::vector<int>{3});
}

TEST_F(VoiceManagerTest, AVoiceHoldingANoteGoesOnAcrossABreakAtAnEarlierTime) {
  VoiceWalk walk("[ c/2 d/2 ]");
  GRVoiceManager& voice = *walk.voices[0];
  Fraction t(0, 1);
  while (voice.Iterate(t, GRVoiceManager::kTagPass) == GRVoiceManager::kZeroDurationNext) {
  }
  ASSERT_EQ(voice.Iterate(t, GRVoiceManager::kEventPass), GRVoiceManager::kEventNext);
  ASSERT_EQ(voice.getCurTimePosition(), Frac_1_2);
  // Another voice breaks at 1/4: this one would be cut there, and stays where it is.
  EXPECT_FLOAT_EQ(voice.GetBreakScore(Fraction(1, 4)), 20000 + 1000);
  EXPECT_EQ(voice.DoBreak(Fraction(1, 4), 3), 1);
  EXPECT_EQ(voice.getCurTimePosition(), Frac_1_2);
  EXPECT_EQ(voice.getCurStaff(), walk.Staff(1));
  // At its own time nothing is cut; no bar was passed there.
  EXPECT_FLOAT_EQ(voice.GetBreakScore(Frac_1_2), 1000);
}

TEST_F(VoiceManagerTest, ARepeatEndBeforeARepeatBeginStandsCloser) {
  struct Case {
    char const* rmn;
    float sconst;
  } const cases[] = {
      {R"([ c \repeatEnd \repeatBegin d ])", 100},  // a possible break stands between them
      {R"([ c \repeatEnd d \repeatBegin e ])", 5},  // its own
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.rmn);
    VoiceWalk walk(c.rmn);
    walk.Run();
    auto* repeat = walk.Find<GRRepeatEnd>(1);
    ASSERT_NE(repeat, nullptr);
    EXPECT_FLOAT_EQ(repeat->getSConst(), c.sconst);
  }
}

TEST_F(VoiceManagerTest, NotesShowTheirDisplayedLengthOctavaAndGraceSize) {
  VoiceWalk walk(R"([ \dispDur<1,4,1>(c/8) \dispDur<1,4,2>(d/16) \grace(e/16) f/4 \oct<1> g ])");
  ASSERT_TRUE(walk.parsed());
  walk.Run();
  auto* dotted = walk.Find<GRSingleNote>(1, 0);
  auto* doubleDotted = walk.Find<GRSingleNote>(1, 1);
  auto* grace = walk.Find<GRSingleNote>(1, 2);
  auto* afterGrace = walk.Find<GRSingleNote>(1, 3);
  auto* octava = walk.Find<GRSingleNote>(1, 4);
  ASSERT_TRUE(dotted && doubleDotted && grace && afterGrace && octava);
  EXPECT_EQ(dotted->getDurTemplate(), Fraction(3, 8));
  EXPECT_EQ(doubleDotted->getDurTemplate(), Fraction(7, 16));
  EXPECT_FLOAT_EQ(grace->getSize(), 0.75f);
  EXPECT_FLOAT_EQ(afterGrace->getSize(), 1);
  // The grace group leans on the note after it, both ways.
  auto* group = walk.Find<GRGrace>(1);
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(Knows(group, afterGrace));
  EXPECT_TRUE(Knows(afterGrace, group));
  // Under an octava the note is written one octave up.
  EXPECT_EQ(octava->getARNote()->getOctave(), 2);
}

TEST_F(VoiceManagerTest, RestsFillTheirMeasureAndCentreInIt) {
  VoiceWalk walk(R"([ _/4 c/2. \bar _/1 \bar c/4 _/2. ])");
  walk.Run();
  auto* firstBar = walk.Find<GRBar>(1, 0);
  auto* secondBar = walk.Find<GRBar>(1, 1);
  auto* whole = walk.Find<GRSingleRest>(1, 1);
  ASSERT_TRUE(firstBar && secondBar && whole);
  // The note of the first measure starts after the line's start: it fills nothing.
  EXPECT_FALSE(firstBar->getAssociations() && firstBar->getAssociations()->GetCount() > 0);
  EXPECT_TRUE(Knows(secondBar, whole));
  // A rest from the piece's start to the first bar always fills it.
  VoiceWalk first(R"([ _/1 \bar c/1 ])");
  first.Run();
  EXPECT_TRUE(Knows(first.Find<GRBar>(1), first.Find<GRSingleRest>(1)));

  // The last rest made, marked as a whole measure, stands in the middle of the measure given.
  VoiceWalk last("[ c/4 _/1 ]");
  last.Run();
  auto* rest = last.Find<GRSingleRest>(1);
  ASSERT_NE(rest, nullptr);
  float const y = rest->getPosition().y;
  last.voices[0]->checkCenterRest(last.Staff(1), 100, 300);
  EXPECT_FLOAT_EQ(rest->getPosition().x, 0);  // not a whole measure yet
  rest->setWholeMeasure(1);
  last.voices[0]->checkCenterRest(nullptr, 100, 300);  // another staff's measure
  EXPECT_FLOAT_EQ(rest->getPosition().x, 0);
  last.voices[0]->checkCenterRest(last.Staff(1), 100, 300);
  EXPECT_FLOAT_EQ(rest->getPosition().x, 200);
  EXPECT_FLOAT_EQ(rest->getPosition().y, y);
}

TEST_F(VoiceManagerTest, StaffNumbersOutsideTheStavesAreIgnored) {
  testing::internal::CaptureStderr();
  VoiceWalk walk(R"([ \staff<300> c \staff<2> d ])");
  walk.Run();
  std::string const warnings = testing::internal::GetCapturedStderr();
  EXPECT_NE(warnings.find("Razid Warning: Staff number out of range (0..255) ignored"),
            std::string::npos);
  EXPECT_EQ(walk.Kinds(1), (Kinds{"GRClef", "GRKey", "GRSingleNote"}));
  EXPECT_EQ(walk.Kinds(2), (Kinds{"GRSingleNote", "GRFinishBar"}));
}

// A cue's voice has no number: it follows its main voice onto that voice's staff, unremarked.
TEST_F(VoiceManagerTest, ACueGoesToItsVoicesStaffWithoutAWarning) {
  testing::internal::CaptureStderr();
  VoiceWalk walk(R"({[ \staff<1> c d ], [ \staff<2> c d \cue<"horn">( e f ) g ]})");
  walk.Run();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(ElementsOf<GRSingleNote>(walk.Staff(1)).size(), 2u);
  EXPECT_EQ(ElementsOf<GRSingleNote>(walk.Staff(2)).size(), 5u);
  EXPECT_TRUE(ElementsOf<GRSingleNote>(walk.Staff(0)).empty());
}

TEST_F(VoiceManagerTest, ATagBeforeTheFirstNoteOfASharedStemTakesASpringOfItsOwn) {
  // A shared stem over a shown rest of no length (which makes nothing), a clef, then a note.
  auto music = std::make_unique<ARMusic>();
  auto* voice = new ARMusicalVoice;
  music->AddTail(voice);
  auto* shown = new ARDisplayDuration;
  shown->setDisplayDuration(Frac_1_4);
  voice->AddPositionTag(shown);
  voice->AddPositionTag(new ARShareStem);
  voice->AddTail(new ARRest(Frac_0));
  voice->AddTail(new ARClef);
  voice->AddTail(new ARNote(Frac_1_4));
  voice->adjustDuration(Frac_1_2);  // closes both ranges

  testing::internal::CaptureStderr();
  VoiceWalk walk(std::move(music));
  walk.Run();
  std::string const traces = testing::internal::GetCapturedStderr();
  EXPECT_NE(traces.find("Razid Trace: Tag with spring in a globalstem or global location!"),
            std::string::npos);
  auto* clef = walk.Find<GRClef>(voice->getVoiceNum());
  ASSERT_NE(clef, nullptr);
  EXPECT_EQ(clef->getNeedsSpring(), 1);
  EXPECT_GE(clef->getSpringID(), 1);
}

// Spanners open at a line break end on the line's last staff and go on on the next line, as the
// music root lays a parsed score out.
class VoiceBreakTest : public EngineTesting::LaidOutFixture {
 protected:
  // The elements of type T on staff 1 of every slice of the system.
  template <class T>
  std::vector<T*> OnSystem(GRSystem const* system) const {
    std::vector<T*> found;
    for (void* s = system->getSlices().GetHeadPosition(); s;)
      for (T* element : ElementsOf<T>(system->getSlices().GetNext(s)->getStaff(1)))
        found.push_back(element);
    return found;
  }
};

TEST_F(VoiceBreakTest, ASlurAndATieOpenAtANewSystemGoOnOnTheNextLine) {
  for (char const* rmn :
       {R"([ \slur(c d \newSystem e f) ])", R"([ c/2 \tie(d/2 \newSystem d/2) ])"}) {
    SCOPED_TRACE(rmn);
    LayOut(rmn);
    std::vector<GRSystem*> const systems = Systems();
    ASSERT_EQ(systems.size(), 2u);
    std::vector<GRBowing*> const spanners = OnSystem<GRBowing>(systems[0]);
    std::vector<GRDummy*> const dummies = OnSystem<GRDummy>(systems[1]);
    ASSERT_EQ(spanners.size(), 1u);
    EXPECT_EQ(spanners[0]->getStartEndCount(), 2);  // a piece on each line
    ASSERT_EQ(dummies.size(), 1u);                  // on the second, a dummy stands for it
    EXPECT_EQ(dummies[0]->getTag(), static_cast<GRPositionTag*>(spanners[0]));
    EXPECT_TRUE(OnSystem<GRBowing>(systems[1]).empty());
  }
}

// A range that ends at the break ends on its line: inside a chord the shared stem of the notes
// before the break is not carried on to the next line, where it would gather the notes after it.
TEST_F(VoiceBreakTest, ARangeEndingAtTheBreakEndsOnItsLine) {
  LayOut(R"([ { c/2, e/4, \newSystem g/8 } d ])");
  std::vector<GRSystem*> const systems = Systems();
  ASSERT_EQ(systems.size(), 2u);
  std::vector<GRDummy*> const dummies = OnSystem<GRDummy>(systems[1]);
  EXPECT_FALSE(dummies.empty());  // the chord itself goes on across the break
  for (GRDummy const* dummy : dummies)
    EXPECT_EQ(dynamic_cast<GRGlobalStem*>(dummy->getTag()), nullptr);
}

TEST_F(VoiceBreakTest, TheVoiceKnowsThePagesOfItsEvents) {
  LayOut(R"([ c d \newPage e f ])");
  ASSERT_EQ(music->getNumPages(), 2);
  GRVoice* voice = music->getVoice(0);
  ASSERT_NE(voice, nullptr);
  EXPECT_EQ(music->getPageIndex(voice->getPageNum(0, 1)), 1);
  EXPECT_EQ(music->getPageIndex(voice->getPageNum(1, 2)), 2);
  EXPECT_EQ(music->getPageIndex(voice->getPageForTimePos(3, 4)), 2);
  EXPECT_EQ(voice->getPageNum(1, 8), nullptr);  // no event starts there
  EXPECT_EQ(music->getPageIndex(voice->getPageForTimePos(1, 8)), 1);
  EXPECT_EQ(voice->getPageForTimePos(-1, 4), nullptr);  // before the first event
  EXPECT_EQ(voice->getPageNum(1, 0), nullptr);          // a date from outside, no denominator
  EXPECT_EQ(voice->getPageForTimePos(1, 0), nullptr);
}

}  // namespace
