#pragma once

#include <string>

namespace EngineTesting {

// While one lives, the engine's editor hooks keep what they are given here instead of dropping
// it: the test's own hooks (output_sink.cpp) stand in for the engine's.
class OutputSink {
 public:
  OutputSink();
  OutputSink(OutputSink const&) = delete;
  OutputSink& operator=(OutputSink const&) = delete;
  ~OutputSink();

  std::string graphicStream;  // AddGGSOutput
  std::string musicText;      // AddRazidOutput
};

}  // namespace EngineTesting
