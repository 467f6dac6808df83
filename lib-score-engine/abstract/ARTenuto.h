#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// Tenuto lines on the notes of its range. It takes the common parameters only.
class ARTenuto : public ARMTParameter, public ARPositionTag {
 public:
  ARTenuto() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\ten"; }
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
