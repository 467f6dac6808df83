#pragma once

#include "ARMTParameter.h"

// A bembel picture mark ("bembel"), drawn mirrored when inverse is not 0.
class ARBembel : public ARMTParameter {
 public:
  explicit ARBembel(int inverse = 0) : inverse(inverse) {}

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\bembel"; }
  void PrintParameters(std::ostream& os) const override;

  int getInverse() const { return inverse; }

 private:
  int inverse;
  static ListOfTPLs ltpls;
};
