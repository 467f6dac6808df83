#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "TagTextNumber.h"

namespace {

TEST(TagTextNumberTest, ReadsLikeAtoiButStaysWithinTheIntRange) {
  struct Case {
    char const* text;
    int value;
    size_t read;  // characters taken
  };
  const Case cases[] = {
      {"42/4", 42, 2},
      {" -8va", -8, 3},
      {"+15", 15, 3},
      {"x3", 0, 0},
      {"-", 0, 0},
      {"", 0, 0},
      {"2147483647", INT_MAX, 10},
      {"2147483648", INT_MAX, 10},
      {"-2147483648", INT_MIN, 11},
      {"-99999999999999999999999", INT_MIN, 24},
  };
  for (Case const& c : cases) {
    char const* end = nullptr;
    EXPECT_EQ(ReadTagTextInt(c.text, &end), c.value) << c.text;
    EXPECT_EQ(static_cast<size_t>(end - c.text), c.read) << c.text;
  }
}

}  // namespace
