#include "src/core/midi/platform/low_pass_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tests/src/core/midi/platform/audio_test_support.h"

namespace Core {
namespace {

double GainAt(double frequency, double rate = 44100.0) {
  LowPassFilter filter;
  filter.Configure(8000.0, rate);
  std::vector<float> signal(static_cast<size_t>(rate));
  for (size_t i = 0; i < signal.size(); ++i)
    signal[i] = static_cast<float>(std::sin(2 * 3.14159265358979 * frequency * i / rate));
  filter.Process(signal.data(), static_cast<int>(signal.size()));
  const std::vector<float> settled(signal.begin() + signal.size() / 10, signal.end());
  return Testing::Rms(settled) / std::sqrt(0.5);
}

TEST(LowPassFilter, PassesTheMusicAndCutsTheTopOctaves) {
  EXPECT_NEAR(GainAt(440.0), 1.0, 0.02);
  EXPECT_NEAR(GainAt(8000.0), std::sqrt(0.5), 0.05);
  EXPECT_LT(GainAt(18000.0), 0.2);
}

// An audio server may run at 16 kHz, where the cutoff would sit at half the rate.
TEST(LowPassFilter, StillPassesTheMusicAtALowSampleRate) {
  for (double rate : {16000.0, 11025.0}) {
    const double gain = GainAt(440.0, rate);
    EXPECT_TRUE(std::isfinite(gain)) << rate;
    EXPECT_NEAR(gain, 1.0, 0.05) << rate;
  }
}

}  // namespace
}  // namespace Core
