#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterString.h"

// Defines a tag of the user's own ("defineTag"): its name, its parameters and the text that
// stands for it. Held for the readers; nothing is defined by it yet.
class ARDefineTag : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\defineTag"; }
  void PrintParameters(std::ostream& os) const override;

  TagParameterString const* getTagName() const { return tagName.get(); }
  TagParameterString const* getTagParameters() const { return tagParameters.get(); }
  TagParameterString const* getGgsText() const { return ggsText.get(); }

 private:
  std::unique_ptr<TagParameterString> tagName;
  std::unique_ptr<TagParameterString> tagParameters;
  std::unique_ptr<TagParameterString> ggsText;
  static ListOfTPLs ltpls;
};
