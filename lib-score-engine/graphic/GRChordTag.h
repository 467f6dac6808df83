#pragma once

#include "GRPTagARNotationElement.h"
#include "GRSystemTagInterface.h"
#include "NVstring.h"

class ARUserChordTag;

// The range of a chord with its label; it draws nothing of its own.
class GRChordTag : public GRPTagARNotationElement, public GRSystemTagInterface {
 public:
  GRChordTag(GRStaff* staff, ARUserChordTag* chord);

  // The label of a user chord tag, else the empty string.
  NVstring const& getLabel() const;
  void checkPosition(GRSystem const*) override {}
  GRSaveStruct* getNewGRSaveStruct() override { return nullptr; }
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}

 private:
  mutable NVstring mLabel;
};
