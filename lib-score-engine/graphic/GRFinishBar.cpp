#include "GRFinishBar.h"

#include "ARFinishBar.h"
#include "GRStaff.h"

NVPoint GRFinishBar::sRefPos;

GRFinishBar::GRFinishBar(ARFinishBar* bar, GRStaff* staff, Fraction const& time)
    : GRBar(bar, staff, time) {
  InitFinishBar(staff);
}

GRFinishBar::GRFinishBar(ARFinishBar* bar, GRSystem* system, GRStaff* staff, Fraction const& time)
    : GRBar(bar, system, staff, time) {
  InitFinishBar(staff);
}

void GRFinishBar::InitFinishBar(GRStaff* staff) {
  mSymbol = 92;
  mLeftSpace = 55;
  mRightSpace = 0;
  // The glyph is scaled with the staff's line space: its bottom is the staff's height at the
  // line space of 50 the glyph is drawn for.
  sRefPos = NVPoint{-40, staff ? (staff->getNumlines() - 1) * 50.0f : 200};
}

ARFinishBar* GRFinishBar::getARFinishBar() const {
  return static_cast<ARFinishBar*>(getARBar());
}
