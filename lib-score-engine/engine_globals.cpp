#include "engine_globals.h"

#include <cstdio>

#include "abstract/ARUnits.h"

NVstring ARUnits::sType("hs");

RazidGlobalSettings gGlobalSettings;
ARFactory* gGlobalFactory = nullptr;
ARMusic* gCurArMusic = nullptr;

void ZudidOvod(char const* message, char const* info) {
  if (info)
    std::fprintf(stderr, "Razid Warning: %s %s\n", message, info);
  else
    std::fprintf(stderr, "Razid Warning: %s\n", message);
  std::fflush(stderr);
}

void RidevUzuze(char const* message) {
  std::fprintf(stderr, "Razid Trace: %s\n", message);
  std::fflush(stderr);
}
