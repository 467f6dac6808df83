#include "src/core/midi/platform/low_pass_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/src/core/midi/platform/audio_test_support.h"

namespace Core {
namespace {

double GainAt(double frequency) {
  LowPassFilter filter;
  filter.Configure(8000.0, 44100.0);
  std::vector<float> signal(44100);
  for (size_t i = 0; i < signal.size(); ++i)
    signal[i] = static_cast<float>(std::sin(2 * 3.14159265358979 * frequency * i / 44100.0));
  filter.Process(signal.data(), static_cast<int>(signal.size()));
  const std::vector<float> settled(signal.begin() + 4410, signal.end());
  return Testing::Rms(settled) / std::sqrt(0.5);
}

TEST(LowPassFilter, PassesTheMusicAndCutsTheTopOctaves) {
  EXPECT_NEAR(GainAt(440.0), 1.0, 0.02);
  EXPECT_NEAR(GainAt(8000.0), std::sqrt(0.5), 0.05);
  EXPECT_LT(GainAt(18000.0), 0.2);
}

}  // namespace
}  // namespace Core
