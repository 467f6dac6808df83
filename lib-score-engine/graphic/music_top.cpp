#include "music_top.h"

#include <algorithm>

#include "ARCast.h"
#include "GRBeam.h"
#include "GRDummy.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "NEPointerList.h"

namespace {

// The box of an element of the staff where it stands, or false for one that reaches nowhere.
bool PlacedBox(GRNotationElement const* element, GRSystem const& system, NVRect& box) {
  if (auto const* dummy = ar_cast<GRDummy const>(element)) {
    // A beam that runs on from the line before stands here as a placeholder.
    element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    if (!element) return false;
  }
  if (auto const* beam = ar_cast<GRBeam const>(element)) return beam->getPieceBox(&system, box);
  if (element->isGREventClass() || ar_cast<GRGlobalStem const>(element)) {
    box = element->getBoundingBox() + element->getPosition();
    return true;
  }
  return false;
}

}  // namespace

float HighestMusicOver(GRSystem const& system, int staffNumber, float left, float right) {
  float top = 0;
  KF_IPointerList<GRSystemSlice> const& slices = system.getSlices();
  for (void* pos = slices.GetHeadPosition(); pos;) {
    GRStaff const* staff = slices.GetNext(pos)->getStaff(staffNumber);
    if (!staff) continue;
    NEPointerList const& elements = staff->getElements();
    for (void* at = elements.GetHeadPosition(); at;) {
      NVRect box;
      if (!PlacedBox(elements.GetNext(at), system, box)) continue;
      if (box.right < left || box.left > right) continue;
      top = std::min(top, box.top);
    }
  }
  return top;
}
