#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"

// The place and spacing of the augmentation dots of the following notes ("dotFormat"): the dots
// are moved by dx and dy (the tag's own dx and dy), scaled by size and dd apart. Written with a
// range, for the range only.
class ARDotFormat : public ARMTParameter, public ARPositionTag {
 public:
  // saved is the dot format in force before this one (not owned). With copy, its parameters are
  // taken; without, the tag starts with the defaults dx 1.8 hs, dy 0, size 1 and dd 1 hs.
  explicit ARDotFormat(ARDotFormat const* saved = nullptr, ARDotFormat const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The dot format that holds again after the range: a copy of the saved one, or the defaults.
  // Owned by the caller.
  ARDotFormat* getEndTag() const;
  // dx, dy and size replace the common ones, at their defaults when not written.
  void setTagParameterList(TagParameterList& given) override;
  // "\dotFormat<dx=..,dy=..,mDD=..> ".
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;
  bool IsStateTag() const override { return true; }

  TagParameterFloat const* getDD() const { return dd.get(); }
  ARDotFormat const* getSavedTag() const { return savedTag; }

 private:
  ARDotFormat const* savedTag;
  std::unique_ptr<TagParameterFloat> dd;
  static ListOfTPLs ltpls;
};

// The dot format of notes while none is in force.
extern ARDotFormat const defaultARDotFormat;
