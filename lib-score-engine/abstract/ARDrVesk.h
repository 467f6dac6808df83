#pragma once

#include "ARMTParameter.h"

// A DrVesk picture mark ("DrVesk"), drawn mirrored when inverse is not 0.
class ARDrVesk : public ARMTParameter {
 public:
  explicit ARDrVesk(int inverse = 0) : inverse(inverse) {}

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\DrVesk"; }
  void PrintParameters(std::ostream& os) const override;

  int getInverse() const { return inverse; }

 private:
  int inverse;
  static ListOfTPLs ltpls;
};
