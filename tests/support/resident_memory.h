#pragma once

#include <malloc.h>

#include <fstream>
#include <string>

namespace Testing {

// The process's peak resident memory in megabytes since the last reset (the kernel's high-water
// mark, VmHWM), for bounds on what a piece of code holds at its worst; 0 where it is not known.
inline double PeakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0;
}

// Starts the high-water mark again from the memory resident now, after the allocator has given
// back what it keeps free.
inline void ResetPeakResident() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace Testing
