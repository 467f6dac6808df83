// Scores laid out end to end: parsed RMN becomes pages, systems, slices and placed elements, and
// a drawn page fills its symbol map.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "CScoreElement.h"
#include "GRMusic.h"
#include "GRSingleNote.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaff.h"
#include "RazidDrawTypes.h"
#include "ScoreSymbolMap.h"
#include "graphic_fixture.h"
#include "lib-score-engine/sample_scores.h"
#include "parse_music.h"
#include "scaling_device.h"
#include "tools/layout/layout_listing.h"

namespace {

using EngineTesting::GraphicFixture;

// Every staff of every slice of a system.
template <class Visit>
void ForEachStaff(GRSystem const& system, Visit visit) {
  for (void* pos = system.getSlices().GetHeadPosition(); pos;) {
    GRSystemSlice const* slice = system.getSlices().GetNext(pos);
    int lowest = 0;
    int highest = -1;
    slice->getStaffRange(lowest, highest);
    for (int i = lowest; i <= highest; ++i)
      if (GRStaff const* staff = slice->getStaff(i)) visit(*staff);
  }
}

std::vector<GRSystem const*> SystemsOf(GRPage const& page) {
  std::vector<GRSystem const*> systems;
  for (void* pos = page.getSystems().GetHeadPosition(); pos;)
    systems.push_back(page.getSystems().GetNext(pos));
  return systems;
}

// Scores parsed and laid out on A4 with the default settings, measured at fixed widths.
class MusicLayoutTest : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    GRSpring::setFunctionParameter(1.1f);
    GRSpaceForceFunction2::setOptForce(750);
    StartEngine();
  }
  void TearDown() override {
    layout.reset();
    GraphicFixture::TearDown();
  }

  GRMusic& LayOut(std::string const& text) {
    layout.reset();
    parsed = ParseMusicText(text.c_str());
    EXPECT_EQ(parsed.result, 0);
    layout = std::make_unique<GRMusic>(parsed.music.get(), nullptr);
    return *layout;
  }

  std::string Listing() const {
    std::ostringstream os;
    Layout::ListLayout(*layout, os);
    return os.str();
  }

  ParsedMusic parsed;
  std::unique_ptr<GRMusic> layout;
};

TEST_F(MusicLayoutTest, QuestionScoreIsOneLineAtItsNaturalWidthWithTheChordOnOneSpring) {
  GRMusic& music = LayOut(SampleScores::QuestionScore());
  ASSERT_EQ(music.getNumPages(), 1);
  GRPage const& page = *music.getPage(1);
  std::vector<GRSystem const*> const systems = SystemsOf(page);
  ASSERT_EQ(systems.size(), 1u);
  EXPECT_LT(systems[0]->getBoundingBox().right, page.getInnerWidth() - 1);

  std::set<int> springs;
  std::set<float> xs;
  int notes = 0;
  ForEachStaff(*systems[0], [&](GRStaff const& staff) {
    for (void* pos = staff.First(); pos;)
      if (auto const* note = dynamic_cast<GRSingleNote const*>(staff.GetNext(pos))) {
        ++notes;
        springs.insert(note->getSpringID());
        xs.insert(note->getPosition().x);
      }
  });
  EXPECT_EQ(notes, 3);
  EXPECT_EQ(springs.size(), 1u);
  EXPECT_EQ(xs.size(), 1u);

  // Pages are counted from 1, and dates past the music lie on no page.
  EXPECT_EQ(music.getPage(0), nullptr);
  EXPECT_EQ(music.getPage(2), nullptr);
  EXPECT_EQ(music.getPageIndex(nullptr), 0);
  EXPECT_EQ(music.getPageNumForTimePos(1, 8), 1);
  EXPECT_EQ(music.getPageNumForTimePos(5, 1), 0);
}

TEST_F(MusicLayoutTest, LayingOutAgainStartsFromNothingAndGivesTheSameListing) {
  // The octava moves its notes in the parsed tree itself: a second layout must not move them again.
  GRMusic& octava = LayOut("[ \\clef<\"g2\"> \\oct<1> c1 d e ]");
  std::string const once = Listing();
  octava.createGR(nullptr);
  EXPECT_EQ(Listing(), once);

  GRMusic& music = LayOut(SampleScores::QuestionScore());
  std::string const first = Listing();
  int const voices = music.getNumVoices();
  EXPECT_EQ(voices, parsed.music->GetCount());
  music.createGR(nullptr);
  EXPECT_EQ(music.getNumPages(), 1);
  EXPECT_EQ(music.getNumVoices(), voices);
  EXPECT_EQ(Listing(), first);

  // An editor's command naming an element by its address changes nothing.
  testing::internal::CaptureStdout();
  EXPECT_EQ(music.GGSInputPage(1, "\\move<1,10,10>"), -10);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(Listing(), first);
}

TEST_F(MusicLayoutTest, HundredMeasuresFillSeveralPagesOfFullLines) {
  GRMusic& music = LayOut(SampleScores::HundredMeasures());
  ASSERT_GE(music.getNumPages(), 2);
  std::map<GRNotationElement const*, int> placed;
  int lines = 0;
  for (int n = 1; n <= music.getNumPages(); ++n) {
    SCOPED_TRACE(testing::Message() << "page " << n);
    GRPage const& page = *music.getPage(n);
    if (n > 1) {
      EXPECT_GT(page.getStartDate(), music.getPage(n - 1)->getStartDate());
    }
    std::vector<GRSystem const*> const systems = SystemsOf(page);
    ASSERT_FALSE(systems.empty());
    for (size_t i = 0; i < systems.size(); ++i) {
      GRSystem const& system = *systems[i];
      ++lines;
      EXPECT_NEAR(system.getBoundingBox().right, page.getInnerWidth(), 1) << "system " << i;
      if (i > 0) {
        GRSystem const& above = *systems[i - 1];
        EXPECT_LE(above.getPosition().y + above.getBoundingBox().bottom,
                  system.getPosition().y + system.getBoundingBox().top)
            << "system " << i;
      }
      ForEachStaff(system, [&](GRStaff const& staff) {
        for (void* pos = staff.First(); pos;) {
          GRNotationElement const* element = staff.GetNext(pos);
          if (element && element->isGREventClass()) ++placed[element];
        }
      });
    }
  }
  EXPECT_GE(lines, 4);
  // Dates before the second page's start are on the first page.
  int numerator = 0;
  int denominator = 0;
  ASSERT_TRUE(music.getRTPofPage(2, &numerator, &denominator));
  EXPECT_EQ(music.getPageNumForTimePos(numerator, denominator), 2);
  EXPECT_EQ(music.getPageNumForTimePos(0, 1), 1);
  EXPECT_EQ(music.getPageNumForTimePos(101, 1), 0);
  EXPECT_FALSE(music.getRTPofPage(music.getNumPages() + 1, &numerator, &denominator));
  // Every event of every voice stands in exactly one system.
  int events = 0;
  for (int v = 0; v < music.getNumVoices(); ++v)
    for (void* pos = music.getVoice(v)->First(); pos;) {
      GRNotationElement const* element = music.getVoice(v)->GetNext(pos);
      if (!element || !element->isGREventClass()) continue;
      ++events;
      EXPECT_EQ(placed[element], 1)
          << "voice " << v << " at " << element->getRelativeTimePosition().getValue();
    }
  EXPECT_GE(events, 800);

  // The same text gives the same layout, byte for byte.
  std::string const first = Listing();
  LayOut(SampleScores::HundredMeasures());
  EXPECT_EQ(Listing(), first);
}

// A layout goes all at once: with the music (whole) or before the music is laid out again (its
// pages and voices only). Spanners run over staves, systems and pages, and one voice moves to
// another staff in the middle of a beam; nothing may be left behind or looked at after it went,
// which the sanitizer builds see, and a second layout is the first one again.
TEST_F(MusicLayoutTest, ALayoutWithSpannersOverStavesAndSystemsGoesWholeAndIsMadeAgain) {
  char const* const scores[] = {
      "{ [ \\staff<1> \\clef<\"g2\"> \\meter<\"4/4\"> \\slur( c1/8 d e f \\tie( g/2 \\newSystem "
      "g/2 ) a/4 \\beam( h/8 c2 \\newPage d e ) f/4 ) g a h \\cresc( c2 d e \\newSystem f ) ], "
      "[ \\staff<2> \\clef<\"f4\"> \\beam( c0/8 \\staff<1> e1/8 \\staff<2> g0/8 \\staff<1> c1/8 ) "
      "\\dim( d0/4 e f \\newSystem g a h c1 \\newPage d ) \\tie( {c0/2, e0/2} {c0/2, e0/2} ) ] }",
      // A beam's piece that ended at the end glue of another staff of its system.
      "[c/12\\meter<\"1/40\">g\\staff\\newPage a]",
  };
  int const before = GObject::GetInstanceCount();
  for (char const* text : scores) {
    SCOPED_TRACE(text);
    GRMusic& music = LayOut(text);
    ASSERT_GE(music.getNumPages(), 2);
    int const laidOut = GObject::GetInstanceCount();
    std::string const first = Listing();
    music.createGR(nullptr);
    EXPECT_EQ(Listing(), first);
    EXPECT_EQ(GObject::GetInstanceCount(), laidOut);
    layout.reset();
    EXPECT_EQ(GObject::GetInstanceCount(), before);
  }
}

TEST_F(MusicLayoutTest, ScoresThatOnceStoppedTheLayoutLayOut) {
  struct Case {
    char const* why;
    char const* text;
  } const cases[] = {
      // A clef or meter of one voice stands at its own time, not after the other voice's longer
      // note: the elements of its voice that follow come earlier than that note's end.
      {"clef while the other voice holds",
       "{ [ \\staff<1> c/2 \\clef<\"f4\"> c/2 ], [ \\staff<1> e/1 ] }"},
      {"meter while the other voice holds",
       "{ [ \\staff<1> c/2 \\meter<\"2/4\"> c/2 ], [ \\staff<1> e/1 ] }"},
      {"cue voice on the same staff", "[\\cue(c\\meter c)]"},
  };
  for (Case const& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(LayOut(c.text).getNumPages(), 1);
  }
}

TEST_F(MusicLayoutTest, DrawingTheQuestionPageFillsItsSymbolMap) {
  GRMusic& music = LayOut(SampleScores::QuestionScore());
  EngineTesting::ScalingDevice scaled(&system);
  GRPage const& page = *music.getPage(1);
  RazidOnDrawDesc desc;
  desc.hdc = &scaled;
  desc.page = 1;
  desc.sizex = 1000;
  desc.sizey = 2000;
  float const scale = 1000 / page.getPageWidth();
  music.OnDraw(scaled, desc);

  ScoreSymbolMap const& map = page.getSymbolMap();
  CScoreElement const* root = map.GetRootElement();
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->kind, 8);
  EXPECT_FLOAT_EQ(root->left, 0);
  EXPECT_FLOAT_EQ(root->top, 0);
  EXPECT_FLOAT_EQ(root->right, page.getPageWidth() * scale);
  EXPECT_FLOAT_EQ(root->bottom, page.getPageHeight() * scale);
  EXPECT_EQ(map.ElementCountForType(7), 1);
  EXPECT_GE(map.ElementCountForType(5), 1);
  int notes = 0;
  for (int i = 0; i < map.ElementCount(); ++i)
    if (map.GetElement(i)->kind == 1 && map.GetElement(i)->subtype == 10) ++notes;
  EXPECT_EQ(notes, 3);
  ASSERT_EQ(root->children().size(), 1u);
  EXPECT_EQ(root->children()[0]->kind, 7);
}

}  // namespace
