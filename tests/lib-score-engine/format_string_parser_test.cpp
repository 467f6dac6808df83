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
      {"[]", {}},
      {"a]b", {{"a", 0}, {"b", 0}}},
      {"[a[b", {{"a", 1}, {"b", 1}}},
      {"x\\", {{"x", 0}}},
  };
  FormatStringParser parser;
  for (Case const& c : cases) {
    FormatStringParserResult pieces{{"kept", 0}};
    parser.parse(c.text, pieces);
    pieces.erase(pieces.begin());
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
}

}  // namespace
