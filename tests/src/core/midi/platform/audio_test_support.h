#pragma once

// Measuring rendered audio in tests.

#include <cmath>
#include <vector>

namespace Testing {

constexpr const char* TestSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

inline double Rms(const std::vector<float>& samples) {
  double sum = 0.0;
  for (float s : samples) sum += double(s) * s;
  return samples.empty() ? 0.0 : std::sqrt(sum / samples.size());
}

// Renders `seconds` of audio through `render(left, right, frames)` in blocks of 256 frames, as an
// audio output would, and returns the left channel.
template <class Render>
std::vector<float> RenderSeconds(Render&& render, double seconds, double rate = 44100.0) {
  std::vector<float> out;
  const int total = static_cast<int>(seconds * rate);
  std::vector<float> left(256), right(256);
  for (int done = 0; done < total; done += 256) {
    render(left.data(), right.data(), 256);
    out.insert(out.end(), left.begin(), left.end());
  }
  return out;
}

}  // namespace Testing
