#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// Where the heads of the following notes sit against their stems ("headsNormal",
// "headsReverse", "headsCenter", "headsRight", "headsLeft"); written with a range, for the
// range only.
class ARTHead : public ARMTParameter, public ARPositionTag {
 public:
  enum HEADSTATE { NOHEADSTATE = 0, NORMAL = 1, REVERSE = 2, CENTER = 3, RIGHT = 4, LEFT = 5 };

  // saved is the head state in force before this one (not owned); with copy, its kind is taken
  // instead of kind.
  explicit ARTHead(int kind = NOHEADSTATE, ARTHead const* saved = nullptr,
                   ARTHead const* copy = nullptr);

  ARMusicalObject* Copy() const override;
  // The head state that holds again after the range: the saved one's kind, or none. Owned by the
  // caller.
  ARTHead* getEndTag() const;
  // Only the common parameters.
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  int getHeadState() const { return headState; }
  ARTHead const* getSavedTag() const { return savedTag; }

 private:
  ARTHead const* savedTag;
  int headState;
  static ListOfTPLs ltpls;
};
