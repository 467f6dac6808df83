#include <gtest/gtest.h>

#include "FormatStringParser.h"

namespace {

TEST(FormatStringParserTest, CutsPlainAndSpecialPieces) {
  struct Case {
    char const* text;
    FormatStringParserResult pieces;
  };
  Case const cases[] = {
      {"ab [x]", {{"ab ", 0}, {"x", 1}}},
      {"[c] al fine", {{"c", 1}, {" al fine", 0}}},
      {"\\[a\\]", {{"[a]", 0}}},
      {"", {}},
      {"[]", {}},
      {"a]b", {{"a", 0}, {"b", 0}}},
      {"[a[b", {{"a", 1}, {"b", 1}}},
      {"x\\", {{"x", 0}}},
      {"\\\\[s]", {{"\\", 0}, {"s", 1}}},
  };
  FormatStringParser parser;
  for (Case const& c : cases) {
    FormatStringParserResult pieces;
    parser.parse(c.text, pieces);
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }

  FormatStringParserResult kept{{"before", 0}};
  parser.parse("[y", kept);
  EXPECT_EQ(kept, (FormatStringParserResult{{"before", 0}, {"y", 1}})) << "pieces are appended";
}

}  // namespace
