#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// Accents on the notes of its range. It takes the common parameters only.
class ARAccent : public ARMTParameter, public ARPositionTag {
 public:
  ARAccent() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\accent"; }
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
