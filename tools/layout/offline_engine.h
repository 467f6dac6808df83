#pragma once

#include <memory>

class VGDevice;

namespace Layout {

// The notation engine started without a screen, for the tools, the fuzzer and the benchmarks:
// every glyph is 0.3 and every character 0.5 of its font's size wide (close to the music font's
// advances, and the same on every machine), and pages draw on a device that records what it is
// asked to do. One at a time; the engine is back to a fresh state when it goes.
class OfflineEngine {
 public:
  OfflineEngine();
  OfflineEngine(OfflineEngine const&) = delete;
  OfflineEngine& operator=(OfflineEngine const&) = delete;
  ~OfflineEngine();

  VGDevice& device();

 private:
  struct Parts;
  std::unique_ptr<Parts> mParts;
};

}  // namespace Layout
