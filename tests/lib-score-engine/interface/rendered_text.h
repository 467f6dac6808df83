#pragma once

// A RMN text parsed, laid out and drawn page by page through the engine's interface, as a user
// of the engine would, with what that took.

#include <string>

#include "Razid.h"

class VGSystem;

namespace EngineTesting {

struct RenderedText {
  RazidErrCode result = 0;  // of the parse, else of the layout
  int pages = 0;
  long deviceCalls = 0;  // what the pages asked the device to draw
  double cpuSeconds = 0;
  double peakMegabytes = 0;
  std::string warnings;
  bool drawn() const { return result == 0 && pages > 0; }
  bool refused() const { return result == -2 && pages == 0; }
};

// Every page drawn on a device of system that only counts, each as 1000 x 1414 pixels; the
// engine must be started (RazidInit). Warnings are captured.
RenderedText RenderText(std::string const& text, VGSystem* system);

// A piece of text written times over, the stuff of texts built to be large.
std::string Repeated(std::string const& piece, int times);

}  // namespace EngineTesting
