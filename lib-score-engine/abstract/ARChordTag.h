#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"

// The range of a chord. The chord builder opens one, marked automatic, around every chord; the
// text may label it with a word or a number.
class ARChordTag : public ARMTParameter, public ARPositionTag {
 public:
  ARChordTag() { rangeSetting = ONLYRANGE; }
  // Copies the label, not the common parameters.
  explicit ARChordTag(ARChordTag const* copy);

  ARMusicalObject* Copy() const override { return new ARChordTag(this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  void setTagParameterList(TagParameterList& given) override;

  TagParameterString const* getLabelString() const { return labelString.get(); }
  TagParameterInt const* getLabelInt() const { return labelInt.get(); }

 protected:
  // Takes the label of whichever form matched; -1 when none did.
  int BindLabel(ListOfTPLs& templates, TagParameterList& given);

  std::unique_ptr<TagParameterString> labelString;
  std::unique_ptr<TagParameterInt> labelInt;

 private:
  static inline ListOfTPLs sTemplates{1};
};
