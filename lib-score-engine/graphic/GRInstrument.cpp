#include "GRInstrument.h"

#include <algorithm>

#include "ARInstrument.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "drawn_text_extent.h"
#include "graphic_globals.h"

namespace {
// Between the name's end and the line's start: the brace of a piano staff reaches about two
// spaces before the line, and a space of air follows it.
constexpr float kGapInSpaces = 3;
}  // namespace

GRInstrument::GRInstrument(ARInstrument* instrument) : GRTagARNotationElement(instrument, 50) {
  mNeedsSpring = 1;
  mBoundingBox = NVRect{0, 0, 100, 150};
}

char const* GRInstrument::name() const {
  char const* text = static_cast<ARInstrument const*>(getAbstractRepresentation())->getName();
  return text && *text ? text : nullptr;
}

float GRInstrument::marginRoom() const {
  float width = 0;
  float height = 0;
  if (!MeasureDrawnText(*this, name(), &width, &height)) return 0;
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  return width + kGapInSpaces * space;
}

bool GRInstrument::standsBefore(GRSystem const* system) const {
  if (!system || getRelativeTimePosition() != system->getRelativeTimePosition()) return false;
  float const room = marginRoom();
  return room > 0 && system->getXOffset() >= room;
}

void GRInstrument::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  char const* text = name();
  if (!text) return;
  if (!standsBefore(gCurSystem)) {
    OnDrawText(device, text, -1);
    return;
  }
  float width = 0;
  float height = 0;
  MeasureDrawnText(*this, text, &width, &height);
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  int const lines = mGrStaff ? mGrStaff->getNumlines() : 5;
  // Ending the gap before the line's start, its middle on the staff's middle line: the base
  // line stands a third of the text's height under that.
  float const left = -kGapInSpaces * space - width;
  float const base = space * static_cast<float>(std::max(lines - 1, 0)) / 2 + height / 3;
  NVPoint const& offset = getOffset();
  float const dx = left - (mPosition.x + offset.x);
  float const dy = base - (mPosition.y + offset.y);
  device.OffsetOrigin(dx, dy);
  OnDrawText(device, text, -1);
  device.OffsetOrigin(-dx, -dy);
}

float InstrumentNamesRoom(GRSystemSlice const& slice) {
  float room = 0;
  int lowest = 0;
  int highest = -1;
  slice.getStaffRange(lowest, highest);
  for (int number = lowest; number <= highest; ++number) {
    GRStaff const* staff = slice.getStaff(number);
    if (!staff) continue;
    NEPointerList const& elements = staff->getElements();
    for (void* at = elements.GetHeadPosition(); at;) {
      auto const* name = dynamic_cast<GRInstrument const*>(elements.GetNext(at));
      if (name && name->getRelativeTimePosition() == slice.getRelativeTimePosition())
        room = std::max(room, name->marginRoom());
    }
  }
  return room;
}
