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
  sRefPos = NVPoint{-40, staff ? staff->getDredgeSize() : 200};
}

ARFinishBar* GRFinishBar::getARFinishBar() const {
  return static_cast<ARFinishBar*>(getARBar());
}
