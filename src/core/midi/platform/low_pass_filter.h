#pragma once

// A second-order low-pass (Butterworth response, bilinear transform) for one audio channel. The
// synthesizer's output passes through one per channel, taking the edge off bright samples.

#include <algorithm>
#include <cmath>

namespace Core {

class LowPassFilter {
 public:
  void Configure(double cutoffHz, double sampleRate) {
    const double pi = 3.14159265358979323846;
    // An audio output running at a low rate puts the cutoff at or above half the rate, where the
    // design breaks down (at exactly half it divides by infinity); it is held just below.
    const double cutoff = std::min(cutoffHz, 0.45 * sampleRate);
    const double k = std::tan(pi * cutoff / sampleRate);
    const double q = 1.0 / std::sqrt(2.0);
    const double norm = 1.0 / (1.0 + k / q + k * k);
    m_a0 = k * k * norm;
    m_a1 = 2.0 * m_a0;
    m_a2 = m_a0;
    m_b1 = 2.0 * (k * k - 1.0) * norm;
    m_b2 = (1.0 - k / q + k * k) * norm;
    m_z1 = m_z2 = 0.0;
  }

  void Process(float* samples, int count) {
    for (int i = 0; i < count; ++i) {
      const double in = samples[i];
      const double out = in * m_a0 + m_z1;
      m_z1 = in * m_a1 + m_z2 - m_b1 * out;
      m_z2 = in * m_a2 - m_b2 * out;
      samples[i] = static_cast<float>(out);
    }
  }

 private:
  double m_a0 = 1.0, m_a1 = 0.0, m_a2 = 0.0, m_b1 = 0.0, m_b2 = 0.0;
  double m_z1 = 0.0, m_z2 = 0.0;
};

}  // namespace Core
