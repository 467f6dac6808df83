#pragma once

#include <cstdint>
#include <memory>

#include "handle_registry.h"

class ARMusic;
class ARPageFormat;

// What the interface keeps for the whole process: whether the engine was started, the page
// format that new layouts take, and the parsed scores handed out.
struct RazidEngineState {
  bool initialised = false;
  std::unique_ptr<ARPageFormat> defaultPageFormat;  // none: A4 with margins of 2 cm
  HandleRegistry<ARMusic> scores;
};

RazidEngineState& EngineState();

// Drops one reference of a parsed score; the last one deletes it. Nothing for an unknown id.
void ReleaseScore(std::uintptr_t id);

// Takes the engine back to before its start: no device, no fonts, no default page format, and
// the next start makes everything afresh. Scores and layouts still held stay registered.
void RazidShutdown();
