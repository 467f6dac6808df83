#include "output_sink.h"

#include "Razid.h"

namespace EngineTesting {
namespace {
OutputSink* gSink = nullptr;
}  // namespace

OutputSink::OutputSink() {
  gSink = this;
}

OutputSink::~OutputSink() {
  gSink = nullptr;
}

}  // namespace EngineTesting

// In place of the engine's hooks, which drop the text.
void AddGGSOutput(char const* text) {
  if (EngineTesting::gSink && text) EngineTesting::gSink->graphicStream += text;
}

void AddRazidOutput(char const* text) {
  if (EngineTesting::gSink && text) EngineTesting::gSink->musicText += text;
}
