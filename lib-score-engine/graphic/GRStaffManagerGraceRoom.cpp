// The room of grace groups in a slice's spacing.

#include <algorithm>
#include <map>

#include "ARCast.h"
#include "GRGrace.h"
#include "GRRod.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "NEPointerList.h"

void GRStaffManager::keepRoomForGraceNotes(int startid, int endid) {
  // A grace group stands packed right before its note, however its own springs fall: the rods
  // between neighbouring springs measure only what shares a height, which may leave the group
  // less room than it takes, and it would be drawn into what stands before it. Each grace note's
  // spring therefore stands at least as far before the note's as the grace note's place there.
  for (int k = startid; k < endid; ++k) {
    GRSpring const* spring = mSprings->Get(k);
    if (!spring) continue;
    KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
    for (void* pos = elements.GetHeadPosition(); pos;) {
      GRNotationElement const* event = elements.GetNext(pos);
      NEPointerList const* associations = event->getAssociations();
      if (!associations) continue;
      for (void* at = associations->GetHeadPosition(); at;) {
        auto const* grace = ar_cast<GRGrace const>(associations->GetNext(at));
        if (!grace || grace->leansOn() != event) continue;
        std::map<int, float> room;  // by the grace notes' springs
        for (GRGrace::Place const& place : grace->placesBefore(event)) {
          int const id = place.note->getSpringID();
          if (id < startid || id >= k) continue;
          room[id] = std::max(room[id], place.before);
        }
        for (auto const& [id, length] : room) addRod(new GRRod(length, id, k), false, false, 0);
      }
    }
  }
}
