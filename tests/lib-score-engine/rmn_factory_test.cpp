// RMN texts through the whole parse as the engine's interface runs it: scanner, grammar,
// callbacks, factory and voices. Each case checks the result, the error line, what went to
// standard output and standard error, and the voices the factory made.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "ARFactory.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARTagNames.h"
#include "music_dump.h"
#include "parse_music.h"

namespace {

struct ParseCase {
  char const* text;
  int result;
  int errorLine;
  char const* stdoutText;
  char const* stderrText;
  char const* voices;  // the dump after its result and error lines; null: not checked
};

struct Outcome {
  ParsedMusic parsed;
  std::string out, err, dump;
};

Outcome Parse(std::string const& text) {
  Outcome outcome;
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  outcome.parsed = ParseMusicText(text.c_str());
  outcome.out = testing::internal::GetCapturedStdout();
  outcome.err = testing::internal::GetCapturedStderr();
  // What the text wrote: the tags the automatic passes add are the passes' tests' concern.
  std::ostringstream dump;
  DumpMusic(outcome.parsed, dump, false);
  outcome.dump = dump.str();
  return outcome;
}

class RmnFactoryTest : public testing::TestWithParam<ParseCase> {};

TEST_P(RmnFactoryTest, BuildsTheVoicesOrReportsWhyNot) {
  ParseCase const& c = GetParam();
  Outcome const outcome = Parse(c.text);
  EXPECT_EQ(outcome.parsed.result, c.result) << c.text;
  EXPECT_EQ(outcome.parsed.errorLine, c.errorLine) << c.text;
  EXPECT_EQ(outcome.out, c.stdoutText) << c.text;
  EXPECT_EQ(outcome.err, c.stderrText) << c.text;
  std::string const header =
      "result " + std::to_string(c.result) + "\nerror line " + std::to_string(c.errorLine) + "\n";
  if (c.voices) {
    EXPECT_EQ(outcome.dump, header + c.voices) << c.text;
  }
  EXPECT_EQ(outcome.parsed.music != nullptr, c.result == 0) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Errors, RmnFactoryTest,
    testing::Values(
        ParseCase{"[ c d\n  e x ]", 1, 2,
                  "extra text is : x\nRazid error: syntax error (line 2, char 5)\n", "", ""},
        ParseCase{"{ [ c ] [ d ] }", 1, 1, "Razid error: syntax error (line 1, char 9)\n", "", ""},
        ParseCase{"[ \\meter<4/4> c ]", 1, 1, "Razid error: syntax error (line 1, char 11)\n", "",
                  ""},
        ParseCase{"[ c cm ]", 1, 1, "Razid error: syntax error (line 1, char 5)\n", "", ""},
        ParseCase{"", -1, 0, "", "", ""}, ParseCase{"{ }", 0, 0, "", "", ""},
        // Failed parses with ranges, cues, graces and chords still open: all of it is deleted.
        ParseCase{"[ \\t<\"x\">( c \\slur( d \\cue<\"n\">( e \\grace( f", 1, 1,
                  "Razid error: syntax error (line 1, char 44)\n", "", ""},
        ParseCase{"[ \\foo<1>( c { d, e \\i<\"p\"", 1, 1,
                  "Razid error: syntax error (line 1, char 24)\n", "", ""}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

INSTANTIATE_TEST_SUITE_P(
    RunningNoteState, RmnFactoryTest,
    testing::Values(ParseCase{"[ c/8. d e ]", 0, 0, "", "",
                              "voice 1 (number 1, length 9/16)\n"
                              "  0/1 3/16 ARNote - c1*1/8.\n"
                              "  3/16 3/16 ARNote - d1*1/8.\n"
                              "  3/8 3/16 ARNote - e1*1/8.\n"
                              " position tags:\n"},
                    ParseCase{"{ [ c*3 d/8. e/4 ], [ f ] }", 0, 0, "", "",
                              // Drawn in whole notes; the shorter voice filled up, the
                              // filling cut where the line may break after the long note.
                              "voice 1 (number 1, length 55/16)\n"
                              "  0/1 1/1 ARNote - c1*1/1\n"
                              "  1/1 2/1 ARNote - c1*2/1\n"
                              "  3/1 3/16 ARNote - d1*1/8.\n"
                              "  51/16 1/4 ARNote - e1*1/4\n"
                              " position tags:\n"
                              "voice 2 (number 2, length 55/16)\n"
                              "  0/1 1/4 ARNote - f1*1/4\n"
                              "  1/4 1/1 ARNote - empty-10*1/1\n"
                              "  5/4 7/4 ARNote - empty-10*7/4\n"
                              "  3/1 7/16 ARNote - empty-10*7/16\n"
                              " position tags:\n"},
                    // Lengths shorter than the shortest drawn value are read as 1/256, and the
                    // next note goes on with it.
                    ParseCase{"[ c/512 d e*3/1024. ]", 0, 0, "",
                              "Razid Warning: Length is too short to be drawn\n"
                              "Razid Warning: Length is too short to be drawn\n",
                              "voice 1 (number 1, length 7/512)\n"
                              "  0/1 1/256 ARNote - c1*1/256\n"
                              "  1/256 1/256 ARNote - d1*1/256\n"
                              "  1/128 3/512 ARNote - e1*1/256.\n"
                              " position tags:\n"},
                    ParseCase{"[ c#2 d ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 1/4 ARNote - c#2*1/4\n"
                              "  1/4 1/4 ARNote - d2*1/4\n"
                              " position tags:\n"},
                    // Registers stay within -10..10, for the note and for the notes after it.
                    ParseCase{"[ c11 d c-99999999999 e ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/1)\n"
                              "  0/1 1/4 ARNote - c10*1/4\n"
                              "  1/4 1/4 ARNote - d10*1/4\n"
                              "  1/2 1/4 ARNote - c-10*1/4\n"
                              "  3/4 1/4 ARNote - e-10*1/4\n"
                              " position tags:\n"},
                    ParseCase{"[ c#### d&&& ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 1/4 ARNote - c##1*1/4\n"
                              "  1/4 1/4 ARNote - d&&1*1/4\n"
                              " position tags:\n"},
                    ParseCase{"[ c*0. _/0 ]", 0, 0, "", "Razid Warning: Denominator is too small\n",
                              "voice 1 (number 1, length 1/1)\n"
                              "  0/1 0/1 ARNote - c1*0/1\n"
                              "  0/1 1/1 ARRest - _*1/1\n"
                              " position tags:\n"}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

INSTANTIATE_TEST_SUITE_P(
    Tags, RmnFactoryTest,
    testing::Values(ParseCase{"[ \\slurBegin c d \\slurEnd ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              " position tags:\n"
                              "  0/1 0/1 ARSlur - \\slurBegin\n"
                              "  1/2 0/1 ARDummyRangeEnd - \\slurEnd\n"},
                    ParseCase{"[ \\slur c d ]", 0, 0, "",
                              "Razid Warning: Tag has no range - ignored\n",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              " position tags:\n"},
                    ParseCase{"[ \\dimBegin:5 c \\dimEnd:5 ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/4)\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              " position tags:\n"
                              "  0/1 0/1 ARDiminuendo - \\dimBegin:5\n"
                              "  1/4 0/1 ARDummyRangeEnd - \\dimEnd:5\n"},
                    // Unknown tags drop their parameters silently; a range on them is ignored.
                    ParseCase{"[ \\foo<1, \"x\"> \\barEnd( c ) ]", 0, 0, "",
                              "Razid Warning: Tagrange ignored (1)\n",
                              "voice 1 (number 1, length 1/4)\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              " position tags:\n"},
                    // A text tag whose range is refused takes no time: the passes would take it
                    // for an event.
                    ParseCase{"[ \\mark<\"A\">( c d ) e ]", 0, 0, "",
                              "Razid Warning: Tagrange ignored (1)\n",
                              "voice 1 (number 1, length 3/4)\n"
                              "  0/1 0/1 ARMark - \\mark<text=\"A\">\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              "  1/2 1/4 ARNote - e1*1/4\n"
                              " position tags:\n"},
                    // An empty required range leaves nothing, an empty optional one a plain tag.
                    ParseCase{"[ \\fermata() c \\slur() d ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 0/1 ARFermata - \\fermata\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              " position tags:\n"},
                    // A state tag with a range holds for the range; the state before it comes back.
                    ParseCase{"[ \\stemsUp( c ) d ]", 0, 0, "", "",
                              "voice 1 (number 1, length 1/2)\n"
                              "  0/1 0/1 ARTStem - \\stemsUp\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 0/1 ARTStem - \\stemsAuto\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              " position tags:\n"},
                    ParseCase{"[ \\grace( c/8 \\grace( d ) ) ]", 0, 0, "",
                              "Razid Warning: There is a grace already active\n"
                              "Razid Warning: Tagrange ignored (1)\n",
                              "voice 1 (number 1, length 0/1)\n"
                              "  0/1 0/1 ARNote - c1*0/1\n"
                              "  0/1 0/1 ARNote - d1*0/1\n"
                              " position tags:\n"
                              "  0/1 0/1 ARGrace - \\grace(\n"
                              "  0/1 0/1 ARDisplayDuration - \\dispDurBegin<1,8,0>\n"
                              "  0/1 0/1 ARDummyRangeEnd - \\dispDurEnd\n"
                              "  0/1 0/1 ARDisplayDuration - \\dispDurBegin<1,8,0>\n"
                              "  0/1 0/1 ARDummyRangeEnd - \\dispDurEnd\n"
                              "  0/1 0/1 ARDummyRangeEnd - )\n"},
                    ParseCase{"[ c \\cue<\"name\">( d e ) ]", 0, 0, "", "",
                              "voice 1 (number -1, length 3/4)\n"
                              "  0/1 0/1 ARStaff - \\staff<1>\n"
                              "  0/1 1/4 ARNote - empty-10*1/4\n"
                              "  1/4 0/1 ARNoteFormat - \\noteFormat<color=\"blue\",size=0.6>\n"
                              "  1/4 1/4 ARNote - d1*1/4\n"
                              "  1/2 1/4 ARNote - e1*1/4\n"
                              " position tags:\n"
                              "voice 2 (number 1, length 3/4)\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              "  1/4 0/1 ARText - \\text<\"name\">\n"
                              "  1/4 1/2 ARNote - empty-10*1/2\n"
                              " position tags:\n"},
                    // Each refusal names its own kind of tag.
                    ParseCase{"[ \\cue( c \\grace( d \\grace( e ) ) \\cue( f ) ) ]", 0, 0, "",
                              "Razid Warning: There is a grace already active\n"
                              "Razid Warning: Tagrange ignored (1)\n"
                              "Razid Warning: There is a cue already active\n"
                              "Razid Warning: Tagrange ignored (1)\n",
                              nullptr},
                    // A cue inside a chord takes its note along; a chord label goes around a chord.
                    ParseCase{"[ { \\cue( c ) } \\splitChord( { d } ) ]", 0, 0, "", "",
                              "voice 1 (number -1, length 1/4)\n"
                              "  0/1 0/1 ARStaff - \\staff<1>\n"
                              "  0/1 0/1 ARNote - empty-10*0/1\n"
                              "  0/1 0/1 ARNoteFormat - \\noteFormat<color=\"blue\",size=0.6>\n"
                              "  0/1 1/4 ARNote - c1*1/4\n"
                              " position tags:\n"
                              "voice 2 (number 1, length 1/4)\n"
                              "  0/1 0/1 ARNote - empty-10*0/1\n"
                              "  0/1 0/1 ARChordComma - \\chordComma\n"
                              "  0/1 0/1 ARNote - empty1*0/1\n"
                              "  0/1 1/4 ARNote - empty-10*1/4\n"
                              "  1/4 0/1 ARChordComma - \\chordComma\n"
                              "  1/4 0/1 ARNote - d1*0/1\n"
                              "  1/4 0/1 ARNote - empty1*0/1\n"
                              " position tags:\n"
                              "  0/1 0/1 ARUserChordTag - \\splitChord(\n"
                              "  1/4 0/1 ARDummyRangeEnd - )\n"}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

TEST(RmnFactoryMusicTest, TagIdsAreCountedAndClampedAndNamesAreKept) {
  EXPECT_EQ(Parse("[ \\dimBegin:1 c \\dimEnd:1 ]").parsed.music->getMaxTagId(), 2);
  EXPECT_EQ(Parse("[ c ]").parsed.music->getMaxTagId(), 0) << "no ids: -1 + 1";
  EXPECT_EQ(Parse("[ \\slur:99999999999( c ) ]").parsed.music->getMaxTagId(),
            ARFactory::kMaxTagId + 1);
  EXPECT_EQ(ARFactory::sMaxTagId, -1) << "handing the music over resets the count";
}

// The scanner asks whether the music is full before every token, and the factory keeps its
// answer between calls that cannot change it: every note, chord and tag parameter must still
// count the moment it is added.
TEST(RmnFactoryMusicTest, TheSizeLimitSeesEveryAddedObjectAtOnce) {
  double const savedLimit = ARMusic::sMaxPassWork;
  // An empty voice counts 256; each plain note 64, each tag parameter 8.
  ARMusic::sMaxPassWork = 256 + 64 * 10;
  {
    ARFactory factory;
    factory.createMusic();
    factory.createVoice();
    for (int note = 1; note <= 12; ++note) {
      factory.createEvent("c");
      EXPECT_EQ(factory.isFull(), note > 11);
      factory.setNumerator(1);
      factory.setDenominator(4);
      EXPECT_EQ(factory.isFull(), note > 11);
      factory.addEvent();
      EXPECT_EQ(factory.isFull(), note > 10) << "after note " << note;
    }
  }
  // A text stands in the voice (64) and in its range list (32).
  ARMusic::sMaxPassWork = 256 + 64 + 32 + 8 * 6;
  {
    ARFactory factory;
    factory.createMusic();
    factory.createVoice();
    factory.createTag("text");
    EXPECT_FALSE(factory.isFull());
    for (int parameter = 1; parameter <= 7; ++parameter) {
      factory.addTagParameter("a");
      EXPECT_EQ(factory.isFull(), parameter > 6) << "after parameter " << parameter;
    }
    testing::internal::CaptureStdout();  // the text does not take so many
    factory.addTag();                    // the parameters go to the tag and no longer count
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(factory.isFull());
    // A chord adds its opening placeholder and two ranges at once.
    factory.createChord();
    EXPECT_TRUE(factory.isFull());
  }
  ARMusic::sMaxPassWork = savedLimit;
}

TEST(RmnFactoryMusicTest, AFileParsesIntoMusicNamedAfterItsPath) {
  auto const path = std::filesystem::temp_directory_path() /
                    ("rmn_factory_test_" + std::to_string(::getpid()) + ".rmn");
  std::ofstream(path) << "{ [ c ], [ d ] }";
  ParsedMusic const parsed = ParseMusicFile(path.c_str());
  std::filesystem::remove(path);
  ASSERT_EQ(parsed.result, 0);
  EXPECT_STREQ(parsed.music->getName().c_str(), path.c_str());
  EXPECT_EQ(parsed.music->GetCount(), 2);
  std::ostringstream rmn;
  parsed.music->output(rmn, false);
  EXPECT_EQ(rmn.str(), " {  [ c1*1/4  ]  ,  [ d1*1/4  ]  } ");
}

TEST(RmnFactoryMusicTest, TextsThatOnceBrokeTheEngineParse) {
  for (auto [text, voices] : {std::pair{"[ \\meter<\"-3/4\"> c d e f ]", 1},
                              {"[ { c*7/2 , e } ]", 1},
                              {"[ \\meter<\"4/4\"> c*32767 ]", 1},
                              {"{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], "
                               "[ \\staff<1> \\clef<\"g2\">  \\stemsAuto  ] }",
                               2}}) {
    Outcome const outcome = Parse(text);
    ASSERT_EQ(outcome.parsed.result, 0) << text;
    EXPECT_EQ(outcome.parsed.music->GetCount(), voices) << text;
  }
}

// Closed ranges are closed at the voice's end as well: a state that kept them open would carry
// them into every later copy of it, and long texts would parse in quadratic time.
TEST(RmnFactoryMusicTest, ClosedRangesAreNotOpenAtTheVoicesEnd) {
  Outcome const outcome = Parse(
      "[ \\slurBegin c \\slurEnd \\slur( d ) \\t<\"x\">( e ) \\grace( f/8 ) g \\tieBegin a ]");
  ASSERT_EQ(outcome.parsed.result, 0);
  ARMusicalVoice* const voice = outcome.parsed.music->GetHead();
  int open = 0;
  for (void* pos = voice->getPositionTagList()->GetHeadPosition(); pos;)
    open += voice->getVoiceState()->IsOpen(voice->getPositionTagList()->GetNext(pos));
  EXPECT_EQ(open, 0) << "the unclosed tie is gone from the normal form";
}

TEST(RmnFactoryMusicTest, DeepNestingIsReportedAndTheTreeDeleted) {
  std::string text = "[ ";
  for (int i = 0; i < 5000; ++i) text += "\\t<\"x\">( ";
  Outcome const outcome = Parse(text);
  EXPECT_EQ(outcome.parsed.result, 2);
  EXPECT_EQ(outcome.out, "Razid error: memory exhausted (line 1, char 0)\n");
}

// Every tag name, with and without ranges, nested, inside chords and left open: no text may
// reach an assertion.
TEST(RmnFactoryMusicTest, EveryTagNameInEveryPlaceParsesOrFailsCleanly) {
  for (TagName const& tag : AllTagNames()) {
    std::string const t = std::string("\\") + tag.name;
    for (std::string const& text :
         {"[ " + t + " c ]", "[ " + t + "( c ) " + t + "() d ]",
          "[ { " + t + " c, " + t + "( e ) } ]", "[ " + t + "<1, \"x\", 2.5cm, a=1>( c d ) ]",
          "[ c " + t + "<\"1\">( d " + t + "( e ) ) ]", "[ " + t + "( " + t + "( c ) { d, e } ) ]",
          "{ [ " + t + "( c ], [ " + t + " ] }"}) {
      Outcome const outcome = Parse(text);
      EXPECT_TRUE(outcome.parsed.result == 0 || outcome.parsed.result == 1) << text;
    }
  }
}

}  // namespace
