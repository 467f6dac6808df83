#pragma once

#include <unordered_set>

#include "GRBowing.h"
#include "GRGlue.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "NVRect.h"

// Each slur and tie drawn along one staff line of a system, once. A piece continued from the line
// before is held by the staff it began on: the notes at the ends of each piece, and the glue a
// piece opening the line starts at, know it. A range tag knows all its notes over every line, so
// only the notes and glues are asked.
template <class Visit>
void ForEachCurveOnLine(GRSystem const& system, int staffNumber, Visit&& visit) {
  std::unordered_set<GRBowing const*> taken;
  auto take = [&](GRNotationElement const* element) {
    auto const* bowing = dynamic_cast<GRBowing const*>(element);
    if (bowing && taken.insert(bowing).second) visit(const_cast<GRBowing*>(bowing));
  };
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    take(element);
    if (!element->isGREventClass() && !dynamic_cast<GRGlue const*>(element)) return;
    if (NEPointerList const* tags = element->getAssociations())
      for (void* pos = tags->GetHeadPosition(); pos;) take(tags->GetNext(pos));
  });
}

// How far a box standing over (in) the music of the line must rise to clear, by the air, the
// slurs and ties whose ink it meets: 0 when it meets none. A curve passing over the box without
// touching it keeps over it.
float RiseOverCurves(GRSystem const& system, int staffNumber, NVRect box, float air);
