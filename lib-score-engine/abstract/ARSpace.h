#pragma once

#include "ARMTParameter.h"

// Horizontal space at its place ("space").
class ARSpace : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\space"; }
  void PrintParameters(std::ostream& os) const override;

  // The width in layout units.
  float getValue() const { return width; }

 private:
  float width = 0.0f;
  static ListOfTPLs ltpls;
};
