#include "GRSpringCollider.h"

#include <algorithm>

#include "ARCast.h"
#include "GRNotationElement.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "src/common/assertion.h"

int staffNumberOf(GRNotationElement const* el) {
  GRStaff* staff = el->getGRStaff();
  if (!staff) return 0;
  if (GRSystemSlice* slice = staff->getGRSystemSlice()) return slice->getStaffNumber(staff);
  if (GRSystem* system = staff->getGRSystem()) return system->getStaffNumber(staff);
  return 0;
}

void GRSpringCollider::AddElement(GRNotationElement* el, void* pos) {
  MELVARIN_ASSERT(el);
  const float y = el->getPosition().y;
  NVRect const& box = el->getBoundingBox();
  AddExtent(el, pos, y + box.top, y + box.bottom);
  // A rest's box is where its dots and bar rests hang, not where its glyph reaches: a glyph
  // outside its bands would take no room from a neighbour's stem, head or sign at that height.
  if (auto const* rest = ar_cast<GRSingleRest const>(el)) {
    float top = 0, bottom = 0;
    rest->getInkExtent(&top, &bottom);
    if (bottom > top) AddExtent(el, pos, top, bottom);
  }
}

void GRSpringCollider::AddExtent(GRNotationElement* el, void* pos, float top, float bottom) {
  const int staff = staffNumberOf(el);
  const float from = top * 0.04f + 20.0f * staff;
  const float to = bottom * 0.04f + 20.0f * staff;
  // An element placed nowhere sane (a position no number, pages away or pages tall) takes no
  // band.
  if (!(from >= -kFarthestBand && to <= kFarthestBand && to - from <= kMostBands)) return;
  const int first = static_cast<int>(from);
  const int last = static_cast<int>(to);
  if (last < first) return;
  // The new entries are merged in from the back, each after the entries its band holds. The
  // lists take only the room their entries need: a layout holds one collider per spring, and
  // most springs hold one note of a few bands.
  std::size_t old = mBandOf.size();
  const std::size_t added = static_cast<std::size_t>(last - first) + 1;
  mBandOf.resize(old + added);
  mPositions.resize(old + added);
  int band = last;
  for (std::size_t slot = old + added; slot-- > 0;) {
    if (band >= first && (old == 0 || mBandOf[old - 1] <= band)) {
      mBandOf[slot] = band--;
      mPositions[slot] = pos;
    } else {
      --old;
      mBandOf[slot] = mBandOf[old];
      mPositions[slot] = mPositions[old];
    }
    if (band < first) break;  // the entries below stay where they are
  }
}

void GRSpringCollider::Clear() {
  mBandOf.clear();
  mPositions.clear();
}

void GRSpringCollider::RemoveElement(GRNotationElement*, void* pos) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < mPositions.size(); ++i) {
    if (mPositions[i] == pos) continue;
    mBandOf[kept] = mBandOf[i];
    mPositions[kept] = mPositions[i];
    ++kept;
  }
  mBandOf.resize(kept);
  mPositions.resize(kept);
}

std::size_t GRSpringCollider::LowerBound(int band) const {
  return std::lower_bound(mBandOf.begin(), mBandOf.end(), band) - mBandOf.begin();
}

GRSpringCollider::Band GRSpringCollider::getBand(int band) const {
  const std::size_t first = LowerBound(band);
  std::size_t last = first;
  while (last < mBandOf.size() && mBandOf[last] == band) ++last;
  return Band(mPositions.data() + first, last - first);
}

void GRSpringCollider::GetMatchingPoslists(int& index, GRSpringCollider const* other, Band* mine,
                                           Band* theirs) const {
  *mine = {};
  *theirs = {};
  std::size_t at = index == kNoBand ? 0 : LowerBound(index);
  while (at < mBandOf.size()) {
    const int band = mBandOf[at];
    std::size_t end = at;
    while (end < mBandOf.size() && mBandOf[end] == band) ++end;
    const Band found = other ? other->getBand(band) : Band();
    index = end == mBandOf.size() ? kNoBand : mBandOf[end];
    if (!found.empty()) {
      *mine = Band(mPositions.data() + at, end - at);
      *theirs = found;
      return;
    }
    at = end;
  }
  index = kNoBand;
}
