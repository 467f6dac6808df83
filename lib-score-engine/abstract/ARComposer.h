#pragma once

#include "ARText.h"

// The composer line, placed on the page ("pageformat"), by default at the right.
class ARComposer : public ARText {
 public:
  ARComposer() { rangeSetting = NORANGE; }

  void PrintName(std::ostream& os) const override { os << "\\composer"; }
  void PrintParameters(std::ostream& os) const override;
  char const* getTagFormat() const override { return "S,name,,r;S,pageformat,53,o"; }
  void setTagParameterList(TagParameterList& given) override;

  char const* getName() const { return name ? name->getValue() : nullptr; }
  char const* getPageFormat() const { return pageformat ? pageformat->getValue() : nullptr; }

 private:
  std::unique_ptr<TagParameterString> name, pageformat;
};
