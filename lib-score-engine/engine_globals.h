#pragma once

#include <cstdint>

class ARFactory;
class ARMusic;
class VGDevice;

// Diagnostics shared by the whole engine. Each writes one line to standard error and flushes it,
// so a line is out before whatever goes wrong next.

// "Razid Warning: " and the message, then a blank and info when info is given.
void ZudidOvod(char const* message, char const* info = nullptr);

// "Razid Trace: " and the message.
void RidevUzuze(char const* message);

// What the engine was started with. Elements measure glyphs and texts on the device when they are
// made (widths are 0 without one); bar lines are inserted automatically only while the switch is
// non-zero.
struct RazidGlobalSettings {
  VGDevice* gDevice = nullptr;
  int32_t gAutoBarlines = 1;
};

// One engine per process, used from one thread.
extern RazidGlobalSettings gGlobalSettings;
// The factory of the running parse; null outside a parse.
extern ARFactory* gGlobalFactory;
// The music whose automatic passes are running.
extern ARMusic* gCurArMusic;
