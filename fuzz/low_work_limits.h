#pragma once

#include "ARMusic.h"
#include "GRMusic.h"
#include "fuzz/fuzz_targets.h"

namespace Fuzz {

// Lowers the engine's work limits to the fuzzing ones for one run and puts back what they were,
// so that a program that calls the fast targets and the engine-limit targets in turn (the corpus
// replay test) runs each under its own limits.
class LowWorkLimits {
 public:
  LowWorkLimits() {
    ARMusic::sMaxPassWork = kFuzzPassWork;
    GRMusic::sMaxLayoutWork = kFuzzLayoutWork;
  }
  ~LowWorkLimits() {
    ARMusic::sMaxPassWork = mPassWork;
    GRMusic::sMaxLayoutWork = mLayoutWork;
  }
  LowWorkLimits(const LowWorkLimits&) = delete;
  LowWorkLimits& operator=(const LowWorkLimits&) = delete;

 private:
  double mPassWork = ARMusic::sMaxPassWork;
  double mLayoutWork = GRMusic::sMaxLayoutWork;
};

}  // namespace Fuzz
