#pragma once

// The random choices of generated music, drawn from one seeded engine the same way on every
// platform (the standard distributions are not).

#include <cstdint>
#include <random>
#include <vector>

namespace ScoreOverlaps {

class MusicDice {
 public:
  explicit MusicDice(unsigned seed) : engine_(seed) {}

  // 0 .. count - 1
  int Below(int count) { return int(engine_() % std::uint32_t(count)); }
  int Between(int low, int high) { return low + Below(high - low + 1); }
  bool Chance(double probability) { return double(engine_()) < probability * 4294967296.0; }
  template <typename T>
  const T& Pick(const std::vector<T>& choices) {
    return choices[size_t(Below(int(choices.size())))];
  }
  // An index into the weights, each as likely as its weight; at least one weight is positive.
  size_t Weighted(const std::vector<int>& weights) {
    int total = 0;
    for (int weight : weights) total += weight;
    int roll = Below(total);
    for (size_t i = 0; i < weights.size(); ++i) {
      if (roll < weights[i]) return i;
      roll -= weights[i];
    }
    return 0;
  }

 private:
  std::mt19937 engine_;
};

}  // namespace ScoreOverlaps
