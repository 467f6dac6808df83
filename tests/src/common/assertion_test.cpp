#include <gtest/gtest.h>

#include <string>

#include "src/common/assertion.h"

namespace {

int CheckedIndex(int index) {
  MELVARIN_ASSERT(index < 4);
  return index;
}

TEST(AssertionDeathTest, ReportsPathFunctionLineAndExpression) {
  EXPECT_EQ(CheckedIndex(3), 3);
  std::string file;  // the path as a pattern: its dots are dots
  for (char c : std::string(MELVARIN_SOURCE_PREFIX "tests/src/common/assertion_test.cpp"))
    file += c == '.' ? std::string("\\.") : std::string(1, c);
  EXPECT_DEATH(CheckedIndex(4), "Assertion failed: index < 4, function CheckedIndex, file " + file +
                                    ", line [0-9]+\\.");
}

}  // namespace
