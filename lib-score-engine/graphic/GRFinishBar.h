#pragma once

#include "GRBar.h"

class ARFinishBar;

// The closing thin-thick bar of a piece, on a staff or across a system.
class GRFinishBar : public GRBar {
 public:
  GRFinishBar(ARFinishBar* bar, GRStaff* staff, Fraction const& time);
  GRFinishBar(ARFinishBar* bar, GRSystem* system, GRStaff* staff, Fraction const& time);

  ARFinishBar* getARFinishBar() const;
  NVPoint const& getReferencePosition() const override { return sRefPos; }

 private:
  void InitFinishBar(GRStaff* staff);

  static NVPoint sRefPos;
};
