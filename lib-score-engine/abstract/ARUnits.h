#pragma once

#include "ARMTParameter.h"
#include "NVstring.h"

// The units tag. Its class-wide default unit applies to every length written without a unit,
// in every score, from the moment a units tag sets it until the next one does; it starts as
// half spaces ("hs") and is never reset between scores.
class ARUnits : public ARMTParameter {
 public:
  static NVstring sType;

  ARUnits() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  // The default unit in force.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;
};
