#pragma once

#include "ARMTParameter.h"

class ARRepeatEnd;

// The start of a repeated passage ("repeatBegin"). Its length is known once its repeat end is.
class ARRepeatBegin : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\repeatBegin"; }
  // The count, unless it is 2.
  void PrintParameters(std::ostream& os) const override;

  // The length becomes the distance to end, the first time only.
  void setRepeatEnd(ARRepeatEnd const* end);
  int getNumRepeat() const { return numRepeat; }
  // -1/1 while the repeat end is not known.
  Fraction const& getLength() const { return length; }

 private:
  int numRepeat = 0;
  Fraction length{-1, 1};
  static ListOfTPLs ltpls;
};
