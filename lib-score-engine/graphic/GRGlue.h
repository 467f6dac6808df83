#pragma once

#include "GRNotationElement.h"

// An invisible element that ties a staff's begin, the end of its begin elements, or its end to
// a spacing spring.
class GRGlue : public GRNotationElement {
 public:
  enum Kind { END_GLUE = 0, START_GLUE = 1, SECOND_GLUE = -1 };

  // The glue claims a line space of room to its right (50 without a staff).
  GRGlue(GRStaff* staff, int kind);
  // The partner forgets this glue.
  ~GRGlue() override;

  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}
  void tellPosition(GObject*, NVPoint const& point) override { setPosition(point); }

  int getKind() const { return mKind; }
  float getSConst() const { return mSConst; }
  GRGlue* getPartner() const { return mPartner; }
  void setPartner(GRGlue* partner) { mPartner = partner; }

 private:
  int mKind;
  float mSConst;
  GRGlue* mPartner = nullptr;
};
