#include "rendered_text.h"

#include <gtest/gtest.h>

#include <chrono>

#include "support/resident_memory.h"
#include "support/thread_cpu_clock.h"
#include "tests/lib-score-engine/graphic/counting_device.h"

namespace EngineTesting {

RenderedText RenderText(std::string const& text, VGSystem* system) {
  RenderedText outcome;
  Testing::ResetPeakResident();
  testing::internal::CaptureStderr();
  auto const start = Testing::ThreadCpuClock::now();
  ARHandle ar = nullptr;
  outcome.result = RazidParseString(text.c_str(), &ar);
  GRHandle gr = nullptr;
  if (outcome.result == 0) outcome.result = RazidAR2GR(ar, nullptr, &gr);
  RazidFreeAR(ar);
  outcome.pages = RazidGetPageCount(gr);
  CountingDevice device(system);
  for (int page = 1; page <= outcome.pages; ++page) {
    RazidOnDrawDesc desc;
    desc.handle = gr;
    desc.hdc = &device;
    desc.page = page;
    desc.sizex = 1000;
    desc.sizey = 1414;
    EXPECT_EQ(RazidOnDraw(&desc), 0);
  }
  RazidFreeGR(gr);
  outcome.deviceCalls = device.calls;
  outcome.cpuSeconds =
      std::chrono::duration<double>(Testing::ThreadCpuClock::now() - start).count();
  outcome.warnings = testing::internal::GetCapturedStderr();
  outcome.peakMegabytes = Testing::PeakResidentMegabytes();
  return outcome;
}

std::string Repeated(std::string const& piece, int times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

}  // namespace EngineTesting
