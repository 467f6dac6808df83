#include <gtest/gtest.h>

#include <string>

#include "NVstring.h"

namespace {

std::string Text(NVstring const& s) {
  return std::string(s.c_str(), s.length());
}

TEST(NVstringTest, ShortTextsStayInlineAndLongerOnesRoundToSixteen) {
  const int allocated = NVstring::sDebugAllocCount;
  NVstring seven("abcdefg");
  EXPECT_EQ(seven.capacity(), 8u);
  EXPECT_EQ(NVstring::sDebugAllocCount, allocated);

  NVstring eight("abcdefgh");
  EXPECT_EQ(eight.capacity(), 16u);
  NVstring sixteen("abcdefghijklmnop");
  EXPECT_EQ(sixteen.capacity(), 32u);
  EXPECT_EQ(NVstring::sDebugAllocCount, allocated + 2);

  // Buffers never shrink: a shorter text keeps the heap buffer, Reset gives it up.
  const int released = NVstring::sDebugReleaseCount;
  sixteen = "ab";
  EXPECT_EQ(sixteen.capacity(), 32u);
  sixteen.Reset();
  EXPECT_EQ(sixteen.capacity(), 8u);
  EXPECT_STREQ(sixteen.c_str(), "");
  EXPECT_EQ(NVstring::sDebugReleaseCount, released + 1);
}

TEST(NVstringTest, QueriesAnswerAsDocumented) {
  NVstring letters("abcdef");
  EXPECT_EQ(Text(letters.substr(2, 3)), "cde");
  EXPECT_EQ(letters.substr(4, 3).length(), 0u);  // overruns: empty, never clipped
  EXPECT_EQ(letters.substr(6, 0).length(), 0u);
  EXPECT_EQ(letters.substr(7, 0).length(), 0u);
  EXPECT_EQ(letters.substr(2, NVstring::NPOS).length(), 0u);

  NVstring empty;
  NVstring one("a");
  EXPECT_TRUE(empty.equal(nullptr));
  EXPECT_FALSE(one.equal(nullptr));
  EXPECT_TRUE(empty.equal(""));
  EXPECT_FALSE(one.equal("A"));

  NVstring abc("abc");
  EXPECT_EQ(abc.find('c', 10), NVstring::NPOS);
  EXPECT_EQ(abc.find('c', 0), 2u);
  EXPECT_EQ(abc.find('c', 3), NVstring::NPOS);
  EXPECT_EQ(NVstring("abcbc").find("bc"), 1u);
  EXPECT_EQ(abc.find("x"), NVstring::NPOS);
  EXPECT_EQ(abc.get_at(3), 0);
  EXPECT_EQ(abc.get_at(1), 'b');
  EXPECT_EQ(NVstring("\xe9").get_at(0), static_cast<signed char>('\xe9'));
}

TEST(NVstringTest, EditsInPlace) {
  NVstring fruit("banana");
  EXPECT_EQ(fruit.replace('a', 'b'), 3u);
  EXPECT_EQ(Text(fruit), "bbnbnb");

  NVstring mixed("MiXeD Case 12");
  mixed.to_lower();
  EXPECT_EQ(Text(mixed), "mixed case 12");
  mixed.trim(5);
  EXPECT_EQ(Text(mixed), "mixed");
  mixed.trim(100);  // beyond the buffer: ignored
  EXPECT_EQ(Text(mixed), "mixed");
}

TEST(NVstringTest, NullAndEmptyInputsLeaveTheTextAlone) {
  NVstring s("xy");
  s.append(nullptr, 5);
  s.append("z", 0);
  s.append(static_cast<char const*>(nullptr));
  EXPECT_EQ(Text(s), "xy");
  s.assign(nullptr, 5);
  EXPECT_EQ(s.length(), 0u);
  EXPECT_STREQ(s.c_str(), "");
  EXPECT_EQ(NVstring(static_cast<NVstring const*>(nullptr)).length(), 0u);
}

TEST(NVstringTest, AppendsAcrossTheInlineLimit) {
  NVstring s;
  for (char c = 'a'; c <= 'z'; ++c) s.append(c);
  EXPECT_EQ(Text(s), "abcdefghijklmnopqrstuvwxyz");
  EXPECT_EQ(s.capacity(), 32u);
}

TEST(NVstringTest, CopiesKeepEmbeddedZeroBytes) {
  NVstring s;
  s.assign("a\0b", 3);
  NVstring copy(s);
  EXPECT_EQ(copy.length(), 3u);
  EXPECT_EQ(Text(copy), std::string("a\0b", 3));
  NVstring assigned;
  assigned = s;
  EXPECT_EQ(Text(assigned), std::string("a\0b", 3));
}

// Texts taken from the string's own buffer may overlap the destination or move when the buffer
// grows; the sanitizer build catches a wrong copy here.
TEST(NVstringTest, AssignsAndAppendsItsOwnText) {
  NVstring s("abcdefghijklmnopqrstuvwxyz");
  s.assign(s.c_str() + 3, 5);
  EXPECT_EQ(Text(s), "defgh");
  s = "abcdefghij";
  s.assign(s.c_str() + 1);
  EXPECT_EQ(Text(s), "bcdefghij");
  s = s;
  EXPECT_EQ(Text(s), "bcdefghij");

  NVstring small("abcdefg");
  small.append(small.c_str(), small.length());
  EXPECT_EQ(Text(small), "abcdefgabcdefg");
  small.append(small);
  EXPECT_EQ(Text(small), "abcdefgabcdefgabcdefgabcdefg");
}

}  // namespace
