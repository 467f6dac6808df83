#pragma once

#include "GObject.h"

// The bracket or brace that joins the staves of a system at its left edge. The system draws it
// between the top of its first staff and the bottom of its last.
class GRAccolade : public GObject {
 public:
  // 1 a straight bracket with hooked ends; 2 and 3 a curly brace; other kinds draw nothing.
  explicit GRAccolade(int id = 1, float dx = 0) : mAccoladeID(id), mDx(dx) {}

  void setAccoladeType(int id) { mAccoladeID = id; }
  int getAccoladeType() const { return mAccoladeID; }
  float getDx() const { return mDx; }
  void setDx(float dx) { mDx = dx; }
  void draw(VGDevice& device, NVPoint const& leftTop, NVPoint const& leftBottom) const;
  void OnDraw(VGDevice&, VScoreSymbolMap&) const override {}

 private:
  void DrawStraightAccolade(VGDevice& device, float x, float top, float bottom, bool ends) const;
  void DrawEmulatedAccolade(VGDevice& device, float x, float top, float bottom) const;

  int mAccoladeID;
  float mDx;
};
