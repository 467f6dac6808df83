#pragma once

#include "GRNotationElement.h"
#include "GRTag.h"

class NVstring;

// A short text the staff writes itself, such as the mark of an octava change; it follows the
// one event it is attached to.
class GRSText : public GRNotationElement, public GRTag {
 public:
  // The text stands at line x 50 from the staff's top.
  GRSText(GRStaff* staff, NVstring const& text, int line);
  ~GRSText() override;

  // Only the first element counts; it tells the text its positions from then on.
  void addAssociation(GRNotationElement* element) override;
  void removeAssociation(GRNotationElement* element) override;
  using GRNotationElement::removeAssociation;
  void tellPosition(GObject*, NVPoint const& point) override { setPosition(point); }
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

 private:
  NVstring* mText;
  GRNotationElement* mAssociatedElement = nullptr;
  int mLine;
};
