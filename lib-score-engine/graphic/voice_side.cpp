#include "voice_side.h"

#include "GRGlobalStem.h"
#include "GRSingleRest.h"
#include "GRStaff.h"

GDirection VoiceSide(GREvent const* event) {
  GRStaff const* staff = event ? event->getGRStaff() : nullptr;
  if (!staff || !staff->isSharedByVoices()) return dirAUTO;
  if (auto const* rest = dynamic_cast<GRSingleRest const*>(event)) return rest->getVoiceStem();
  GDirection const direction = event->getStemDirection();
  if (direction == dirUP || direction == dirDOWN) return direction;
  if (GRGlobalStem const* shared = event->getGlobalStem())
    return shared->hasStemsGivenDown() ? dirDOWN : dirUP;
  return dirAUTO;
}
