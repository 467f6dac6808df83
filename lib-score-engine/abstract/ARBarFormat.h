#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterString.h"

// The bar format tag: the style of the bar lines of a staff ("staff", "system", ...), which the
// staff hands to its bar lines. Held only when the tag gives it.
class ARBarFormat : public ARMTParameter {
 public:
  ARBarFormat() = default;
  ARBarFormat(ARBarFormat const& other);

  ARMusicalObject* Copy() const override { return new ARBarFormat(*this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  TagParameterString const* getStyle() const { return mStyle.get(); }

 private:
  std::unique_ptr<TagParameterString> mStyle;
};
