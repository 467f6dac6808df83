#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterString.h"

// The notes of its range are cue notes; they go into a voice of their own, and the cue's name,
// when written, is shown as a text.
class ARCue : public ARMTParameter, public ARPositionTag {
 public:
  ARCue() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\cue"; }
  void PrintParameters(std::ostream& os) const override;
  void setTagParameterList(TagParameterList& given) override;
  TagParameterString const* getName() const { return name.get(); }

 private:
  std::unique_ptr<TagParameterString> name;

  static inline ListOfTPLs sTemplates{1};
};
