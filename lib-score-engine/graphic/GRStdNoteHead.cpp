#include "GRStdNoteHead.h"

#include <cstring>

#include "GREvent.h"

namespace {
bool StyleIs(NVstring const& style, char const* name) {
  return std::strcmp(style.c_str(), name) == 0;
}
}  // namespace

GRStdNoteHead::GRStdNoteHead(GREvent* event, Fraction const& duration) {
  mSize = event->getSize();
  mColor.set(event->getColRef());
  mOffset = event->getOffset();
  mStyle = event->getStyle();
  mSymbol = SymbolForStyle(duration);
  if (StyleIs(mStyle, "noHeads")) {
    // The head keeps its room but shows nothing: fully transparent.
    mColor.make()[3] = 0;
  }
  float half = 0;
  if (mSymbol != 0) {
    half = GObject::GetSymbolExtent(mSymbol) * 0.5f;
    mBoundingBox.Set(-1.05f * half, -25, 1.1f * half, 25);
  }
  mLeftSpace = getSize() * half;
  mRightSpace = getSize() * half;
  // Diamond heads sit 2 units right of centre.
  mRefpos = NVPoint{(mSymbol == 79 || mSymbol == 81 ? 2 : 0) - half, 0};
}

unsigned int GRStdNoteHead::durationToHeadSymbol(Fraction const& duration) const {
  double const d = duration.getValue();
  if (d < 0.5) return 88;
  if (d < 1) return 69;
  if (d < 2) return 119;
  if (d == 2) return 87;
  return 88;
}

unsigned int GRStdNoteHead::SymbolForStyle(Fraction const& duration) const {
  bool const shortNote = duration.getValue() < 0.5;
  if (mStyle.c_str()[0] == '\0' || StyleIs(mStyle, "standard") || StyleIs(mStyle, "noHeads"))
    return durationToHeadSymbol(duration);
  if (StyleIs(mStyle, "diamond")) return shortNote ? 81 : 79;
  if (StyleIs(mStyle, "x")) return 191;
  if (StyleIs(mStyle, "square")) return shortNote ? 88 : 69;
  for (char const* bracketed : {"()", "[]", "<>", "(S)", "[S]", "<S>"})
    if (StyleIs(mStyle, bracketed)) return durationToHeadSymbol(duration);
  return 0;
}

NVPoint const& GRStdNoteHead::getReferencePosition() const {
  switch (mSymbol) {
    case 69:
    case 119:
    case 87:
    case 88:
    case 79:
    case 81:
    case 191:
      return mRefpos;
    default:
      return sRefposNone;
  }
}

void GRStdNoteHead::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (mSymbol != 0) GRNotationElement::OnDraw(device, map);
}
