#include "GRGlobalLocation.h"

#include "ARShareLocation.h"
#include "GREvent.h"
#include "NEPointerList.h"

GRGlobalLocation::GRGlobalLocation(GRStaff* staff, ARShareLocation* tag)
    : GRPTagARNotationElement(tag) {
  addFirstStartEnd(staff);
}

GRGlobalLocation::~GRGlobalLocation() {
  if (!IsWholeLayoutGoing()) {
    // The ends of each piece hold the tag too.
    DeleteAllSSEs();
    if (mFirstEl) mFirstEl->removeAssociation(this);
    if (NEPointerList* list = getAssociations()) {
      for (void* pos = list->GetHeadPosition(); pos;) list->GetNext(pos)->removeAssociation(this);
    }
  }
}

void GRGlobalLocation::addAssociation(GRNotationElement* element) {
  if (error || element->getNeedsSpring() == 0) return;
  if (element->isGREventClass()) static_cast<GREvent*>(element)->setGlobalLocation(this);
  if (!mFirstEl) {
    mFirstEl = element;
  } else {
    GRPTagARNotationElement::addAssociation(element);
  }
  element->GRNotationElement::addAssociation(this);
}

void GRGlobalLocation::removeAssociation(GRNotationElement* element) {
  if (element && element == mFirstEl) {
    GRNotationElement::removeAssociation(element);
    mFirstEl = nullptr;
  } else {
    GRPTagARNotationElement::removeAssociation(element);
  }
}

void GRGlobalLocation::tellPosition(GObject* caller, NVPoint const& point) {
  if (!error && mFirstEl && caller == mFirstEl) setHPosition(point.x);
}
