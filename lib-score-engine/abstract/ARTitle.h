#pragma once

#include "ARText.h"

// The title of the piece, placed on the page ("pageformat") rather than at an event.
class ARTitle : public ARText {
 public:
  ARTitle() { rangeSetting = NORANGE; }

  void PrintName(std::ostream& os) const override { os << "\\title"; }
  void PrintParameters(std::ostream& os) const override;
  char const* getTagFormat() const override {
    return "S,name,,r;S,pageformat,c2,o;S,textformat,cc,o";
  }
  void setTagParameterList(TagParameterList& given) override;

  char const* getName() const { return name ? name->getValue() : nullptr; }
  char const* getPageFormat() const { return pageformat ? pageformat->getValue() : nullptr; }

 private:
  std::unique_ptr<TagParameterString> name, pageformat;
};
