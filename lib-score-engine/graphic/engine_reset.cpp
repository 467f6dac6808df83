#include "engine_reset.h"

#include "GObject.h"
#include "GRJump.h"
#include "GRSpecial.h"
#include "GRTempo.h"
#include "GRVolta.h"
#include "engine_globals.h"
#include "graphic_globals.h"

void RazidResetEngineState() {
  GObject::ResetSymbolExtents();
  // The start-up fonts belong to the cache, so they go with it.
  GRSpecial::ReleaseAllFonts();
  gFontDefs.music.font = nullptr;
  gFontDefs.text.font = nullptr;
  // Their fonts were in the cache.
  GRJump::ResetClassState();
  GRTempo::ResetClassState();
  GRVolta::ResetClassState();
  gCurSystem = nullptr;
  gCurStaff = nullptr;
  gGlobalSettings.gDevice = nullptr;
}
