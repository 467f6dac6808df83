// The scanner and grammar on their own: this program supplies the parser callbacks itself and
// records which ones each text fires, in order, with their arguments.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "parse_error.h"
#include "parser_callbacks.h"
#include "rmn_parse.h"

namespace {

std::string gTrace;

void Record(std::string const& call) {
  if (!gTrace.empty()) gTrace += ' ';
  gTrace += call;
}

}  // namespace

void gd_segmInit() {
  Record("{");
}
void gd_segmExit() {
  Record("}");
}
void gd_segmAppendSeq() {
  Record("+seq");
}
void gd_seqInit() {
  Record("[");
}
void gd_seqExit() {
  Record("]");
}
void gd_seqAppendNote() {
  Record("+note");
}
void gd_seqAppendChord() {
  Record("+chord");
}
void gd_chordInit() {
  Record("chord");
}
void gd_chordInitNote() {
  Record("member");
}
void gd_chordAppendNote() {
  Record("+member");
}
void gd_noteInit(char const* name) {
  Record(std::string("note:") + name);
}
void gd_noteAcc(int n) {
  Record("acc:" + std::to_string(n));
}
void gd_noteOct(long n) {
  Record("oct:" + std::to_string(n));
}
void gd_noteEnum(long n) {
  Record("num:" + std::to_string(n));
}
void gd_noteDenom(long d) {
  Record("den:" + std::to_string(d));
}
void gd_noteDot() {
  Record("dot");
}
void gd_noteDdot() {
  Record("ddot");
}
void gd_noteAbsDur(long) {
  Record("absdur");
}
void gd_tagStart(char const* name, long id) {
  Record(std::string("tag:") + name + (id ? ":" + std::to_string(id) : ""));
}
void gd_tagIntArg(long n) {
  Record("int:" + std::to_string(n));
}
void gd_tagFloatArg(double x) {
  Record("float:" + std::to_string(x));
}
void gd_tagStrArg(char const* text) {
  Record(std::string("str:") + text);
}
void gd_tagArgUnit(char const* unit) {
  Record(std::string("unit:") + unit);
}
void gd_tagAddArg(char const* name) {
  Record(std::string("arg:") + name);
}
void gd_tagAdd() {
  Record("add");
}
void gd_tagRange() {
  Record("range");
}
void gd_tagEnd() {
  Record("end");
}
bool gd_musicTooLarge() {
  return false;
}
void gd_warning(char const* message) {
  Record(std::string("warning:") + message);
}

namespace {

struct GrammarCase {
  char const* text;
  int result;
  char const* trace;   // the callbacks fired, in order
  char const* output;  // what the parse wrote on standard output
};

class RmnGrammarTest : public testing::TestWithParam<GrammarCase> {};

TEST_P(RmnGrammarTest, FiresTheCallbacksOfItsRulesAndReportsTheFirstBadToken) {
  GrammarCase const& c = GetParam();
  gTrace.clear();
  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_parse_buffer(c.text), c.result) << c.text;
  EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output) << c.text;
  EXPECT_EQ(gTrace, c.trace) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Scores, RmnGrammarTest,
    testing::Values(
        GrammarCase{"[ c d e ]", 0, "{ [ note:c +note note:d +note note:e +note ] }", ""},
        GrammarCase{"{ }", 0, "{ }", ""},
        GrammarCase{"{ [ c ], [ ] }", 0, "{ [ note:c +note ] +seq [ ] +seq }", ""},
        GrammarCase{"{ [ c ] , }", 1, "{ [ note:c +note ] +seq",
                    "Razid error: syntax error (line 1, char 11)\n"},
        GrammarCase{"[ ] [ ]", 1, "{ [ ] }", "Razid error: syntax error (line 1, char 5)\n"},
        GrammarCase{"{ [ c ] [ d ] }", 1, "{ [ note:c +note ] +seq",
                    "Razid error: syntax error (line 1, char 9)\n"},
        GrammarCase{"[ c cm ]", 1, "{ [ note:c +note",
                    "Razid error: syntax error (line 1, char 5)\n"},
        GrammarCase{"[ c es ]", 1, "{ [ note:c +note note:e +note",
                    "Razid error: syntax error (line 1, char 6)\n"},
        GrammarCase{"[ ut ]", 1, "{ [",
                    "extra text is : u\n"
                    "Razid error: syntax error (line 1, char 3)\n"},
        GrammarCase{"[ c d\n  e x ]", 1, "{ [ note:c +note note:d +note note:e +note",
                    "extra text is : x\nRazid error: syntax error (line 2, char 5)\n"},
        GrammarCase{"[ c \"open\n", 1, "{ [ note:c +note",
                    "extra text is : \"\nRazid error: syntax error (line 1, char 5)\n"},
        GrammarCase{"[ c ] % rest of the line ]\n", 0, "{ [ note:c +note ] }", ""},
        GrammarCase{"[ c (* a (* b\n *) c *) d ]", 0, "{ [ note:c +note note:d +note ] }", ""},
        GrammarCase{"[ c (* a\n *) d %\n ! ]", 1, "{ [ note:c +note note:d +note",
                    "extra text is : !\nRazid error: syntax error (line 3, char 2)\n"},
        GrammarCase{"[ c (* never closed", 1, "{ [ note:c +note",
                    "Razid error: syntax error (line 1, char 19)\n"},
        // A zero-width no-break space (a byte-order mark left inside a text) parts tokens as a
        // blank does, and is one character where a fault is counted; in a string it stays.
        GrammarCase{"\xEF\xBB\xBF[ c\xEF\xBB\xBF"
                    "d\xEF\xBB\xBF]",
                    0, "{ [ note:c +note note:d +note ] }", ""},
        GrammarCase{"[ c\xEF\xBB\xBF! ]", 1, "{ [ note:c +note",
                    "extra text is : !\nRazid error: syntax error (line 1, char 5)\n"},
        GrammarCase{"[ \\t<\"a\xEF\xBB\xBF\"> ]", 0,
                    "{ [ tag:\\t str:a\xEF\xBB\xBF arg: add end ] }", ""}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

INSTANTIATE_TEST_SUITE_P(
    Events, RmnGrammarTest,
    testing::Values(
        GrammarCase{"[ c#&2*3/8.. ]", 0, "{ [ note:c acc:1 acc:-1 oct:2 num:3 den:8 ddot +note ] }",
                    ""},
        GrammarCase{"[ cis&2/8. ]", 0, "{ [ note:cis acc:-1 oct:2 den:8 dot +note ] }", ""},
        GrammarCase{"[ _<3>*3/8 c<7>/4 ]", 0, "{ [ note:_ num:3 den:8 +note note:c den:4 +note ] }",
                    ""},
        GrammarCase{"[ sol-1 empty*2 h1. ]", 0,
                    "{ [ note:sol oct:-1 +note note:empty num:2 +note note:h oct:1 dot +note ] }",
                    ""},
        GrammarCase{"[ c1.5 ]", 1, "{ [ note:c +note",
                    "Razid error: syntax error (line 1, char 4)\n"},
        GrammarCase{"[ c99999999999 ]", 0, "{ [ note:c oct:2147483647 +note ] }", ""},
        // Numbers are cut to the int range exactly at its ends, with a sign or without.
        GrammarCase{"[ c-2147483648 d-2147483649 e+2147483647 f2147483648 g-0 a+007 ]", 0,
                    "{ [ note:c oct:-2147483648 +note note:d oct:-2147483648 +note note:e "
                    "oct:2147483647 +note note:f oct:2147483647 +note note:g oct:0 +note note:a "
                    "oct:7 +note ] }",
                    ""},
        GrammarCase{"[ { c, e/8 } ]", 0,
                    "{ [ chord member note:c +member member note:e den:8 +member +chord ] }", ""},
        GrammarCase{"[ { \\i c \\s, \\t(e) } ]", 0,
                    "{ [ chord member tag:\\i add end note:c +member tag:\\s add end member "
                    "tag:\\t add range note:e +member end +chord ] }",
                    ""}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

INSTANTIATE_TEST_SUITE_P(
    Tags, RmnGrammarTest,
    testing::Values(
        GrammarCase{"[ \\i<dy=-2.5hs, 3cm, \"ff\"> ]", 0,
                    "{ [ tag:\\i float:-2.500000 unit:hs arg:dy int:3 unit:cm arg: str:ff "
                    "arg: add end ] }",
                    ""},
        GrammarCase{"[ \\t<\"a\\\"b\", \"x\\\\y\", \"\\d\"> ]", 0,
                    "{ [ tag:\\t str:a\"b arg: str:x\\y arg: str:\\d arg: add end ] }", ""},
        GrammarCase{"[ \\t<\"line\nfeed\"> x ]", 1, "{ [ tag:\\t str:line\nfeed arg: add end",
                    "extra text is : x\nRazid error: syntax error (line 2, char 8)\n"},
        GrammarCase{"[ \\i<\"p\", (* note *) dy=1> ]", 1,
                    "{ [ tag:\\i str:p arg:", "Razid error: syntax error (line 1, char 22)\n"},
        GrammarCase{"[ \\i<> ]", 1, "{ [ tag:\\i", "Razid error: syntax error (line 1, char 6)\n"},
        GrammarCase{"[ \\i<1,> ]", 1,
                    "{ [ tag:\\i int:1 arg:", "Razid error: syntax error (line 1, char 8)\n"},
        GrammarCase{"[ \\t1<$x=+1.5, b_2=-.5rl, 7> ]", 0,
                    "{ [ tag:\\t1 float:1.500000 arg:$x float:-0.500000 unit:rl arg:b_2 int:7 "
                    "arg: add end ] }",
                    ""},
        GrammarCase{"[ \\i<1.5.3> ]", 1, "{ [ tag:\\i float:1.500000 arg:",
                    "Razid error: syntax error (line 1, char 9)\n"},
        GrammarCase{"[ \\i<3, word> ]", 0, "{ [ tag:\\i int:3 arg: arg: add end ] }", ""},
        GrammarCase{"[ \\tag:3 | \\slur(c) ]", 0,
                    "{ [ tag:\\tag:3 add end tag:\\bar add end tag:\\slur add range note:c +note "
                    "end ] }",
                    ""},
        GrammarCase{"[ \\tag:99999999999 ]", 0, "{ [ tag:\\tag:2147483647 add end ] }", ""},
        GrammarCase{"[ \\meter<4/4> c ]", 1,
                    "{ [ tag:\\meter int:4 arg:", "Razid error: syntax error (line 1, char 11)\n"},
        GrammarCase{"[ \\key<ms> ]", 1, "{ [ tag:\\key",
                    "Razid error: syntax error (line 1, char 8)\n"},
        GrammarCase{"[ \\ c ]", 1, "{ [",
                    "extra text is : \\\n"
                    "Razid error: syntax error (line 1, char 3)\n"}),
    [](auto const& param) { return "case" + std::to_string(param.index); });

TEST(RmnParseTest, EmptyTextIsNoInputAndEachParseCountsLinesFromOne) {
  gTrace.clear();
  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_parse_buffer(""), RMN_PARSE_NO_INPUT);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(gTrace, "");

  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_parse_buffer("[ c\n\n\n ! ]"), RMN_PARSE_SYNTAX_ERROR);
  EXPECT_EQ(gd_parse_buffer("[ \\i<(* comment in a list"), RMN_PARSE_SYNTAX_ERROR);
  EXPECT_EQ(gd_parse_buffer("[ c ! ]"), RMN_PARSE_SYNTAX_ERROR);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "extra text is : !\nRazid error: syntax error (line 4, char 2)\n"
            "Razid error: syntax error (line 1, char 25)\n"
            "extra text is : !\nRazid error: syntax error (line 1, char 5)\n");
}

TEST(RmnParseTest, DeepNestingExhaustsTheStackWithoutCrashing) {
  std::string text = "[ ";
  for (int i = 0; i < 5000; ++i) text += "\\t<\"x\">( ";
  gTrace.clear();
  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_parse_buffer(text.c_str()), RMN_PARSE_MEMORY_EXHAUSTED);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Razid error: memory exhausted (line 1, char 0)\n");
  // The same depth within the limit parses.
  text = "[ ";
  for (int i = 0; i < 1000; ++i) text += "\\t(";
  text += " c " + std::string(1000, ')') + " ]";
  EXPECT_EQ(gd_parse_buffer(text.c_str()), RMN_PARSE_OK);
}

TEST(RmnParseTest, FilesAreReadAsTheyAreOrFromTheirUtf16Form) {
  auto const dir =
      std::filesystem::temp_directory_path() /
      ("rmn_grammar_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  std::string const text = "[ c\nd ]";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) utf16 += std::string{c, '\0'};
  std::ofstream(dir / "plain.rmn", std::ios::binary) << text;
  std::ofstream(dir / "utf16.rmn", std::ios::binary) << utf16;
  for (char const* name : {"plain.rmn", "utf16.rmn"}) {
    gTrace.clear();
    EXPECT_EQ(gd_parse((dir / name).c_str()), RMN_PARSE_OK) << name;
    EXPECT_EQ(gTrace, "{ [ note:c +note note:d +note ] }") << name;
  }
  std::ifstream kept(dir / "utf16.rmn", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), utf16) << "file unchanged";

  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_parse((dir / "missing.rmn").c_str()), RMN_PARSE_NO_INPUT);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Razid error: Could not open file (line 1, char 0)\n");
  std::filesystem::remove_all(dir);
}

// A marked UTF-16 file is read in its mark's byte order, each character as UTF-8: a bullet
// whose low byte is a quote stays a bullet, a character beyond 16 bits comes from its two halves.
// What is no character reads as the replacement character; two equal mark bytes give no order.
TEST(RmnParseTest, Utf16FilesAreReadCharacterForCharacter) {
  struct Case {
    std::string bytes, text;
  } const cases[] = {
      {std::string("\xFF\xFE\x22\x20\xE8\x00\x34\xD8\x1E\xDD\x00\x00x\x00", 14),
       "\xE2\x80\xA2\xC3\xA8\xF0\x9D\x84\x9Ex"},
      {std::string("\xFE\xFF\x20\x22\x00\xE8\xD8\x34\xDD\x1E", 10),
       "\xE2\x80\xA2\xC3\xA8\xF0\x9D\x84\x9E"},
      {std::string("\xFF\xFE\x34\xD8x\x00\x1E\xDDy", 9), "\xEF\xBF\xBDx\xEF\xBF\xBD"},
      {std::string{'\xFE', '\xFE', 'c', '\0', '\xE8', '\0'}, "c"},
  };
  for (Case const& c : cases) EXPECT_EQ(RmnFileText(c.bytes), c.text) << c.text;
}

}  // namespace
