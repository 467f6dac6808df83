#pragma once

#include "GRPTagARNotationElement.h"

class ARShareLocation;

// Puts a group of events at one x: the first event leads, and wherever it goes the others are
// told to follow. Draws nothing.
class GRGlobalLocation : public GRPTagARNotationElement {
 public:
  GRGlobalLocation(GRStaff* staff, ARShareLocation* tag);
  // The group's events forget the location.
  ~GRGlobalLocation() override;

  // Elements placed by others only are left out.
  void addAssociation(GRNotationElement* element) override;
  using GRPTagARNotationElement::removeAssociation;
  void removeAssociation(GRNotationElement* element) override;
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}

  GRNotationElement* getFirstEl() const { return mFirstEl; }

 private:
  GRNotationElement* mFirstEl = nullptr;
};
