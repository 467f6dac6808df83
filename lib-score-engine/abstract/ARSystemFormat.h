#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterString.h"

// The system format tag: which staves a system holds and, as the tag's dx, how far the system
// is moved to the right. The layout reads both.
class ARSystemFormat : public ARMTParameter {
 public:
  ARSystemFormat() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // The "staves" text, or null when the tag did not give it.
  TagParameterString const* getStaves() const { return mStaves.get(); }

 private:
  std::unique_ptr<TagParameterString> mStaves;
};
