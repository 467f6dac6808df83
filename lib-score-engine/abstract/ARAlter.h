#pragma once

#include <memory>
#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

// Detunes the notes that follow, until the next alter tag or the end of its range, and may show
// the detuning as text.
class ARAlter : public ARMTParameter, public ARPositionTag {
 public:
  // previous is the alter state in force before this one; copyFrom gives the parameters.
  explicit ARAlter(ARAlter* previous = nullptr, ARAlter const* copyFrom = nullptr);

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\alter"; }
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // A new tag, owned by the caller, that brings back the state before this one: closing an
  // alter range restores the earlier detuning.
  ARAlter* getEndTag() const;

  TagParameterString const* getTPAlterString() const { return alterstring.get(); }
  TagParameterFloat const* getTPAlterValue() const { return altervalue.get(); }
  std::string getAlterText() const;
  float getAlterVal() const;
  ARAlter* getPrevious() const { return previous; }

 private:
  ARAlter* previous;
  std::unique_ptr<TagParameterString> alterstring;
  std::unique_ptr<TagParameterFloat> altervalue;

  static inline ListOfTPLs sTemplates{1};
};
