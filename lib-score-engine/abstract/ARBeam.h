#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"

// The notes of its range share one beam. Without geometry the graphical beam works the beam out
// itself; the text may give the stem lengths at both ends (dy, or dy1 and dy2) or move all four
// corners (dx1 .. dy4).
class ARBeam : public ARMTParameter, public ARPositionTag {
 public:
  ARBeam();

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
  void setTagParameterList(TagParameterList& given) override;

  // True when the text gave the stem lengths only (dy, or dy1 and dy2), not the corners.
  bool isRazidSpecBeam() const;

  TagParameterFloat const* getDX1() const { return dx1.get(); }
  TagParameterFloat const* getDY1() const { return dy1.get(); }
  TagParameterFloat const* getDX2() const { return dx2.get(); }
  TagParameterFloat const* getDY2() const { return dy2.get(); }
  TagParameterFloat const* getDX3() const { return dx3.get(); }
  TagParameterFloat const* getDY3() const { return dy3.get(); }
  TagParameterFloat const* getDX4() const { return dx4.get(); }
  TagParameterFloat const* getDY4() const { return dy4.get(); }

 protected:
  // Left end: first and second point; right end: third and fourth.
  std::unique_ptr<TagParameterFloat> dx1, dy1, dx2, dy2, dx3, dy3, dx4, dy4;

 private:
  static inline ListOfTPLs sTemplates{1};
};
