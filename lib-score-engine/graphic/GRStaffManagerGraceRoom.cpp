// The room of grace groups in a slice's spacing.

#include <algorithm>
#include <map>

#include "ARCast.h"
#include "GRGrace.h"
#include "GRRod.h"
#include "GRSpring.h"
#include "GRSpringCollider.h"
#include "GRStaffManager.h"
#include "NEPointerList.h"

namespace {

// How far what the spring holds on the staff reaches to the right; negative for nothing there.
float ReachOnStaff(GRSpring const& spring, int staff) {
  float reach = -1;
  KF_IPointerList<GRNotationElement> const& elements = spring.getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = elements.GetNext(pos);
    if (staffNumberOf(element) == staff) reach = std::max(reach, element->getRightSpace());
  }
  return reach;
}

}  // namespace

void GRStaffManager::keepClearOfTheStaffBefore(GRGrace const& grace, int first, int startid) {
  // The group's first notes keep clear of what their staff holds before them also where springs
  // of other staves alone stand between (a space or notes of another staff), whose rods with
  // their neighbours measure nothing of this staff.
  GRSpring const* spring = mSprings->Get(first);
  if (!spring) return;
  float left = -1;
  int staff = 0;
  KF_IPointerList<GRNotationElement> const& elements = spring->getElements();
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement const* element = elements.GetNext(pos);
    if (!grace.holds(element)) continue;
    left = std::max(left, element->getLeftSpace());
    staff = staffNumberOf(element);
  }
  if (left < 0) return;
  // A rod across springs stays inside the slice; the slice before is reached from next door.
  int const lowest = first == startid ? startid - 1 : startid;
  for (int before = first - 1; before >= std::max(lowest, 0); --before) {
    GRSpring const* previous = mSprings->Get(before);
    float const reach = previous ? ReachOnStaff(*previous, staff) : -1;
    if (reach < 0) continue;
    if (before < first - 1) addRod(new GRRod(reach + left, before, first), false, false, 0);
    return;
  }
}

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
        for (GRGrace::Place const& place : grace->placesBefore(event, spring)) {
          int const id = place.note->getSpringID();
          if (id < startid || id >= k) continue;
          room[id] = std::max(room[id], place.before);
        }
        for (auto const& [id, length] : room) addRod(new GRRod(length, id, k), false, false, 0);
        if (!room.empty()) keepClearOfTheStaffBefore(*grace, room.begin()->first, startid);
      }
    }
  }
}
