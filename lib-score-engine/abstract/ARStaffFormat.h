#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

// The staff format tag: the style of a staff ("standard", "3-line", ...) and its size, a length
// that the staff turns into its line space. Only what the tag gives is held.
class ARStaffFormat : public ARMTParameter {
 public:
  ARStaffFormat() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  TagParameterString const* getStyle() const { return mStyle.get(); }
  // Always a whole number of layout units, held in the unit it was written in.
  TagParameterFloat const* getStaffSize() const { return mStaffSize.get(); }

 private:
  std::unique_ptr<TagParameterString> mStyle;
  std::unique_ptr<TagParameterFloat> mStaffSize;
};
