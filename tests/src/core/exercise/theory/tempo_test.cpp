#include <gtest/gtest.h>

#include "src/core/exercise/theory/tempo.h"

namespace Core {
namespace {

TEST(TempoTable, SpeedsComeTypicalFirst) {
  int typical = -1, low = -1, high = -1;
  GetTempoBPM(TEMPO_LARGO, typical, low, high);
  EXPECT_EQ(typical, 50);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 60);
  EXPECT_EQ(GetTempoString(TEMPO_VIVACE), "Vivace");
  EXPECT_EQ(GetTempoDescr(TEMPO_ADAGIO), "Slow && stately\n (66-76 bpm)");
  EXPECT_EQ(GetTempoResource(TEMPO_PRESTO), ":/pixmap/exercise/presto.png");
}

TEST(TempoTable, ClassOutsideTheTableGivesNothing) {
  int typical = -1, low = -1, high = -1;
  GetTempoBPM(7, typical, low, high);
  EXPECT_EQ(typical, 0);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);
  EXPECT_TRUE(GetTempoString(7).isEmpty());
  EXPECT_TRUE(GetTempoDescr(100).isEmpty());
  EXPECT_TRUE(GetTempoResource(0xFFFFFFFFu).isEmpty());
}

}  // namespace
}  // namespace Core
