#pragma once

#include "ARMTParameter.h"
#include "NVstring.h"

// The units tag. Its class-wide default unit applies to every length written without a unit,
// in every score, from the moment a units tag sets it until the next one does; it starts as
// half spaces ("hs") and is never reset between scores. Each tag keeps the unit it set, which it
// is written back with.
class ARUnits : public ARMTParameter {
 public:
  static NVstring sType;

  ARUnits() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  // The unit this tag set.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

 private:
  // Until a parameter says otherwise, the unit in force when the tag was made.
  NVstring mType{sType};
};
