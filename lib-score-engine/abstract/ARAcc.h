#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterString.h"

// How the accidentals of its range are drawn ("style"), read when a note draws its accidental.
class ARAcc : public ARMTParameter, public ARPositionTag {
 public:
  ARAcc() { rangeSetting = ONLYRANGE; }
  // Copies the style.
  ARAcc(ARAcc const& other);

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\acc"; }
  void PrintParameters(std::ostream& os) const override;
  void setTagParameterList(TagParameterList& given) override;
  TagParameterString const* getStyle() const { return mStyle.get(); }

 private:
  std::unique_ptr<TagParameterString> mStyle;

  static inline ListOfTPLs sTemplates{1};
};
