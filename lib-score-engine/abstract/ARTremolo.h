#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"

// Tremolo strokes on the notes of its range.
class ARTremolo : public ARMTParameter, public ARPositionTag {
 public:
  ARTremolo() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\trem"; }
  void PrintParameters(std::ostream& os) const override;
  // Accepts "dur" and keeps nothing of it.
  void setTagParameterList(TagParameterList& given) override;
  TagParameterInt const* getDur() const { return dur.get(); }

 private:
  std::unique_ptr<TagParameterInt> dur;

  static inline ListOfTPLs sTemplates{1};
};
