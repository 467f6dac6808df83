#include "GRRest.h"

#include <typeinfo>

#include "ARFermata.h"
#include "ARRest.h"
#include "src/common/assertion.h"

namespace {
ARRest* RequireRest(ARRest* rest) {
  MELVARIN_ASSERT(rest);
  return rest;
}
}  // namespace

GRRest::GRRest(GRStaff* staff, ARRest* rest, bool ownsAR)
    : GREvent(staff, RequireRest(rest), ownsAR) {}

GRRest::GRRest(GRStaff* staff, ARRest* rest, Fraction const& relativeTimePosition,
               Fraction const& duration)
    : GREvent(staff, RequireRest(rest), relativeTimePosition, duration) {}

GRRest::GRRest(GRStaff* staff, Fraction const& duration)
    : GREvent(staff, new ARRest(duration), true) {}

ARRest* GRRest::getARRest() const {
  return static_cast<ARRest*>(const_cast<GRRest*>(this)->getAbstractRepresentation());
}

void GRRest::addArticulation(ARMusicalTag* tag) {
  if (tag && typeid(*tag) == typeid(ARFermata)) GREvent::addArticulation(tag);
}
