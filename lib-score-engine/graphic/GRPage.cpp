#include "GRPage.h"

#include "ARMusicalEvent.h"

namespace {
constexpr float kCmPerUnit = 0.0042175176f;
}

GRPage::GRPage(float width, float height, float marginLeft, float marginTop, float marginRight,
               float marginBottom)
    : GREvent(nullptr, new ARMusicalEvent(Frac_0), true),
      mWidth(width),
      mHeight(height),
      mLeft(marginLeft),
      mTop(marginTop),
      mRight(marginRight),
      mBottom(marginBottom) {}

void GRPage::getMarginsCm(float* left, float* top, float* right, float* bottom) const {
  *left = mLeft * kCmPerUnit;
  *top = mTop * kCmPerUnit;
  *right = mRight * kCmPerUnit;
  *bottom = mBottom * kCmPerUnit;
}
