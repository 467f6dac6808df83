#include "GRARCompositeNotationElement.h"

#include <algorithm>

GRARCompositeNotationElement::~GRARCompositeNotationElement() {
  mCompElements.RemoveAll();
}

void GRARCompositeNotationElement::addToOffset(NVPoint const& offset) {
  void* pos = First();
  while (pos) GetNext(pos)->addToOffset(offset);
}

void GRARCompositeNotationElement::setPosition(NVPoint const& point) {
  GRNotationElement::setPosition(point);
  mCompElements.setPosition(point);
  updateBoundingBox();
}

void GRARCompositeNotationElement::setHPosition(float x) {
  mCompElements.setHPosition(x);
  GRNotationElement::setHPosition(x);
  updateBoundingBox();
}

void GRARCompositeNotationElement::setGRStaff(GRStaff* staff) {
  GRNotationElement::setGRStaff(staff);
  void* pos = First();
  while (pos) GetNext(pos)->setGRStaff(staff);
}

void GRARCompositeNotationElement::updateBoundingBox() {
  mLeftSpace = 0;
  mRightSpace = 0;
  mBoundingBox = NVRect{};
  void* pos = First();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    mLeftSpace = std::max(mLeftSpace, element->getLeftSpace());
    mRightSpace = std::max(mRightSpace, element->getRightSpace());
    addToBoundingBox(element);
  }
}

void GRARCompositeNotationElement::DrawSubElements(VGDevice& device, VScoreSymbolMap& map) const {
  mCompElements.OnDraw(device, map);
}
