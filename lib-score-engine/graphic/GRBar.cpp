#include "GRBar.h"

#include <algorithm>

#include "ARBar.h"
#include "GRStaff.h"
#include "ScoreElementDesc.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "src/common/assertion.h"

NVPoint GRBar::sRefPos;

namespace {
constexpr unsigned int kBarGlyph = 139;
constexpr unsigned int kFinishGlyph = 92;
// The lines of both glyphs from their left edge: the thin one, and the finish bar's thick one.
constexpr float kThinLine = 5;
constexpr float kThickLineStart = 20;
constexpr float kThickLineEnd = 40;
// The glyph's height and the step between its copies down a system bar.
constexpr float kGlyphHeight = 200;
constexpr float kSystemBarStep = 150;

float LineSpaceOf(GRStaff const* staff) {
  return staff ? staff->getLineSpace() : 50;
}
}  // namespace

GRBar::GRBar(ARBar* bar, GRStaff* staff, Fraction const& time)
    : GRTagARNotationElement(bar, LineSpaceOf(staff)) {
  mGrStaff = staff;
  mNeedsSpring = 1;
  tagType = STAFFTAG;
  InitGRBar(time, staff);
}

GRBar::GRBar(ARBar* bar, GRSystem*, GRStaff* staff, Fraction const& time)
    : GRTagARNotationElement(bar, LineSpaceOf(staff)) {
  mNeedsSpring = 0;
  tagType = SYSTEMTAG;
  InitGRBar(time, staff);
}

void GRBar::InitGRBar(Fraction const& time, GRStaff* staff) {
  setRelativeTimePosition(time);
  mSymbol = kBarGlyph;
  float const width = GetSymbolExtent(kBarGlyph);
  float const lineSpace = LineSpaceOf(staff);
  mBoundingBox.left = -0.5f * width;
  mBoundingBox.right = 0.5f * width;
  mBoundingBox.top = 0;
  sconst = 7;
  if (staff) {
    mBoundingBox.bottom = staff->getDredgeSize();
    size = lineSpace / 50 * size;
  }
  mLeftSpace = std::max(0.5f * lineSpace, 0.5f * width) * size;
  mRightSpace = 0.5f * width * size;
  sRefPos = NVPoint{-0.5f * width, 200};
}

ARBar* GRBar::getARBar() const {
  return static_cast<ARBar*>(const_cast<GRBar*>(this)->getAbstractRepresentation());
}

bool GRBar::operator==(GRBar const& other) const {
  return getRelativeTimePosition() == other.getRelativeTimePosition();
}

bool GRBar::operator==(GRTag const& other) const {
  auto const* bar = dynamic_cast<GRBar const*>(&other);
  return bar && *this == *bar;
}

void GRBar::tellPosition(GObject*, NVPoint const& point) {
  mPosition.x = point.x;
}

void GRBar::setGRStaff(GRStaff* staff) {
  MELVARIN_ASSERT(staff);
  GRStaff const* measured = mGrStaff ? mGrStaff : staff;
  mBoundingBox.bottom = measured->getDredgeSize();
  mGrStaff = staff;
}

void GRBar::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;  // stands in for nothing: a repeat sign takes its place
  if (mGrStaff && mGrStaff->getNumlines() != 5 &&
      (mSymbol == kBarGlyph || mSymbol == kFinishGlyph)) {
    drawLines(device);
  } else if (mGrStaff) {
    GRNotationElement::OnDraw(device, map);
  } else {
    float y = mBoundingBox.top;
    while (mBoundingBox.bottom > y) {
      bool const last = y + kGlyphHeight > mBoundingBox.bottom;
      if (last) y = mBoundingBox.bottom - kGlyphHeight;
      OnDrawSymbol(device, mSymbol, 0, y, size);
      if (last) break;
      y += kSystemBarStep;
    }
  }
  NotifyNewScoreElement(device, map);
}

// The glyphs reach over the four spaces of a five-line staff: on another staff the lines are
// drawn to its own height, around its line when it has only one.
void GRBar::drawLines(VGDevice& device) const {
  float const space = mGrStaff->getLineSpace();
  float top = 0;
  float bottom = mGrStaff->getDredgeSize();
  if (mGrStaff->getNumlines() <= 1) top = -space, bottom = space;
  float const x = mPosition.x + getOffset().x + getReferencePosition().x * size;
  float const thin = kThinLine * size;
  VGColor const colour = getColRef() ? VGColor(getColRef()) : VGColor(0, 0, 0, 255);
  device.PushFillColor(colour);
  device.PushPen(colour, 1);
  device.Rectangle(x, mPosition.y + top, x + thin, mPosition.y + bottom);
  if (mSymbol == kFinishGlyph)
    device.Rectangle(x + kThickLineStart * size, mPosition.y + top, x + kThickLineEnd * size,
                     mPosition.y + bottom);
  device.PopPen();
  device.PopFillColor();
}

void GRBar::NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const {
  ReportBarLine(device, map, *this);
}

void GRBar::ReportBarLine(VGDevice& device, VScoreSymbolMap& map,
                          GRNotationElement const& element) {
  NVPoint const& position = element.getPosition();
  ScoreElementDesc desc;
  desc.kind = 3;
  desc.subtype = 0;
  desc.date = static_cast<float>(element.getRelativeTimePosition().getValue());
  desc.duration = static_cast<float>(element.getDuration().getValue());
  desc.left = desc.right = position.x;
  desc.top = position.y;
  desc.bottom = position.y + element.getBoundingBox().bottom;
  map.AddElement(device, desc);
}
