#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"

// Gives the events of its range a drawn length and dots other than their real length: a triplet
// eighth is drawn as an eighth, a chord's notes as the length of their group.
class ARDisplayDuration : public ARMTParameter, public ARPositionTag {
 public:
  ARDisplayDuration();
  // Copies the written parameters, not the drawn length.
  explicit ARDisplayDuration(ARDisplayDuration const* copy);

  ARMusicalObject* Copy() const override { return new ARDisplayDuration(this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
  void setTagParameterList(TagParameterList& given) override;

  // Draws length as a plain value with up to two dots where it is one, else as it is.
  void setDisplayDuration(Fraction const& length);
  void setDots(int count) { dots = count; }
  Fraction const& getDisplayDuration() const { return displayDuration; }
  int getDots() const { return dots; }

 private:
  std::unique_ptr<TagParameterInt> num, denom, ndots;
  Fraction displayDuration;
  int dots = 0;

  static inline ListOfTPLs sTemplates{1};
};
