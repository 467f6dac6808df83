#include "GRSpringCollider.h"

#include "GRNotationElement.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "src/common/assertion.h"

namespace {

// The element's staff number in its slice, else in its system, else 0.
int staffNumberOf(GRNotationElement const* el) {
  GRStaff* staff = el->getGRStaff();
  if (!staff) return 0;
  if (GRSystemSlice* slice = staff->getGRSystemSlice()) return slice->getStaffNumber(staff);
  if (GRSystem* system = staff->getGRSystem()) return system->getStaffNumber(staff);
  return 0;
}

}  // namespace

void GRSpringCollider::AddElement(GRNotationElement* el, void* pos) {
  MELVARIN_ASSERT(el);
  const float y = el->getPosition().y;
  NVRect const& box = el->getBoundingBox();
  AddExtent(el, pos, y + box.top, y + box.bottom);
}

void GRSpringCollider::AddExtent(GRNotationElement* el, void* pos, float top, float bottom) {
  const int staff = staffNumberOf(el);
  const int from = static_cast<int>(top * 0.04f + 20 * staff);
  const int to = static_cast<int>(bottom * 0.04f + 20 * staff);
  for (int band = from; band <= to; ++band) {
    KF_List<void*>* list = mBands.Get(band);
    if (!list) {
      list = new KF_List<void*>;
      mBands.Set(band, list);
    }
    list->AddTail(pos);
  }
}

void GRSpringCollider::RemoveElement(GRNotationElement*, void* pos) {
  if (mBands.GetCount() == 0) return;
  const int last = mBands.GetMaximum();
  for (int band = mBands.GetMinimum(); band <= last; ++band) {
    KF_List<void*>* list = mBands.Get(band);
    if (!list) continue;
    void* at = list->GetHeadPosition();
    while (at) {
      void* here = at;
      if (list->GetNext(at) == pos) list->RemoveElementAt(here);
    }
    if (list->IsEmpty()) mBands.Delete(band);
  }
}

int GRSpringCollider::nextBand(int index) const {
  if (mBands.GetCount() == 0) return kNoBand;
  for (int band = index + 1; band <= mBands.GetMaximum(); ++band)
    if (mBands.Get(band)) return band;
  return kNoBand;
}

void GRSpringCollider::GetMatchingPoslists(int& index, GRSpringCollider const* other,
                                           KF_List<void*>** mine, KF_List<void*>** theirs) const {
  *mine = nullptr;
  *theirs = nullptr;
  if (mBands.GetCount() == 0) {
    index = kNoBand;
    return;
  }
  if (index == kNoBand) index = mBands.GetMinimum();
  while (index != kNoBand) {
    KF_List<void*>* a = mBands.Get(index);
    KF_List<void*>* b = other ? other->getBand(index) : nullptr;
    index = nextBand(index);
    if (a && b) {
      *mine = a;
      *theirs = b;
      return;
    }
  }
}
