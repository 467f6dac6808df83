#pragma once

#include <memory>
#include <utility>

#include "Bitmap.h"
#include "GRTagARNotationElement.h"

// What the two picture marks share: the named picture shown 200 units high, placed by its own
// spring, mirrored when the tag's inverse is -1. Each mark names its own picture, a file beside
// the score's own file, which the marks of a score that name it share.
template <class AbstractMark>
class PictureMark : public GRTagARNotationElement {
 public:
  PictureMark(AbstractMark* mark, std::shared_ptr<Bitmap const> picture)
      : GRTagARNotationElement(mark, 50), mBitmap(std::move(picture)) {
    mNeedsSpring = 1;
    mWidth = mBitmap->GetProportionalWidth(kHeight);
    mBoundingBox = NVRect{0, 0, mWidth, kHeight};
    mLeftSpace = 0;
    mRightSpace = mWidth;
  }

  void OnDraw(VGDevice& device, VScoreSymbolMap&) const override {
    if (mBitmap->GetWidth() == 0) return;
    auto const* mark = static_cast<AbstractMark const*>(getAbstractRepresentation());
    if (mark->getInverse() == -1)
      mBitmap->OnDraw(
          device, NVRect{mPosition.x + mWidth, mPosition.y, mPosition.x, mPosition.y + kHeight});
    else
      mBitmap->OnDrawH(device, mPosition, kHeight);
  }

 private:
  static constexpr float kHeight = 200;
  std::shared_ptr<Bitmap const> mBitmap;
  float mWidth = 0;
};
