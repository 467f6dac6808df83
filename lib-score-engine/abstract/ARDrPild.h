#pragma once

#include "ARMTParameter.h"

// A DrPild picture mark ("DrPild"), drawn mirrored when inverse is not 0.
class ARDrPild : public ARMTParameter {
 public:
  explicit ARDrPild(int inverse = 0) : inverse(inverse) {}

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\DrPild"; }
  void PrintParameters(std::ostream& os) const override;

  int getInverse() const { return inverse; }

 private:
  int inverse;
  static ListOfTPLs ltpls;
};
