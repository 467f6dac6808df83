#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"

// Stem direction and length for the following notes ("stemsUp", "stemsDown", "stemsAuto",
// "stemsOff"); written with a range, for the range only.
class ARTStem : public ARMTParameter, public ARPositionTag {
 public:
  enum STEMSTATE { UP = 0, DOWN = 1, AUTO = 2, OFF = 3 };

  // saved is the stem state in force before this one (not owned); with copy, its kind and
  // length are taken instead of kind.
  explicit ARTStem(int kind = AUTO, ARTStem const* saved = nullptr, ARTStem const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The stem state that holds again after the range: the saved one, or automatic stems. Owned by
  // the caller.
  ARTStem* getEndTag() const;
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override;
  // The length, when the text wrote one.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  int getStemState() const { return stemState; }
  // Held once the parameters were read, at its default of 7 default units when not written.
  TagParameterFloat const* getLength() const { return length.get(); }
  ARTStem const* getSavedTag() const { return savedTag; }

 private:
  ARTStem const* savedTag;
  int stemState;
  std::unique_ptr<TagParameterFloat> length;
  static ListOfTPLs ltpls;
};
