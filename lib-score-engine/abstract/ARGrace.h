#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"

// The notes of its range are grace notes.
class ARGrace : public ARMTParameter, public ARPositionTag {
 public:
  ARGrace() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\grace"; }
  void PrintParameters(std::ostream& os) const override;
  void setTagParameterList(TagParameterList& given) override;
  TagParameterInt const* getNum() const { return num.get(); }

 private:
  std::unique_ptr<TagParameterInt> num;

  static inline ListOfTPLs sTemplates{1};
};
