#pragma once

#include "ARMTParameter.h"
#include "NVstring.h"

// An intensity mark ("intens", "i"): a word such as a dynamic marking, and a value that is -1
// when none is given.
class ARIntens : public ARMTParameter {
 public:
  ARIntens() = default;
  ARIntens(char const* text, float value);

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\intens"; }
  void PrintParameters(std::ostream& os) const override;

  NVstring const& getText() const { return text; }
  float getValue() const { return value; }

 private:
  NVstring text;
  float value = -1.0f;
  static ListOfTPLs ltpls;
};
