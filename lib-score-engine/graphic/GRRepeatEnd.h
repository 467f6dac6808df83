#pragma once

#include "GRBar.h"

class ARRepeatEnd;

// The closing repeat sign: a bar glyph with its dots, drawn and reported as a bar line.
class GRRepeatEnd : public GRBar {
 public:
  GRRepeatEnd(ARRepeatEnd* repeat, GRStaff* staff, Fraction const& time);

  void InitRepeatEnd();
  NVPoint const& getReferencePosition() const override { return sRefPos; }
  unsigned int getTextAlign() const override { return 9; }

 private:
  static NVPoint const sRefPos;
};
