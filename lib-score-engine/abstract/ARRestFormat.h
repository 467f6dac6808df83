#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"

// The vertical place, colour and size of the following rests ("restFormat"); written with a
// range, for the range only.
class ARRestFormat : public ARMTParameter, public ARPositionTag {
 public:
  // saved is the rest format in force before this one (not owned); with copy, its posy is taken.
  explicit ARRestFormat(ARRestFormat const* saved = nullptr, ARRestFormat const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The rest format that holds again after the range, a copy of the saved one. Owned by the
  // caller.
  ARRestFormat* getEndTag() const;
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\restFormat"; }
  // The vertical place, when the text wrote one.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  // Null until the parameters were read, then 0 when not written.
  TagParameterFloat const* getPosy() const { return posy.get(); }
  ARRestFormat const* getSavedTag() const { return savedTag; }

 private:
  ARRestFormat const* savedTag;
  std::unique_ptr<TagParameterFloat> posy;
  static ListOfTPLs ltpls;
};
