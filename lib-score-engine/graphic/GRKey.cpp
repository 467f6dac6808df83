#include "GRKey.h"

#include <algorithm>
#include <cstdlib>

#include "ARKey.h"
#include "GRAccidental.h"
#include "GRStaff.h"

namespace {
// Note names in the order of fifths: f c g d a e b. Sharps come from the front, flats from the
// back.
constexpr int kQuint[7] = {5, 2, 6, 3, 7, 4, 8};
constexpr int kNatural = -10;
constexpr unsigned int kSharpGlyph = 35;

// Adds count fifths to the alterations: sharps for a positive count, flats for a negative one.
// The count may be as large as a key tag can write, so whole rounds of seven are added at once.
void AddFifths(long long count, int* out) {
  long long const steps = count < 0 ? -count : count;
  int const sign = count < 0 ? -1 : 1;
  for (int i = 0; i < 7; ++i) {
    long long const times = steps / 7 + (i < steps % 7 ? 1 : 0);
    int const name = count < 0 ? kQuint[6 - i] : kQuint[i];
    out[name - 2] += sign * static_cast<int>(times);
  }
}
}  // namespace

GRKey::GRKey(GRStaff* staff, ARKey* key, int isNatural, bool ownsAR)
    : GRARCompositeNotationElement(key, ownsAR),
      GRTag(key, 50),
      mIsNatural(isNatural),
      mKeyNumber(key ? key->getKeyNumber() : 0) {
  getKeyArray(mAccidentals);
  getOctArray(mOctArray);
  if (staff) {
    takeStaff(staff);
    createAccidentals(false);
  }
  mNeedsSpring = 1;
  sconst = 100;
}

ARKey const* GRKey::getARKey() const {
  return static_cast<ARKey const*>(getAbstractRepresentation());
}

int GRKey::getNonFreeKeyArray(int keyNumber, int* out) {
  std::fill_n(out, kEntries, 0);
  AddFifths(keyNumber, out);
  return keyNumber;
}

int GRKey::getKeyArray(int* out) const {
  if (getARKey()->isFree())
    getARKey()->getFreeKeyArray(out);
  else
    getNonFreeKeyArray(mKeyNumber, out);
  return mKeyNumber;
}

void GRKey::getOctArray(int* out) const {
  getARKey()->getOctArray(out);
}

void GRKey::takeStaff(GRStaff* staff) {
  mGrStaff = staff;
  mCurLSPACE = staff->getLineSpace();
  // The key grows with the staff; its own size parameter does not count.
  size = mCurLSPACE / 50;
}

void GRKey::createAccidentals(bool onStaff) {
  if (!mGrStaff) return;
  // What the reader sees counts, not the state carried over from the line before: a line's
  // first key is drawn whole, and a key built again on a refresh keeps its signs.
  int old = mGrStaff->shownKeyNumber(onStaff ? this : nullptr);
  // A natural key is a copy of the key shown, and cancels all of it.
  if (mIsNatural && old == mKeyNumber) old = 0;
  if (old == mKeyNumber && mKeyNumber != 0) return;
  int array[kEntries] = {};
  long long sign = mKeyNumber;
  if (old == 0) {
    std::copy_n(mAccidentals, kEntries, array);
  } else {
    sign = static_cast<long long>(mKeyNumber) - old;
    AddFifths(sign, array);
  }
  float const lineSpace = mCurLSPACE;
  float x = mPosition.x;
  for (int j = 0; j < 7; ++j) {
    int const p = sign >= 0 ? j : 6 - j;
    int const n = kQuint[p] - 2;
    int const alteration = array[n];
    if (alteration == 0) continue;
    auto* accidental =
        new GRAccidental(nullptr, 0, mIsNatural ? kNatural : alteration, size, lineSpace);
    accidental->setGRStaff(mGrStaff);
    // The signs are the key: they take its colour.
    accidental->setColRef(getColRef());
    x += accidental->getLeftSpace() + lineSpace / 10;
    // Against a key in force the row starts where that key's row ended.
    int const shift = static_cast<int>(((p + static_cast<long long>(old)) % 7 + 7) % 7);
    int const name = old == 0 ? kQuint[p] : kQuint[shift];
    float const y = mGrStaff->getKeyPosition(name, sign > 0 ? 1 : (sign < 0 ? -1 : 0)) +
                    mOctArray[n] * (-3.5f * lineSpace);
    accidental->setPosition(NVPoint{x, y});
    x += accidental->getRightSpace();
    AddTail(accidental);
  }
  updateBoundingBox();
}

void GRKey::setPosition(NVPoint const& point) {
  mPosition.x = point.x;
  float x = point.x;
  float const gap = 0.1f * mCurLSPACE;
  for (void* pos = First(); pos;) {
    GRNotationElement* accidental = GetNext(pos);
    x += accidental->getLeftSpace() + gap;
    accidental->setHPosition(x);
    x += accidental->getRightSpace();
  }
  updateBoundingBox();
}

void GRKey::setHPosition(float x) {
  setPosition(NVPoint{x, mPosition.y});
}

void GRKey::setGRStaff(GRStaff* staff) {
  if (!mGrStaff && staff) {
    takeStaff(staff);
    createAccidentals();
  } else {
    GRARCompositeNotationElement::setGRStaff(staff);
  }
}

float GRKey::FirstSignLead(float lineSpace) {
  // As createAccidentals places it: its middle a tenth of a space and its left space (a fifth
  // of a space and half its width) after the place, drawn left of that by half its width and a
  // fifth of a space, and by half its width again from its middle.
  float const size = lineSpace / 50;
  float const half = 0.5f * GetSymbolExtent(kSharpGlyph);
  return (half + 0.2f * lineSpace) * size - 0.3f * lineSpace;
}

void GRKey::recalcVerticalPosition() {
  RemoveAllSubElements();
  createAccidentals();
}

void GRKey::updateBoundingBox() {
  float const lineSpace = mCurLSPACE;
  mLeftSpace = lineSpace;
  mRightSpace = 0;
  mBoundingBox = NVRect{0, -0.5f * lineSpace, 0, 0.5f * lineSpace};
  for (void* pos = First(); pos;) {
    GRNotationElement* accidental = GetNext(pos);
    NVPoint const at = accidental->getPosition() - mPosition;
    mRightSpace = std::max(mRightSpace, at.x + accidental->getRightSpace());
    mLeftSpace = std::max(mLeftSpace, accidental->getLeftSpace() - at.x);
    NVRect const box = accidental->getBoundingBox() + at;
    mBoundingBox.left = std::min(mBoundingBox.left, box.left);
    mBoundingBox.top = std::min(mBoundingBox.top, box.top);
    mBoundingBox.right = std::max(mBoundingBox.right, box.right);
    mBoundingBox.bottom = std::max(mBoundingBox.bottom, box.bottom);
  }
  if (mBoundingBox.right > 0) {
    mBoundingBox.left -= lineSpace / 5;
    mBoundingBox.right += 0.5f * lineSpace;
  }
  if (mRightSpace > 0) mRightSpace += 0.5f * lineSpace;
}

bool GRKey::operator==(GRTag const& other) const {
  auto const* key = dynamic_cast<GRKey const*>(&other);
  return key && *this == *key;
}

void GRKey::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error == 0) DrawSubElements(device, map);
}
