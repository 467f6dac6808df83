// Keeps the accidentals of notes that stand at one time from overlapping.

#include "GRAccidental.h"
#include "GRSingleNote.h"
#include "GRSpring.h"

namespace {

// Accidentals further apart than this on one staff cannot touch.
constexpr float kAccidentalReach = 150;

}  // namespace

void GRSpring::checkAccidentalCollisions() {
  KF_IPointerList<GRAccidental> accidentals(0);
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (auto* note = dynamic_cast<GRSingleNote*>(mElements.GetNext(pos)))
      note->extractAccidentals(&accidentals);
  if (accidentals.GetCount() < 2) return;

  accidentals.sort(compaccposy);
  float offset = 0;
  GRAccidental const* previous = nullptr;
  for (void* pos = accidentals.GetHeadPosition(); pos;) {
    GRAccidental* accidental = accidentals.GetNext(pos);
    if (previous && (accidental->getGRStaff() != previous->getGRStaff() ||
                     accidental->getPosition().y - previous->getPosition().y > kAccidentalReach))
      offset = 0;
    if (!accidental->getOffsetSet()) accidental->addToOffset(NVPoint{offset, 0});
    offset -= 2 * accidental->getRightSpace();
    previous = accidental;
  }
  for (void* pos = mElements.GetHeadPosition(); pos;)
    if (auto* note = dynamic_cast<GRSingleNote*>(mElements.GetNext(pos))) note->updateBoundingBox();
}
