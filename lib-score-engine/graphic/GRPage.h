#pragma once

#include "GREvent.h"

// A page of the score: its size and margins in layout units (237.10631 per centimetre). It is an
// event of the piece; its elements draw in order.
class GRPage : public GREvent {
 public:
  GRPage(float width, float height, float marginLeft, float marginTop, float marginRight,
         float marginBottom);

  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override {
    DrawSubElements(device, map);
  }

  float getPageWidth() const { return mWidth; }
  float getPageHeight() const { return mHeight; }
  float getMarginLeft() const { return mLeft; }
  // The four margins in centimetres.
  void getMarginsCm(float* left, float* top, float* right, float* bottom) const;

 private:
  float mWidth;
  float mHeight;
  float mLeft;
  float mTop;
  float mRight;
  float mBottom;
};
