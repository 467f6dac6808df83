#pragma once

#include "ARMTParameter.h"

// The separator between two notes of a chord, which the voice appends whenever a chord note
// begins; no tag name makes one.
class ARChordComma : public ARMTParameter {
 public:
  // With copy, its common parameters are taken.
  explicit ARChordComma(ARChordComma const* copy = nullptr) : ARMTParameter(Frac_0, copy) {}

  ARMusicalObject* Copy() const override { return new ARChordComma(this); }
  // Only the common parameters.
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\chordComma"; }

 private:
  static ListOfTPLs ltpls;
};
