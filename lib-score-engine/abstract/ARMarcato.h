#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// Marcato signs on the notes of its range. It takes the common parameters only.
class ARMarcato : public ARMTParameter, public ARPositionTag {
 public:
  ARMarcato() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\marcato"; }
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
