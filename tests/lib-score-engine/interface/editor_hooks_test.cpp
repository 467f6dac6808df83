// What a graphical editor reads of a laid-out score through the hooks, and what its commands do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ARMusic.h"
#include "ARNote.h"
#include "GRAccidental.h"
#include "GRMusic.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "RazidDrawTypes.h"
#include "ScoreSymbolMap.h"
#include "graphic_stream.h"
#include "lib-score-engine/assertion_pattern.h"
#include "lib-score-engine/graphic/scaling_device.h"
#include "music_dump.h"
#include "music_text.h"
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
  GRMusic& LayOut(char const* text) {
    music.reset();
    ParsedMusic result = ParseMusicText(text);
    EXPECT_EQ(result.result, 0) << text;
    parsed = std::move(result);
    music = std::make_unique<GRMusic>(parsed.music.get(), nullptr);
    return *music;
  }
  void TearDown() override {
    music.reset();
    parsed.music.reset();
  }

  std::string Stream(int page = 1) {
    EngineTesting::OutputSink sink;
    music->GGSOutputPage(page);
    return sink.graphicStream;
  }
  std::string Listing() const {
    std::ostringstream listing;
    DumpMusic(parsed, listing);
    return listing.str();
  }
  int Command(char const* command, int page = 1) {
    testing::internal::CaptureStdout();
    int const result = music->GGSInputPage(page, command);
    printed = testing::internal::GetCapturedStdout();
    return result;
  }
  // The single notes of page 1's first system, slice by slice and staff by staff.
  std::vector<GRSingleNote*> Notes() const {
    std::vector<GRSingleNote*> notes;
    KF_IPointerList<GRSystemSlice> const& slices =
        music->getPage(1)->getSystems().GetHead()->getSlices();
    for (void* pos = slices.GetHeadPosition(); pos;) {
      GRSystemSlice const* slice = slices.GetNext(pos);
      int lowest = 0, highest = -1;
      slice->getStaffRange(lowest, highest);
      for (int i = lowest; i <= highest; ++i)
        for (void* at = slice->getStaff(i) ? slice->getStaff(i)->First() : nullptr; at;)
          if (auto* note = dynamic_cast<GRSingleNote*>(slice->getStaff(i)->GetNext(at)))
            notes.push_back(note);
    }
    return notes;
  }
  int DrawnNotes() {
    EngineTesting::ScalingDevice device(&system);
    RazidOnDrawDesc desc;
    desc.hdc = &device;
    desc.page = 1;
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
  Layout::FixedWidthSystem system;
  ParsedMusic parsed;
  std::unique_ptr<GRMusic> music;
  std::string printed;
};

// Every "\command<a,b,...>" line of a stream with its numbers; a name in quotes comes first.
struct StreamLine {
  std::string name;
  std::string image;
  std::vector<long long> numbers;
};
std::vector<StreamLine> Lines(std::string const& stream) {
  std::vector<StreamLine> commands;
  std::regex const line(R"re(\\(\w+)(?:<(?:"([^"]*)",)?([-0-9,]*)>)?\n)re");
  for (std::sregex_iterator it(stream.begin(), stream.end(), line), end; it != end; ++it) {
    StreamLine command{(*it)[1], (*it)[2], {}};
    std::stringstream numbers((*it)[3]);
    for (std::string number; std::getline(numbers, number, ',');)
      command.numbers.push_back(std::stoll(number));
    commands.push_back(command);
  }
  return commands;
}

TEST_F(EditorHooksTest, APageStreamNamesItsStaffClefKeyMeterAndBars) {
  LayOut(kOneStaff);
  std::string const stream = Stream();
  std::vector<StreamLine> const commands = Lines(stream);
  ASSERT_GE(commands.size(), 4u) << stream;
  EXPECT_EQ(commands.front().name, "unit");
  EXPECT_EQ(commands.front().numbers, std::vector<long long>{25});
  EXPECT_EQ(commands[1].name, "open_page");
  EXPECT_EQ(commands[1].numbers, (std::vector<long long>{4979, 7042}));
  EXPECT_EQ(commands.back().name, "close_page");

  std::vector<std::string> images;
  int staves = 0;
  for (StreamLine const& c : commands) {
    if (c.name == "draw_staff") {
      ++staves;
      ASSERT_EQ(c.numbers.size(), 5u);
      EXPECT_EQ(c.numbers[1], 5) << "lines";
      EXPECT_LT(c.numbers[2], c.numbers[4]) << "the staff ends right of where it starts";
    }
    if (c.name != "draw_image" && c.name != "draw_staff") continue;
    if (c.name == "draw_image") images.push_back(c.image);
    // Everything lies on the page: the margins and the system and staff origins are added in.
    EXPECT_GE(c.numbers[c.name == "draw_staff" ? 2 : 1], 474) << c.name << " " << c.image;
    EXPECT_LE(c.numbers[c.name == "draw_staff" ? 2 : 1], 4979 - 474) << c.image;
    EXPECT_GT(c.numbers[c.name == "draw_staff" ? 3 : 2], 474) << c.image;
    EXPECT_LT(c.numbers[c.name == "draw_staff" ? 3 : 2], 7042 - 474) << c.image;
  }
  EXPECT_GE(staves, 1);
  auto count = [&](std::string const& name) {
    return std::count(images.begin(), images.end(), name);
  };
  EXPECT_EQ(count("treble_clef"), 1);
  EXPECT_EQ(count("3"), 1);
  EXPECT_EQ(count("4"), 1);
  EXPECT_EQ(count("glyph_" + std::to_string(GRAccidental::CodeToSymbol(1))), 2) << "two sharps";
  EXPECT_EQ(count("glyph_139"), 1) << "the bar line";
  EXPECT_EQ(count("glyph_92"), 1) << "the end bar";
  EXPECT_EQ(gGGSOffsets.x, 0);
  EXPECT_EQ(gGGSOffsets.y, 0);

  EXPECT_EQ(Stream(2), "");
  EXPECT_EQ(Stream(0), "");
  LayOut("[ \\staffFormat<\"3-line\"> \\clef<\"f4\"> c0/4 ]");
  EXPECT_NE(Stream().find("\\draw_image<\"bass_clef\","), std::string::npos);
  EXPECT_TRUE(std::regex_search(Stream(), std::regex(R"(\\draw_staff<\d+,3,)")));
}

TEST_F(EditorHooksTest, AddAppendsAQuarterCToTheFirstVoiceAndLaysOutAgain) {
  LayOut(kChord);
  EXPECT_EQ(DrawnNotes(), 3);
  EXPECT_EQ(Command("\\add<\"d\",1,2,3>"), 0);
  EXPECT_EQ(printed, "Inside GGSInput: \\add<\"d\",1,2,3>\n");
  std::string const listing = Listing();
  EXPECT_NE(listing.find("voice 1 (number 1, length 1/2)"), std::string::npos) << listing;
  EXPECT_NE(listing.find("  1/4 1/4 ARNote - c1*1/4\n  1/2 0/1 ARFinishBar auto \\endBar"),
            std::string::npos)
      << listing;
  EXPECT_NE(listing.find("voice 2 (number 2, length 1/2)"), std::string::npos) << listing;
  EXPECT_NE(listing.find("ARChordTag auto \\autoChordBegin"), std::string::npos) << "chord kept";
  EXPECT_EQ(DrawnNotes(), 4);
  EXPECT_EQ(Command("\\add<\"c\",0,0,0>"), 0);
  EXPECT_EQ(DrawnNotes(), 5);
}

TEST_F(EditorHooksTest, CommandsThatDoNotFitChangeNothing) {
  LayOut(kChord);
  GRPage const* page = music->getPage(1);
  std::string const text = MusicText(*parsed.music);
  for (char const* command :
       {static_cast<char const*>(nullptr), "", "\\", "\\add", "\\add<\"c\",1,2>", "\\add<c,1,2,3>",
        "\\add<\"c\",1,2,3", "\\add<\"c\",1,x,3>", "\\add<\"c\",1,2,3>junk", "\\ad<\"c\",1,2,3>",
        "\\move<>", "\\move<1,2>", "\\remove_image<5>", "\\remove_image<x>", "\\other<1>"}) {
    EXPECT_EQ(Command(command), -10) << (command ? command : "null");
    EXPECT_EQ(music->getPage(1), page);
    EXPECT_EQ(MusicText(*parsed.music), text);
  }
  LayOut("{ }");
  EXPECT_EQ(Command("\\add<\"c\",1,2,3>"), -10);
}

TEST_F(EditorHooksTest, MoveTakesOnlyAnElementThePageDraws) {
  LayOut(kOneStaff);
  ParsedMusic const otherScore = ParseMusicText(kOneStaff);
  GRMusic const other(otherScore.music.get(), nullptr);  // with elements of its own
  std::string const before = Stream();
  std::uintptr_t const stranger = GGSIdentity(*other.getPage(1)->getSystems().GetHead());
  for (std::string const& identity :
       {std::string("0"), std::string("1"), std::string("12345"), std::string("-5"),
        std::to_string(stranger), std::string("99999999999999999999999")}) {
    EXPECT_EQ(Command(("\\move<" + identity + ",10,20>").c_str()), -10) << identity;
    EXPECT_EQ(Stream(), before) << identity;
  }

  StreamLine clef;
  for (StreamLine const& c : Lines(before))
    if (c.image == "treble_clef") clef = c;
  ASSERT_EQ(clef.numbers.size(), 3u);
  std::string const move = "\\move<" + std::to_string(clef.numbers[0]) + ",10,20>";
  EXPECT_EQ(Command(move.c_str(), 2), -10) << "on a page that does not exist";
  EXPECT_EQ(Command(move.c_str()), 0);
  for (StreamLine const& c : Lines(Stream())) {
    if (c.image != "treble_clef") continue;
    EXPECT_EQ(c.numbers, (std::vector<long long>{clef.numbers[0], clef.numbers[1] + 10,
                                                 clef.numbers[2] + 20}));
  }
}

TEST_F(EditorHooksTest, MovingANoteUpChangesItsPitchByHalfLineSpaces) {
  LayOut(kOneStaff);
  GRSingleNote* note = Notes().front();
  auto const* written = dynamic_cast<ARNote const*>(note->getAbstractRepresentation());
  ASSERT_EQ(std::string(written->getName().c_str()), "c");
  float const x = note->getPosition().x;
  float const y = note->getPosition().y;
  std::string const move = "\\move<" + std::to_string(GGSIdentity(*note)) + ",30,-60>";
  EXPECT_EQ(Command(move.c_str()), 0);
  EXPECT_NE(printed.find("number of steps : 2\n"), std::string::npos) << printed;
  EXPECT_EQ(std::string(written->getName().c_str()), "e");
  EXPECT_EQ(written->getOctave(), 1);
  EXPECT_FLOAT_EQ(note->getPosition().x, x + 30);
  EXPECT_FLOAT_EQ(note->getPosition().y, y - 50);  // e stands a line above c
  EXPECT_EQ(DrawnNotes(), 6);

  // Far beyond the staff the note stops at the highest octave it can have.
  std::string const far = "\\move<" + std::to_string(GGSIdentity(*note)) + ",0,-999999999999>";
  EXPECT_EQ(Command(far.c_str()), 0);
  EXPECT_EQ(written->getOctave(), MAX_REGISTER);
  EXPECT_EQ(DrawnNotes(), 6);
}

TEST_F(EditorHooksTest, UnsupportedLayoutOperationsStopTheProgram) {
  LayOut(kOneStaff);
  GRPage* page = music->getPage(1);
  EXPECT_DEATH(page->systemFinished(),
               EngineTesting::AssertionPattern("false", "systemFinished",
                                               "lib-score-engine/graphic/unsupported_layout.cpp"));
  EXPECT_DEATH(page->setHorizontalSpacing(),
               EngineTesting::AssertionPattern("false", "setHorizontalSpacing",
                                               "lib-score-engine/graphic/unsupported_layout.cpp"));
  EXPECT_DEATH(GRSystem(page, Fraction(0, 1)),
               EngineTesting::AssertionPattern("false", "GRSystem",
                                               "lib-score-engine/graphic/unsupported_layout.cpp"));
}

}  // namespace
