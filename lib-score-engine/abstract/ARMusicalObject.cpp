#include "ARMusicalObject.h"

#include <cstdio>

#include "src/common/assertion.h"

template <>
void KF_IPointerList<GObject>::DeleteData(GObject* element) {
  MELVARIN_ASSERT(!ownership || !element);
}

ARMusicalObject::ARMusicalObject(Fraction const& relativeTimePosition)
    : relativeTimePosition(relativeTimePosition) {
  // clang-format off
  MELVARIN_ASSERT(relativeTimePosition >= MIN_TIMEPOSITION);
  // clang-format on
}

ARMusicalObject::ARMusicalObject(ARMusicalObject const& armo)
    : relativeTimePosition(armo.relativeTimePosition), duration(armo.duration) {
  // clang-format off
  MELVARIN_ASSERT(armo.mGrObject == NULL);
  // clang-format on
}

ARMusicalObject::~ARMusicalObject() {
  delete mGrObject;
}

ARMusicalObject* ARMusicalObject::Copy() const {
  return new ARMusicalObject(*this);
}

void ARMusicalObject::removeGRRepresentation(GObject* object) {
  if (mGrObject) mGrObject->RemoveElement(object);
}

void ARMusicalObject::print() const {
  std::printf("ARMusicalObject: duration: %d/%d time pos: %d/%d\n", duration.getNumerator(),
              duration.getDenominator(), relativeTimePosition.getNumerator(),
              relativeTimePosition.getDenominator());
}

void ARMusicalObject::setRelativeTimePosition(Fraction const& newRelativeTimePosition) {
  // clang-format off
  MELVARIN_ASSERT(newRelativeTimePosition>=DURATION_0);
  // clang-format on
  relativeTimePosition = newRelativeTimePosition;
}

void ARMusicalObject::setRelativeEndTimePosition(Fraction const& end) {
  duration = end - relativeTimePosition;
}

GObject* ARMusicalObject::getFirstGRRepresentation() {
  return mGrObject ? mGrObject->GetHead() : nullptr;
}

GObject* ARMusicalObject::getLastGRRepresentation() {
  return mGrObject ? mGrObject->GetTail() : nullptr;
}

void ARMusicalObject::addGRRepresentation(GObject* object) {
  if (!mGrObject) mGrObject = new KF_IPointerList<GObject>(0);
  mGrObject->AddTail(object);
}

void ARMusicalObject::resetGRRepresentation() {
  delete mGrObject;
  mGrObject = nullptr;
}

bool ARMusicalObject::IsPowerOfTwoDenom(Fraction const& value) {
  const int d = value.getDenominator();
  // Computed unsigned, so the most negative int cannot overflow.
  const unsigned u = static_cast<unsigned>(d);
  return (u & (0u - u)) == u;
}
