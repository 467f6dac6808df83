// What a graphical editor reads of a laid-out score through the hooks, and what its commands do.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <sstream>
#include <string>

#include "ARNote.h"
#include "GRAccidental.h"
#include "GRMusic.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "RazidDrawTypes.h"
#include "ScoreSymbolMap.h"
#include "graphic_stream.h"
#include "lib-score-engine/assertion_pattern.h"
#include "lib-score-engine/graphic/scaling_device.h"
#include "music_dump.h"
#include "music_top.h"
#include "output_sink.h"
#include "parse_music.h"
#include "tools/layout/fixed_width_fonts.h"
#include "tools/layout/offline_engine.h"

namespace {

constexpr char kOneStaff[] =
    "[ \\clef<\"g2\"> \\key<2> \\meter<\"3/4\"> c1/4 d1/4 e1/4 \\bar f1/4 g1/4 a1/4 ]";
constexpr char kChord[] =
    "{ [ \\staff<1> \\clef<\"g2\"> \\stemsAuto { c1 , e1 , g1 } ], [ \\staff<1> \\clef<\"g2\"> ] }";

class EditorHooksTest : public testing::Test {
 protected:
  // The layout goes before the music it was made from.
  void LayOut(char const* text) {
    music.reset();
    parsed = ParseMusicText(text);
    ASSERT_EQ(parsed.result, 0) << text;
    music = std::make_unique<GRMusic>(parsed.music.get(), nullptr);
  }
  void TearDown() override { music.reset(); }

  std::string Stream(int page = 1) const {
    EngineTesting::OutputSink sink;
    music->GGSOutputPage(page);
    return sink.graphicStream;
  }
  std::string Listing() const {
    std::ostringstream listing;
    DumpMusic(parsed, listing);
    return listing.str();
  }
  int Command(std::string const& command, int page = 1) {
    testing::internal::CaptureStdout();
    int const result = music->GGSInputPage(page, command.c_str());
    printed = testing::internal::GetCapturedStdout();
    return result;
  }
  GRSingleNote* FirstNote() const {
    GRSystemSlice const* slice = music->getPage(1)->getSystems().GetHead()->getSlices().GetHead();
    int lowest = 0, highest = -1;
    slice->getStaffRange(lowest, highest);
    for (void* at = slice->getStaff(lowest)->First(); at;)
      if (auto* note = dynamic_cast<GRSingleNote*>(slice->getStaff(lowest)->GetNext(at)))
        return note;
    return nullptr;
  }
  int DrawnNotes() const {
    EngineTesting::ScalingDevice device(&system);
    RazidOnDrawDesc desc;
    desc.hdc = &device;
    desc.sizex = 1000;
    desc.sizey = 1414;
    music->OnDraw(device, desc);
    ScoreSymbolMap const& map = music->getPage(1)->getSymbolMap();
    int notes = 0;
    for (int i = 0; i < map.ElementCount(); ++i)
      notes += map.GetElement(i)->kind == 1 && map.GetElement(i)->subtype == 10;
    return notes;
  }

  Layout::OfflineEngine engine;
  mutable Layout::FixedWidthSystem system;
  ParsedMusic parsed;
  std::unique_ptr<GRMusic> music;
  std::string printed;
};

int Count(std::string const& text, std::string const& pattern) {
  std::regex const expression(pattern);
  return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), expression),
                                        std::sregex_iterator()));
}

TEST_F(EditorHooksTest, APageStreamNamesItsStaffClefKeyMeterAndBars) {
  LayOut(kOneStaff);
  std::string const stream = Stream();
  EXPECT_EQ(stream.rfind("\\unit<25>\n\\open_page<4979,7042>\n\\draw_staff<", 0), 0u) << stream;
  EXPECT_EQ(stream.substr(stream.size() - 12), "\\close_page\n");
  std::smatch staff, clef;
  ASSERT_TRUE(std::regex_search(stream, staff, std::regex(R"(staff<\d+,5,(\d+),(\d+),(\d+)>)")));
  ASSERT_TRUE(std::regex_search(stream, clef, std::regex(R"re("treble_clef",\d+,(\d+),(\d+)>)re")));
  // Both stand in the page's inner area, the clef 200 below its place on the staff.
  EXPECT_GE(std::stoi(staff[1]), 474);
  EXPECT_GT(std::stoi(staff[3]), std::stoi(staff[1]));
  EXPECT_GE(std::stoi(clef[1]), std::stoi(staff[1]));
  EXPECT_EQ(std::stoi(clef[2]), std::stoi(staff[2]) + 150 + 200);
  EXPECT_EQ(Count(stream, R"re(draw_image<"3",)re"), 1);
  EXPECT_EQ(Count(stream, R"re(draw_image<"4",)re"), 1);
  EXPECT_EQ(Count(stream, "glyph_" + std::to_string(GRAccidental::CodeToSymbol(1)) + "\""), 2);
  EXPECT_EQ(Count(stream, "\"glyph_139\""), 1) << "the bar line";
  EXPECT_EQ(gGGSOffsets.x + gGGSOffsets.y, 0);
  EXPECT_EQ(Stream(2), "");

  LayOut("[ \\staffFormat<\"3-line\"> \\clef<\"f4\"> c0/4 ]");
  EXPECT_EQ(Count(Stream(), R"re(draw_staff<\d+,3,.*\n\\draw_image<"bass_clef",)re"), 1);
}

TEST_F(EditorHooksTest, AddAppendsAQuarterCToTheFirstVoiceAndLaysOutAgain) {
  LayOut(kChord);
  EXPECT_EQ(DrawnNotes(), 3);
  EXPECT_EQ(Command("\\add<\"d\",1,2,3>"), 0);
  EXPECT_EQ(printed, "Inside GGSInput: \\add<\"d\",1,2,3>\n");
  std::string const listing = Listing();
  EXPECT_NE(listing.find("  1/4 1/4 ARNote - c1*1/4\n  1/2 0/1 ARFinishBar auto"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find("voice 2 (number 2, length 1/2)"), std::string::npos) << listing;
  EXPECT_NE(listing.find("\\autoChordBegin"), std::string::npos) << "the chord stays one";
  EXPECT_EQ(DrawnNotes(), 4);
}

TEST_F(EditorHooksTest, CommandsThatDoNotFitChangeNothing) {
  LayOut(kChord);
  GRPage const* page = music->getPage(1);
  std::string const listing = Listing();
  testing::internal::CaptureStdout();
  EXPECT_EQ(music->GGSInputPage(1, nullptr), -10);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Inside GGSInput: \n");
  for (char const* command :
       {"", "\\", "\\add<\"c\",1,2>", "\\add<c,1,2,3>", "\\add<\"c\",1,x,3>", "\\add<\"c\",1,2,3",
        "\\add<\"c\",1,2,3>more", "\\move<1,2>", "\\remove_image<5>", "\\other<1>"}) {
    EXPECT_EQ(Command(command), -10) << command;
    EXPECT_EQ(music->getPage(1), page);
    EXPECT_EQ(Listing(), listing);
  }
  LayOut("{ }");  // no first voice
  EXPECT_EQ(Command("\\add<\"c\",1,2,3>"), -10);
}

TEST_F(EditorHooksTest, MoveTakesOnlyAnElementThePageDraws) {
  LayOut(kOneStaff);
  ParsedMusic const otherScore = ParseMusicText(kOneStaff);
  GRMusic const other(otherScore.music.get(), nullptr);
  std::string const stream = Stream();
  auto const stranger = GGSIdentity(*other.getPage(1)->getSystems().GetHead());
  for (std::string const identity : {"0", "12345", "-5", "99999999999999999999999"})
    EXPECT_EQ(Command("\\move<" + identity + ",10,20>"), -10) << identity;
  EXPECT_EQ(Command("\\move<" + std::to_string(stranger) + ",10,20>"), -10);
  EXPECT_EQ(Stream(), stream);

  std::smatch clef;
  ASSERT_TRUE(
      std::regex_search(stream, clef, std::regex(R"re("treble_clef",(\d+),(\d+),(\d+))re")));
  std::string const move = "\\move<" + clef[1].str() + ",10,20>";
  EXPECT_EQ(Command(move, 2), -10) << "a page that does not exist";
  EXPECT_EQ(Command(move), 0);
  std::string const moved = "\"treble_clef\"," + clef[1].str() + "," +
                            std::to_string(std::stoi(clef[2]) + 10) + "," +
                            std::to_string(std::stoi(clef[3]) + 20) + ">";
  EXPECT_NE(Stream().find(moved), std::string::npos) << Stream();
}

TEST_F(EditorHooksTest, MovingANoteUpChangesItsPitchByHalfLineSpaces) {
  LayOut(kOneStaff);
  GRSingleNote* note = FirstNote();
  ASSERT_NE(note, nullptr);
  auto const* written = dynamic_cast<ARNote const*>(note->getAbstractRepresentation());
  NVPoint const at = note->getPosition();
  std::string const identity = std::to_string(GGSIdentity(*note));
  EXPECT_EQ(Command("\\move<" + identity + ",30,-60>"), 0);
  EXPECT_NE(printed.find("number of steps : 2\n"), std::string::npos) << printed;
  EXPECT_EQ(std::string(written->getName().c_str()) + std::to_string(written->getOctave()), "e1");
  EXPECT_FLOAT_EQ(note->getPosition().x, at.x + 30);
  EXPECT_FLOAT_EQ(note->getPosition().y, at.y - 50);  // c1 on its ledger line, e1 a line above
  EXPECT_EQ(DrawnNotes(), 6);
  // Far beyond the staff the note stops at the highest octave it can have.
  EXPECT_EQ(Command("\\move<" + identity + ",0,-999999999999>"), 0);
  EXPECT_EQ(written->getOctave(), MAX_REGISTER);
  EXPECT_EQ(DrawnNotes(), 6);
}

// Marks over the music measure it where it stands when they are drawn after a move, not where
// it stood when they were first drawn.
TEST_F(EditorHooksTest, MovedMusicIsMeasuredAgainByTheMarksOverIt) {
  LayOut(kOneStaff);
  GRSingleNote* note = FirstNote();
  ASSERT_NE(note, nullptr);
  GRSystem const& line = *music->getPage(1)->getSystems().GetHead();
  int lowest = 0, last = -1;
  line.getFirstGRSystemSlice()->getStaffRange(lowest, last);
  float const x = note->getPosition().x;
  float const highest = HighestMusicOver(line, lowest, x - 1, x + 1);
  float const lowestNote = line.lowestNoteOnLine(lowest);  // c1, the first note
  EXPECT_EQ(Command("\\move<" + std::to_string(GGSIdentity(*note)) + ",0,-200>"), 0);
  EXPECT_LT(HighestMusicOver(line, lowest, x - 1, x + 1), highest - 100);
  EXPECT_LT(line.lowestNoteOnLine(lowest), lowestNote);
}

TEST_F(EditorHooksTest, UnsupportedLayoutOperationsStopTheProgram) {
  LayOut(kOneStaff);
  GRPage* page = music->getPage(1);
  auto failed = [](char const* function) {
    return EngineTesting::AssertionPattern("false", function,
                                           "lib-score-engine/graphic/unsupported_layout.cpp");
  };
  EXPECT_DEATH(page->systemFinished(), failed("systemFinished"));
  EXPECT_DEATH(page->setHorizontalSpacing(), failed("setHorizontalSpacing"));
  EXPECT_DEATH(GRSystem(page, Fraction(0, 1)), failed("GRSystem"));
}

}  // namespace
