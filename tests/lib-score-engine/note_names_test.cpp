#include <gtest/gtest.h>

#include <string>

#include "note_names.h"
#include "parse_error.h"

namespace {

TEST(NoteNamesTest, EverySpellingHasItsCode) {
  struct Case {
    char const* name;
    int code;
  };
  for (Case c : {Case{"empty", 0},
                 {"_", 1},
                 {"rest", 1},
                 {"ut", 2},
                 {"do", 2},
                 {"re", 3},
                 {"mi", 4},
                 {"fa", 5},
                 {"so", 6},
                 {"sol", 6},
                 {"la", 7},
                 {"b", 8},
                 {"si", 8},
                 {"ti", 8},
                 {"h", 8},
                 {"cis", 9},
                 {"ais", 13}})
    EXPECT_EQ(gd_noteName2pc(c.name), c.code) << c.name;

  for (int code = 1; code <= 13; ++code)
    EXPECT_EQ(gd_noteName2pc(gd_pc2noteName(code)), code) << "each name reads back";
  EXPECT_STREQ(gd_pc2noteName(0), "");
  EXPECT_STREQ(gd_pc2noteName(8), "h");
  EXPECT_STREQ(gd_pc2noteName(14), "");
  EXPECT_STREQ(gd_pc2noteName(-1), "");
}

TEST(NoteNamesTest, UnknownNamesAreReportedWithTheirLineAndReadAsRests) {
  lnr = 3;
  cnr = 0;
  for (char const* name : {"C", "cisis", ""}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(gd_noteName2pc(name), 1) << name;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Razid error: Unknown notename, replaced by rest. (line 3, char 0)\n");
  }
  EXPECT_EQ(gParseErrorLine, 3);
  EXPECT_EQ(gParseErrorCol, 0);

  lnr = 1L << 40;  // a line count beyond int is kept within it
  testing::internal::CaptureStdout();
  EXPECT_EQ(gd_error("syntax error"), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(gParseErrorLine, INT32_MAX);
  lnr = 1;
}

}  // namespace
