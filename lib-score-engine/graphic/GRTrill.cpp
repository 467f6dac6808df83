#include "GRTrill.h"

#include "ARTrill.h"
#include "GRStaff.h"
#include "VGDevice.h"

namespace {
constexpr unsigned int kMordentGlyph = 77;
// The mordent's ink stands on its base line and reaches this many spaces over it.
constexpr float kMordentHeight = 1.4f;
}  // namespace

GRTrill::GRTrill(GRStaff* staff, ARTrill* ar) : GRFirstNoteMark(staff, ar) {
  if (ar->getType() == ARTrill::MORD) setSymbol(kMordentGlyph);
}

void GRTrill::drawMark(VGDevice& device, VScoreSymbolMap& map) const {
  if (!isMordent()) return GRFirstNoteMark::drawMark(device, map);
  // Raised over the music under its width, as the words are.
  float const rise = riseHere();
  device.OffsetOrigin(0, rise);
  GRNotationElement::OnDraw(device, map);
  device.OffsetOrigin(0, -rise);
}

char const* GRTrill::words() const {
  switch (static_cast<ARTrill const*>(getAbstractRepresentation())->getType()) {
    case ARTrill::TRILL:
      return "trill";
    case ARTrill::TURN:
      return "turn";
    default:
      return nullptr;
  }
}

bool GRTrill::measureMark(float* width, float* height) const {
  if (!isMordent()) return GRFirstNoteMark::measureMark(width, height);
  *width = GetSymbolExtent(getSymbol()) * getSize();
  *height = kMordentHeight * (mGrStaff ? mGrStaff->getLineSpace() : 50);
  return *width > 0;
}

bool GRTrill::isMordent() const {
  return static_cast<ARTrill const*>(getAbstractRepresentation())->getType() == ARTrill::MORD;
}
