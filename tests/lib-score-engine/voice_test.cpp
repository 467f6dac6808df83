#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <typeinfo>
#include <vector>

#include "ARBar.h"
#include "ARChordTag.h"
#include "ARClef.h"
#include "ARDisplayDuration.h"
#include "ARGrace.h"
#include "ARSlur.h"
#include "ARStaff.h"
#include "ARUserChordTag.h"
#include "voice_builder.h"

namespace {

using EngineTesting::Elements;
using EngineTesting::VoiceBuilder;

TEST(VoiceTest, ChordsTakeTheFormTheLayoutReads) {
  struct Case {
    char const* name;
    std::initializer_list<VoiceBuilder::ChordNote> notes;
    Fraction length;
    char const* elements;
  };
  const Case cases[] = {
      {"one group: its placeholder is the chord's own",
       {{"c"}, {"e"}, {"g"}},
       Frac_1_4,
       "\\autoChordBegin@0/1 \\shareLocationBegin@0/1 \\dispDurBegin<1,4,0>@1/4 "
       "\\shareStemBegin@1/4 empty-10*1/4@0/1+1/4 \\chordComma@1/4 c1*0/1@1/4 \\chordComma@1/4 "
       "e1*0/1@1/4 \\chordComma@1/4 g1*0/1@1/4 \\shareStemEnd@1/4 \\dispDurEnd@1/4 "
       "empty1*0/1@1/4 \\shareLocationEnd@1/4 \\autoChordEnd@1/4 "},
      {"two groups: each its drawn length and stem, the chord as long as the longest",
       {{"c", 1, 4}, {"e", 1, 8}},
       Frac_1_4,
       "\\autoChordBegin@0/1 \\shareLocationBegin@0/1 empty-10*1/4@0/1+1/4 \\chordComma@1/4 "
       "\\dispDurBegin<1,4,0>@1/4 \\shareStemBegin@1/4 empty0*0/1@1/4 c1*0/1@1/4 "
       "\\chordComma@1/4 \\shareStemEnd@1/4 \\dispDurEnd@1/4 \\dispDurBegin<1,8,0>@1/4 "
       "\\shareStemBegin@1/4 empty0*0/1@1/4 e1*0/1@1/4 \\shareStemEnd@1/4 \\dispDurEnd@1/4 "
       "empty1*0/1@1/4 \\shareLocationEnd@1/4 \\autoChordEnd@1/4 "},
      {"no group: every member went elsewhere",
       {},
       Frac_0,
       "\\autoChordBegin@0/1 \\shareLocationBegin@0/1 empty-10*0/1@0/1 empty1*0/1@0/1 "
       "\\shareLocationEnd@0/1 \\autoChordEnd@0/1 "},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.name);
    VoiceBuilder b;
    b.Chord(c.notes);
    EXPECT_EQ(Elements(b.voice), c.elements);
    EXPECT_EQ(b.voice.getDuration(), c.length);
    b.voice.ConvertToNormalForm();
    EXPECT_EQ(Elements(b.voice), c.elements);
  }
}

TEST(VoiceTest, AStateTagRightAfterTheChordOpensStandsBeforeIt) {
  VoiceBuilder b;
  b.Note("a");
  b.voice.BeginChord();
  b.Tag(new ARClef);
  b.voice.initChordNote();
  b.Note("c");
  b.voice.FinishChord();
  b.Note("d");
  const std::string elements = Elements(b.voice);
  EXPECT_EQ(elements.substr(0, elements.find(" \\dispDur")),
            "a1*1/4@0/1+1/4 \\clef@1/4 \\autoChordBegin@1/4 "
            "\\shareLocationBegin@1/4");
  EXPECT_NE(elements.find("d1*1/4@1/2+1/4"), std::string::npos);
  EXPECT_EQ(b.voice.getNumPitchedNotes(), 3);
  EXPECT_EQ(b.voice.getPitchSum(), (7 + 7) + (7 + 2) + (7 + 3));
}

TEST(VoiceTest, NormalFormDropsBrokenRangesAndClosesRangesBeforeTheNextOnesOpen) {
  VoiceBuilder b;
  b.Note("c");
  auto* empty = b.Open(new ARSlur);
  b.Close(empty);
  EXPECT_EQ(empty->getPosition(), b.voice.GetTailPosition());
  EXPECT_EQ(empty->getError(), 1);
  EXPECT_EQ(empty->getAssociation(), 4);
  EXPECT_EQ(dynamic_cast<ARMusicalTag*>(b.voice.getPositionTagList()->GetTail())->getAssociation(),
            3);

  b.Open(new ARSlur);  // never closed
  ARSlur other;
  other.setRange(true);
  testing::internal::CaptureStderr();
  b.Note("d").Close(&other);  // a ")" of a range that was not opened
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Razid Trace: TagEnd does not match a begin-tag\n");
  auto* kept = b.Open(new ARSlur);
  b.Note("e");
  auto* second = b.Open(new ARSlur);  // opened before the first is closed at e
  b.Close(kept).Note("f").Close(second);
  b.Open(new ARSlur);  // stands after the last event
  EXPECT_NE(Elements(b.voice).find("out of order"), std::string::npos);

  b.voice.ConvertToNormalForm();
  EXPECT_EQ(b.voice.getPositionTagList()->GetCount(), 4);
  EXPECT_EQ(Elements(b.voice),
            "c1*1/4@0/1+1/4 d1*1/4@1/4+1/4 \\slur(@1/2 e1*1/4@1/2+1/4 )@3/4 \\slur(@3/4 "
            "f1*1/4@3/4+1/4 )@1/1 ");
}

// Ranges that open at an element stand before those that close there, also when a range was
// moved onto an element where another one already closed.
TEST(VoiceTest, NormalFormOpensTheRangesOfAnElementBeforeItClosesAny) {
  VoiceBuilder b;
  b.Note("c");
  auto* first = b.Open(new ARSlur);
  b.Note("d").Close(first);
  auto* second = b.Open(new ARSlur);
  b.Note("e").Close(second);
  void* d = b.voice.getPositionTagList()->GetHead()->getPosition();
  ARPositionTag* secondEnd = second->getCorrespondence();
  auto order = [&] {
    std::vector<ARPositionTag*> tags;
    auto* list = b.voice.getPositionTagList();
    for (void* pos = list->GetHeadPosition(); pos;) tags.push_back(list->GetNext(pos));
    return tags;
  };
  const std::vector<ARPositionTag*> filed = order();
  b.voice.ConvertToNormalForm();
  EXPECT_EQ(order(), filed);

  second->setPosition(d);
  secondEnd->setPosition(d);
  b.voice.ConvertToNormalForm();
  EXPECT_EQ(order(),
            (std::vector<ARPositionTag*>{first, second, first->getCorrespondence(), secondEnd}));
}

// The objects the steps of one iteration return.
std::vector<ARMusicalObject*> Walk(ARMusicalVoice const& voice, ARMusicalVoiceState& state) {
  std::vector<ARMusicalObject*> steps;
  for (void* pos = voice.GetHeadPosition(state); pos;) steps.push_back(voice.GetNext(pos, state));
  return steps;
}

// "a {c, e} b" in normal form; chordStart is the chord's opening placeholder.
struct ChordIterationTest : testing::Test {
  void SetUp() override {
    b.Note("a").Chord({{"c"}, {"e"}}).Note("b");
    b.voice.ConvertToNormalForm();
    chordStart = b.voice.GetHeadPosition();
    b.voice.GetNext(chordStart);
  }
  VoiceBuilder b;
  void* chordStart = nullptr;
  ARMusicalVoiceState state;
};

TEST_F(ChordIterationTest, ChordModeStepsOverAWholeChordAndModeOneOverEachElement) {
  std::vector<ARMusicalObject*> steps = Walk(b.voice, state);
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[1], b.voice.GetAt(chordStart));
  EXPECT_EQ(state.getCurTime(), Fraction(3, 4));
  b.voice.setReadMode(ARMusicalVoice::EVENTMODE);
  EXPECT_EQ(Walk(b.voice, state).size(), static_cast<size_t>(b.voice.GetCount()));
}

TEST(VoiceTest, AChordLabelAroundChordsIsNoChordOfItsOwn) {
  VoiceBuilder b;
  auto* label = b.Open(new ARUserChordTag);
  b.Chord({{"c"}, {"e"}}).Chord({{"d"}});
  b.Close(label).voice.ConvertToNormalForm();
  ARMusicalVoiceState state;
  EXPECT_EQ(Walk(b.voice, state).size(), 2u);
}

TEST_F(ChordIterationTest, SnapshotsAreTakenBeforeEachChordAndRestoredOnTheWayBack) {
  void* pos = b.voice.GetHeadPosition(state);
  b.voice.GetNext(pos, state);  // a: the chord opens next
  ASSERT_NE(state.getChordState(), nullptr);
  EXPECT_NE(state.getCurChordTag(), nullptr);

  ARMusicalVoiceState copy(state);
  EXPECT_NE(copy.getChordState(), state.getChordState());
  EXPECT_EQ(copy.getChordState()->getCurChordTag(), state.getCurChordTag());
  void* copyPos = pos;
  b.voice.GetNext(copyPos, copy);
  EXPECT_EQ(copy.getCurChordTag(), nullptr);
  EXPECT_NE(state.getCurChordTag(), nullptr);

  b.voice.GetNext(pos, state);  // the chord
  EXPECT_EQ(state.getChordState(), nullptr);
  ASSERT_NE(state.getPrevChordState(), nullptr);
  EXPECT_EQ(b.voice.GetPrevEvent(pos, state), b.voice.GetAt(chordStart));
  EXPECT_EQ(pos, chordStart);
  EXPECT_NE(state.getCurChordTag(), nullptr);
  EXPECT_EQ(state.getCurTime(), Frac_1_4);
}

TEST(VoiceTest, AStepBackIntoTheLastOfChordsInARowFindsTheStateBeforeIt) {
  // The snapshot before the third chord in a row is made where the one before the first was
  // kept, which held other ranges.
  VoiceBuilder b;
  auto* clef = new ARClef;
  b.Tag(new ARStaff(1)).Tag(clef).Note("a").Chord({{"c"}, {"e"}}).Chord({{"d"}, {"f"}});
  b.Chord({{"e"}, {"g"}}).Note("b").voice.ConvertToNormalForm();
  ARMusicalVoiceState before;
  void* beforeLast = b.voice.GetHeadPosition(before);
  for (int i = 0; i < 5; ++i) b.voice.GetNext(beforeLast, before);  // staff, clef, a, 2 chords

  ARMusicalVoiceState state;
  void* pos = b.voice.GetHeadPosition(state);
  for (int i = 0; i < 6; ++i) b.voice.GetNext(pos, state);  // ... and the last chord
  EXPECT_EQ(b.voice.GetPrevEvent(pos, state), b.voice.GetAt(beforeLast));
  EXPECT_EQ(pos, beforeLast);
  EXPECT_EQ(state.getCurTime(), before.getCurTime());
  EXPECT_EQ(state.getCurStateTags(), before.getCurStateTags());
  EXPECT_EQ(state.getCurStateTag(typeid(ARClef)), clef);
  EXPECT_EQ(state.getCurPositionTags(), before.getCurPositionTags());
  EXPECT_EQ(state.getCurChordTag(), before.getCurChordTag());
}

TEST(VoiceStateTest, StateTagsAndRangesFollowTheSteps) {
  VoiceBuilder b;
  auto* second = new ARClef;
  b.Tag(new ARStaff(1)).Tag(new ARClef).Tag(second).Tag(new ARBar);
  auto* outer = b.Open(new ARDisplayDuration);
  b.Note("c");
  auto* inner = b.Open(new ARDisplayDuration);
  b.Note("d").Close(inner).Note("e").Close(outer).Note("f").Tag(new ARStaff(2)).Note("g");
  b.voice.ConvertToNormalForm();
  ARMusicalVoiceState state;
  void* pos = b.voice.GetHeadPosition(state);
  for (int i = 0; i < 5; ++i) b.voice.GetNext(pos, state);  // staff, clef, clef, bar, c
  EXPECT_EQ(state.getCurStateTags().size(), 2u);
  EXPECT_EQ(state.getCurStateTag(typeid(ARClef)), second);
  EXPECT_EQ(state.getCurDisplayDuration(), inner);
  b.voice.GetNext(pos, state);  // d closes the inner range
  EXPECT_EQ(state.getCurDisplayDuration(), outer);
  ASSERT_FALSE(state.getRemovedPositionTags().empty());
  EXPECT_EQ(state.getRemovedPositionTags().front(), inner);
  EXPECT_FALSE(state.IsOpen(inner));
  void* atE = pos;
  EXPECT_EQ(b.voice.GetPrevEvent(pos, state), b.voice.GetAt(inner->getPosition()));  // d
  EXPECT_EQ(state.getCurDisplayDuration(), inner);                                   // open again
  b.voice.GetNext(pos, state);                                                       // d again
  EXPECT_EQ(pos, atE);
  b.voice.GetNext(pos, state);  // e
  EXPECT_EQ(state.getRemovedPositionTags().front(), outer);
  b.voice.GetNext(pos, state);  // f
  EXPECT_TRUE(state.getRemovedPositionTags().empty());
  EXPECT_EQ(state.getCurDisplayDuration(), nullptr);
  b.voice.GetNext(pos, state);  // another staff: its clef is not known yet
  EXPECT_EQ(state.getCurStateTag(typeid(ARClef)), nullptr);
}

// A range tag that counts how many of its kind are alive, so that a tag deleted twice or never
// shows without the sanitizer too.
struct CountedSlur : ARSlur {
  CountedSlur() { ++alive; }
  ~CountedSlur() override { --alive; }
  static inline int alive = 0;
};

TEST(VoiceTest, EveryRangeTagHasOneOwner) {
  testing::internal::CaptureStderr();
  {
    VoiceBuilder b;
    b.Optional(new CountedSlur);
    b.Note("c");
    b.voice.RemovePositionTag(b.Optional(new CountedSlur));  // written without its range
    b.Open(new CountedSlur);                                 // never reaches an event
  }
  {
    VoiceBuilder unfinished;  // a parse that stops inside a chord
    unfinished.voice.BeginChord();
    unfinished.Open(new CountedSlur);
    unfinished.Note("c");
  }
  EXPECT_EQ(CountedSlur::alive, 0);
  testing::internal::GetCapturedStderr();
}

TEST(VoiceTest, AClosedRangeTakenBackFromTheEventListIsClosedInTheVoiceState) {
  VoiceBuilder b;
  for (int i = 0; i < 2; ++i) {  // a second grace range would not open inside the first
    auto* grace = b.Open(new ARGrace);
    b.Note("c").Close(grace);
    EXPECT_FALSE(b.voice.removeTag(grace));
    EXPECT_EQ(b.voice.getVoiceState()->getCurGrace(), nullptr);
  }
  auto* optional = b.Optional(new ARSlur);
  optional->setRange(true);
  b.Note("d").Close(optional);
  EXPECT_TRUE(b.voice.removeTag(optional));
  b.voice.ConvertToNormalForm();
  EXPECT_EQ(b.voice.getPositionTagList()->GetCount(), 6);
}

TEST(VoiceTest, AdjustDurationFillsTheVoiceAndClosesOpenRanges) {
  VoiceBuilder b;
  b.Note("c");
  auto* open = b.Open(new ARSlur);
  b.voice.adjustDuration(Frac_1_4);  // as long already: nothing to add
  b.voice.adjustDuration(Fraction(3, 4));
  EXPECT_EQ(Elements(b.voice), "c1*1/4@0/1+1/4 \\slur(@1/4 empty-10*1/2@1/4+1/2 ");
  EXPECT_EQ(open->getEndPosition(), b.voice.GetTailPosition());
}

// The lists of ranges hold tags in the order they came, whichever are taken out, however many
// there are and when a tag comes twice; a copy holds the same tags in the same order. Compared
// step by step with a plain vector doing the same.
TEST(VoiceStateTest, RangeListsKeepTheirOrderWhicheverRangesClose) {
  std::vector<std::unique_ptr<ARSlur>> owned;
  for (int i = 0; i < 300; ++i) owned.push_back(std::make_unique<ARSlur>());
  auto const tag = [&](int i) { return owned[static_cast<std::size_t>(i)].get(); };
  ARMusicalVoiceState::PositionTags list;
  std::vector<ARPositionTag*> expected;
  auto const same = [&](ARMusicalVoiceState::PositionTags const& tags) {
    return std::vector<ARPositionTag*>(tags.begin(), tags.end()) == expected &&
           tags.size() == expected.size();
  };
  auto const take = [&](ARPositionTag* taken) {
    auto const found = std::find(expected.begin(), expected.end(), taken);
    bool const there = found != expected.end();
    if (there) expected.erase(found);
    EXPECT_EQ(list.RemoveFirst(taken), there);
  };
  for (int i = 0; i < 200; ++i) {
    list.push_back(tag(i));
    expected.push_back(tag(i));
  }
  // The same tag twice: the first occurrence goes first.
  list.push_back(tag(7));
  expected.push_back(tag(7));
  for (int k = 0; k < 200; ++k) {
    take(tag((k * 37) % 300));  // some were never in the list
    if (k % 5 == 0) {           // new ranges open between the closing ones
      list.push_back(tag(200 + k / 5));
      expected.push_back(tag(200 + k / 5));
    }
    ASSERT_TRUE(same(list)) << "after " << k + 1 << " closed";
    ARMusicalVoiceState::PositionTags const copy = list;
    ASSERT_TRUE(same(copy));
    ASSERT_TRUE(copy == list);
    for (int i : {7, 100, 199, 210})
      EXPECT_EQ(list.Contains(tag(i)),
                std::find(expected.begin(), expected.end(), tag(i)) != expected.end());
    if (!expected.empty()) {
      EXPECT_EQ(list.front(), expected.front());
      EXPECT_EQ(list.back(), expected.back());
    }
  }
  while (!expected.empty()) take(expected.back());
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(list.RemoveFirst(tag(0)));
}

}  // namespace
