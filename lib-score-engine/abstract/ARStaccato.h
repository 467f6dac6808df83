#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// Staccato dots on the notes of its range. It takes the common parameters only.
class ARStaccato : public ARMTParameter, public ARPositionTag {
 public:
  ARStaccato() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\stacc"; }
  bool MatchEndTag(char const* text) override;
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
