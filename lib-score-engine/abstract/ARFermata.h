#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// A fermata over its event or range. It takes the common parameters only.
class ARFermata : public ARMTParameter, public ARPositionTag {
 public:
  ARFermata() { rangeSetting = RANGEDC; }

  // Written without the opening bracket of its range.
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\fermata"; }
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
