#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"

// Plays and shows the following notes a number of octaves away ("oct"); written with a range,
// for the range only.
class AROctava : public ARMTParameter, public ARPositionTag {
 public:
  // saved is the octava in force before this one (not owned); with copy, its octave count is
  // taken.
  explicit AROctava(AROctava const* saved = nullptr, AROctava const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The octava that holds again after the range, a copy of the saved one. Owned by the caller.
  AROctava* getEndTag() const;
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\oct"; }
  void PrintParameters(std::ostream& os) const override { os << "i=" << getOctava(); }
  bool IsStateTag() const override { return true; }

  // The octave count; 0 without one. Notes add it to their register, which stays within
  // MIN_REGISTER..MAX_REGISTER, so a count beyond the width of that range is cut to it: the
  // notes come out the same, and the sum cannot overflow.
  int getOctava() const;
  TagParameterInt const* getTPOctava() const { return octava.get(); }
  AROctava const* getSavedTag() const { return savedTag; }

 private:
  AROctava const* savedTag;
  std::unique_ptr<TagParameterInt> octava;
  static ListOfTPLs ltpls;
};
