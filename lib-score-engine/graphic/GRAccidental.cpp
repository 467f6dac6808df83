#include "GRAccidental.h"

#include "GREvent.h"
#include "ScoreElementDesc.h"
#include "VScoreSymbolMap.h"

GRAccidental::GRAccidental(GREvent* event, float noteWidth, int code, float size, float lineSpace)
    : mSize(size) {
  if (event) {
    mGrStaff = event->getGRStaff();
    mSize = event->getSize();
    mOffset = event->getOffset();
    mColor.set(event->getColRef());
  }
  setAccidental(code, noteWidth, lineSpace);
}

unsigned int GRAccidental::CodeToSymbol(int code) {
  switch (code) {
    case -10:
      return 110;
    case -2:
      return 134;
    case -1:
      return 98;
    case 1:
      return 35;
    case 2:
      return 180;
    default:
      return 0;
  }
}

void GRAccidental::setAccidental(int code, float noteWidth, float lineSpace) {
  mSymbol = CodeToSymbol(code);
  mBoundingBox.Set(0, -lineSpace, 0, lineSpace);
  float const half = GetSymbolExtent(mSymbol) * 0.5f;
  mRefpos.x = -half;
  mLeftSpace = 0.2f * lineSpace + half * mSize;
  mRightSpace = half * mSize;
  // Left of the head by half the head, half the sign and a gap of a fifth of a line space.
  float const shift = (0.5f * noteWidth + half + 0.2f * lineSpace) * mSize;
  mOffset.x -= shift;
  if (noteWidth != 0) mLeftSpace += shift;
}

void GRAccidental::addToOffset(NVPoint const& offset) {
  mOffset += offset;
  mLeftSpace -= offset.x;
}

void GRAccidental::placeRightEdgeAt(float x) {
  mOffset.x = x - mRightSpace;
  mLeftSpace = mRightSpace - mOffset.x + 10 * mSize;
}

void GRAccidental::setOffsetX(float x) {
  mOffset.x = x;
  mOffsetSet = true;
}

void GRAccidental::setOffsetY(float y) {
  mOffset.y = y;
  mOffsetSet = true;
}

void GRAccidental::setOffset(NVPoint const& offset) {
  mOffset = offset;
  mOffsetSet = true;
}

NVRect GRAccidental::inkBox() const {
  constexpr unsigned int kFlat = 98, kDoubleFlat = 134, kDoubleSharp = 180;
  float const space = mBoundingBox.bottom;  // the sign's box reaches a space either way
  NVPoint const at = mPosition + mOffset;
  float const left = at.x + mRefpos.x * mSize;
  float const right = left + GetSymbolExtent(mSymbol) * mSize;
  if (mSymbol == kFlat || mSymbol == kDoubleFlat)
    return NVRect{left, at.y - 1.75f * space, right, at.y + 0.75f * space};
  if (mSymbol == kDoubleSharp) return NVRect{left, at.y - 0.5f * space, right, at.y + 0.5f * space};
  return NVRect{left, at.y - 1.5f * space, right, at.y + 1.5f * space};
}

void GRAccidental::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  GRNotationElement::OnDraw(device, map);
  ScoreElementDesc desc;
  desc.kind = 2;
  desc.subtype = 13;
  NVPoint const at = mPosition + mOffset;
  desc.left = at.x + mBoundingBox.left - mLeftSpace;
  desc.top = at.y + mBoundingBox.top;
  desc.right = at.x + mBoundingBox.right + mRightSpace;
  desc.bottom = at.y + mBoundingBox.bottom;
  desc.refX = at.x;
  desc.refY = at.y;
  map.AddElement(device, desc);
}

int compaccposy(GRAccidental const* el1, GRAccidental const* el2) {
  return compnotposy(el1, el2);
}
