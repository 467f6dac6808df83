#pragma once

#include <cstdint>

// The steps the engine takes through its lists, counted on each thread. A loop that looks at
// every earlier element for each element shows here as work that grows with the square of the
// text, which lets a test compare the work of a short and a long text without timing them.
namespace EngineWork {

inline thread_local std::uint64_t tListSteps = 0;

inline std::uint64_t ListSteps() {
  return tListSteps;
}

}  // namespace EngineWork
