#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

// What slurs and ties share: an optional curve geometry. The text gives either a direction
// ("curve") or the six values; otherwise the graphical bowing asks for a curve through the two
// end points it found.
class ARBowing : public ARMTParameter, public ARPositionTag {
 public:
  ARBowing();
  // The source's parameters and common parameters, but not whether the text wrote them: a copy's
  // curve may be worked out again.
  explicit ARBowing(ARBowing const* copy);

  void setTagParameterList(TagParameterList& given) override;
  // Copies of what the text wrote: the direction alone, or the geometry values it gave.
  TagParameterList* getTagParameterList() const override;
  void PrintParameters(std::ostream& os) const override;

  // Works the curve out from its two end points (layout units) unless the text gave one. A tag
  // that never read parameters, such as an automatic tie, gets the six values made here.
  void setCurve(int direction, float x1, float y1, float x2, float y2);
  template <class Point>
  void setCurve(int direction, Point const& p1, Point const& p2) {
    setCurve(direction, p1.x, p1.y, p2.x, p2.y);
  }

  bool getParSet() const { return mParSet; }
  TagParameterFloat const* getDX1() const { return dx1.get(); }
  TagParameterFloat const* getDY1() const { return dy1.get(); }
  TagParameterFloat const* getDX2() const { return dx2.get(); }
  TagParameterFloat const* getDY2() const { return dy2.get(); }
  TagParameterFloat const* getR3() const { return r3.get(); }
  TagParameterFloat const* getH() const { return h.get(); }
  TagParameterString const* getCurve() const { return mCurve.get(); }

 protected:
  // Offsets of the two end points, where along the chord the peak lies (0.5 the middle) and the
  // height (negative bends down).
  std::unique_ptr<TagParameterFloat> dx1, dy1, dx2, dy2, r3, h;
  std::unique_ptr<TagParameterString> mCurve;
  bool mParSet = false;

 private:
  // The geometry a direction stands for: both ends at the notes, the peak in the middle.
  void SetFlatGeometry(float height);

  static inline ListOfTPLs sTemplates{1};
};
