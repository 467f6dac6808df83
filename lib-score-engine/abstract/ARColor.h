#pragma once

#include "ARMTParameter.h"

// A colour for the following music ("color", "colour"): red, green, blue and alpha as written.
class ARColor : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\color"; }
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  float getRed() const { return red; }
  float getGreen() const { return green; }
  float getBlue() const { return blue; }
  float getAlpha() const { return alpha; }

 private:
  float red = 0.0f;
  float green = 0.0f;
  float blue = 0.0f;
  float alpha = 0.0f;
  static ListOfTPLs ltpls;
};
