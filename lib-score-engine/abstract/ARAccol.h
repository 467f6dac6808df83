#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"

// The accolade tag: a brace or bracket of the given type that joins a range of staves at the
// left edge of each system. The system reads the texts as they stand; the accolade's offset is
// the tag's dx.
class ARAccol : public ARMTParameter {
 public:
  ARAccol() = default;

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }
  void setTagParameterList(TagParameterList& given) override;

  // The accolade's id, by number or by text; null when not given that way.
  TagParameterInt const* getIdInt() const { return mIdInt.get(); }
  TagParameterString const* getIdString() const { return mIdString.get(); }
  // The range of staves ("1-3") and the type ("standard", "curlyBrace", ...); either may be a
  // parameter the tag did not give, holding its template default.
  TagParameterString const* getRangeParameter() const { return mRange.get(); }
  TagParameterString const* getTypeParameter() const { return mType.get(); }

 private:
  std::unique_ptr<TagParameterInt> mIdInt;
  std::unique_ptr<TagParameterString> mIdString;
  std::unique_ptr<TagParameterString> mRange;
  std::unique_ptr<TagParameterString> mType;
};
