#include <gtest/gtest.h>

#include <string>

#include "NVstring.h"

namespace {

std::string Text(NVstring const& s) {
  return std::string(s.c_str(), s.length());
}

TEST(NVstringTest, ShortTextsStayInlineAndLongerOnesRoundToSixteen) {
  const int allocated = NVstring::sDebugAllocCount;
  EXPECT_EQ(NVstring("abcdefg").capacity(), 8u);
  EXPECT_EQ(NVstring::sDebugAllocCount, allocated);
  NVstring eight("abcdefgh");
  EXPECT_EQ(eight.capacity(), 16u);
  NVstring sixteen("abcdefghijklmnop");
  EXPECT_EQ(sixteen.capacity(), 32u);

  // Buffers never shrink: a shorter text keeps the heap buffer, Reset gives it up.
  const int released = NVstring::sDebugReleaseCount;
  sixteen = "ab";
  EXPECT_EQ(sixteen.capacity(), 32u);
  sixteen.Reset();
  EXPECT_EQ(sixteen.capacity(), 8u);
  EXPECT_EQ(NVstring::sDebugReleaseCount, released + 1);

  NVstring letters;
  for (char c = 'a'; c <= 'z'; ++c) letters.append(c);
  EXPECT_EQ(Text(letters), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(letters.capacity(), 32u);
}

TEST(NVstringTest, QueriesAndEdits) {
  NVstring letters("abcdef");
  EXPECT_EQ(Text(letters.substr(2, 3)), "cde");
  EXPECT_EQ(letters.substr(4, 3).length(), 0u);  // overruns: empty, never clipped
  EXPECT_EQ(letters.substr(2, NVstring::NPOS).length(), 0u);

  EXPECT_TRUE(NVstring().equal(nullptr));
  EXPECT_FALSE(NVstring("a").equal(nullptr));
  EXPECT_FALSE(NVstring("a").equal("A"));

  NVstring abc("abc");
  EXPECT_EQ(abc.find('c', 10), NVstring::NPOS);
  EXPECT_EQ(abc.find('c', 0), 2u);
  EXPECT_EQ(NVstring("abcbc").find("bc"), 1u);
  EXPECT_EQ(abc.get_at(3), 0);
  EXPECT_EQ(NVstring("\xe9").get_at(0), static_cast<signed char>('\xe9'));

  NVstring fruit("banana");
  EXPECT_EQ(fruit.replace('a', 'b'), 3u);
  EXPECT_EQ(Text(fruit), "bbnbnb");
  NVstring mixed("MiXeD 12");
  mixed.to_lower();
  mixed.trim(5);
  EXPECT_EQ(Text(mixed), "mixed");
  mixed.trim(100);  // beyond the buffer: ignored
  EXPECT_EQ(Text(mixed), "mixed");
}

TEST(NVstringTest, NullInputsAndEmbeddedZeros) {
  NVstring s("xy");
  s.append(nullptr, 5);
  s.append("z", 0);
  EXPECT_EQ(Text(s), "xy");
  s.assign(nullptr, 5);
  EXPECT_STREQ(s.c_str(), "");
  EXPECT_EQ(NVstring(static_cast<NVstring const*>(nullptr)).length(), 0u);

  s.assign("a\0b", 3);
  NVstring copy(s);
  EXPECT_EQ(Text(copy), std::string("a\0b", 3));
}

// Texts taken from the string's own buffer may overlap the destination or move when the buffer
// grows; the sanitizer build catches a wrong copy here.
TEST(NVstringTest, AssignsAndAppendsItsOwnText) {
  NVstring s("abcdefghijklmnopqrstuvwxyz");
  s.assign(s.c_str() + 3, 5);
  EXPECT_EQ(Text(s), "defgh");
  s = s;
  EXPECT_EQ(Text(s), "defgh");

  NVstring small("abcdefg");
  small.append(small.c_str(), small.length());
  EXPECT_EQ(Text(small), "abcdefgabcdefg");
  small.append(small);
  EXPECT_EQ(Text(small), "abcdefgabcdefgabcdefgabcdefg");
}

}  // namespace
