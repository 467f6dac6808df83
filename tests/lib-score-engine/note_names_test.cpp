#include <gtest/gtest.h>

#include "note_names.h"
#include "parse_error.h"

namespace {

TEST(NoteNamesTest, SpellingsGiveCodesAndUnknownNamesAreReportedAsRests) {
  for (auto [name, code] : {std::pair{"empty", 0},
                            {"rest", 1},
                            {"ut", 2},
                            {"sol", 6},
                            {"so", 6},
                            {"ti", 8},
                            {"b", 8},
                            {"ais", 13}})
    EXPECT_EQ(gd_noteName2pc(name), code) << name;
  for (int code = 1; code <= 13; ++code)
    EXPECT_EQ(gd_noteName2pc(gd_pc2noteName(code)), code) << "each name reads back";
  for (int code : {0, 14, -1}) EXPECT_STREQ(gd_pc2noteName(code), "");

  lnr = 3;
  for (char const* name : {"C", "cisis"}) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(gd_noteName2pc(name), 1) << name;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Razid error: Unknown notename, replaced by rest. (line 3, char 0)\n");
  }
  EXPECT_EQ(gParseErrorLine, 3);
  lnr = 1;
}

}  // namespace
