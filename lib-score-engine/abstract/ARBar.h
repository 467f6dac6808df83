#pragma once

#include "ARMTParameter.h"

// A bar line ("bar", and the vertical bar of the text); the automatic bar-line pass inserts them
// too. Its number is -1 unless the text gives one.
class ARBar : public ARMTParameter {
 public:
  ARBar() = default;
  // A bar at a time position, as the automatic pass places it.
  explicit ARBar(Fraction const& relativeTimePosition) : ARMTParameter(relativeTimePosition) {}

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\bar"; }
  // The number, unless it is -1.
  void PrintParameters(std::ostream& os) const override;
  // Bars are equal when their numbers are, whatever their kind or place.
  virtual bool operator==(ARBar const& other) const { return barNumber == other.barNumber; }

  int getBarNumber() const { return barNumber; }

 private:
  int barNumber = -1;
  static ListOfTPLs ltpls;
};
