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
  const float from = top * 0.04f + 20.0f * staff;
  const float to = bottom * 0.04f + 20.0f * staff;
  // An element placed nowhere sane (a position no number, pages away or pages tall) takes no
  // band.
  if (!(from >= -kFarthestBand && to <= kFarthestBand && to - from <= kMostBands)) return;
  for (int band = static_cast<int>(from); band <= static_cast<int>(to); ++band)
    mBands.try_emplace(band).first->second.AddTail(pos);
}

void GRSpringCollider::RemoveElement(GRNotationElement*, void* pos) {
  for (auto band = mBands.begin(); band != mBands.end();) {
    KF_List<void*>& list = band->second;
    void* at = list.GetHeadPosition();
    while (at) {
      void* here = at;
      if (list.GetNext(at) == pos) list.RemoveElementAt(here);
    }
    band = list.IsEmpty() ? mBands.erase(band) : std::next(band);
  }
}

KF_List<void*>* GRSpringCollider::getBand(int band) const {
  auto const found = mBands.find(band);
  return found == mBands.end() ? nullptr : const_cast<KF_List<void*>*>(&found->second);
}

void GRSpringCollider::GetMatchingPoslists(int& index, GRSpringCollider const* other,
                                           KF_List<void*>** mine, KF_List<void*>** theirs) const {
  *mine = nullptr;
  *theirs = nullptr;
  if (mBands.empty()) {
    index = kNoBand;
    return;
  }
  auto band = index == kNoBand ? mBands.begin() : mBands.lower_bound(index);
  while (band != mBands.end()) {
    KF_List<void*>* b = other ? other->getBand(band->first) : nullptr;
    auto const here = band++;
    index = band == mBands.end() ? kNoBand : band->first;
    if (b) {
      *mine = const_cast<KF_List<void*>*>(&here->second);
      *theirs = b;
      return;
    }
  }
  index = kNoBand;
}
