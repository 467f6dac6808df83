#include "offline_engine.h"

#include "GRSpecial.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "graphic_globals.h"
#include "tests/lib-score-engine/graphic/recording_device.h"
#include "tools/layout/fixed_width_fonts.h"

namespace Layout {

struct OfflineEngine::Parts {
  FixedWidthSystem system;
  EngineTesting::RecordingDevice device{&system};
};

OfflineEngine::OfflineEngine() : mParts(std::make_unique<Parts>()) {
  RazidResetEngineState();
  gGlobalSettings.gDevice = &mParts->device;
  gFontDefs.music.font = GRSpecial::FindOrCreateFont(gFontDefs.music.size, &gFontDefs.music.name);
  gFontDefs.text.font = GRSpecial::FindOrCreateFont(gFontDefs.text.size, &gFontDefs.text.name);
}

OfflineEngine::~OfflineEngine() {
  RazidResetEngineState();
}

VGDevice& OfflineEngine::device() {
  return mParts->device;
}

}  // namespace Layout
