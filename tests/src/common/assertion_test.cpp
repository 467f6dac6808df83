#include <gtest/gtest.h>

#include "src/common/assertion.h"

namespace {

int CheckedIndex(int index) {
  MELVARIN_ASSERT(index < 4);
  return index;
}

TEST(AssertionDeathTest, ReportsPathFunctionLineAndExpression) {
  EXPECT_EQ(CheckedIndex(3), 3);
  EXPECT_DEATH(CheckedIndex(4),
               "Assertion failed: index < 4, function CheckedIndex, file "
               "\\.\\./\\.\\./tests/src/common/assertion_test\\.cpp, line [0-9]+\\.");
}

}  // namespace
