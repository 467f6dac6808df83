#include <gtest/gtest.h>

#include "src/core/midi/error.h"

namespace {

Error FailWithPortError(int rtMidiType) {
  return MELVARIN_ERROR(Error::MidiPorts + rtMidiType, QStringLiteral("no ports"));
}

TEST(Error, EmptyMeansSuccess) {
  Error success;
  EXPECT_TRUE(success.IsEmpty());
  EXPECT_FALSE(success);
  EXPECT_EQ(success.GetCode(), 0);
  EXPECT_TRUE(success.GetMessage().isEmpty());
}

TEST(Error, RecordsWhereAndWhatFailed) {
  Error error = FailWithPortError(8);
  ASSERT_TRUE(error);
  EXPECT_EQ(error.GetCode(), 0x308);
  EXPECT_EQ(error.GetMessage(), "no ports");
  EXPECT_STREQ(error.GetFunction(), "FailWithPortError");
  EXPECT_STREQ(error.GetFile(), MELVARIN_SOURCE_PREFIX "tests/src/core/midi/error_test.cpp");
  EXPECT_GT(error.GetLine(), 0);
  EXPECT_TRUE(error.GetData()->inner.IsEmpty());
}

TEST(Error, CopiesShareOneRecordFreedWithTheLast) {
  std::weak_ptr<Detail::ErrorData> record;
  {
    Error first = FailWithPortError(1);
    record = first.GetData();
    Error second = first;
    EXPECT_EQ(first.GetData(), second.GetData());
    EXPECT_EQ(record.use_count(), 2);
  }
  EXPECT_TRUE(record.expired());
}

}  // namespace
