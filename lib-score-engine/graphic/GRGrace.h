#pragma once

#include "GRARCompositeNotationElement.h"
#include "GRPositionTag.h"

class ARGrace;

// A group of grace notes: the notes are its own elements, drawn and placed just before the one
// event the group is attached to.
class GRGrace : public GRARCompositeNotationElement, public GRPositionTag {
 public:
  GRGrace(GRStaff* staff, ARGrace* grace);

  // As an element; the range bookkeeping takes no part.
  void addAssociation(GRNotationElement* element) override;
  void removeAssociation(GRNotationElement* element) override;
  using GRNotationElement::removeAssociation;
  // A grace note joins the group and is no longer one of the events it is attached to.
  void AddTail(GRNotationElement* element);
  // The group stands 60 units before its event; with more than one it warns and stays.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // Nothing unless attached to exactly one event.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  bool hasOneAssociation() const;
};
