#include "graphic_stream.h"

#include <cmath>
#include <cstdio>

#include "ARMeter.h"
#include "GObject.h"
#include "GRClef.h"
#include "GRGlue.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRNotationElement.h"
#include "GRPage.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "Razid.h"

// What each element writes to the graphic stream. Only what an editor needs to show the page is
// written: pages, staves, clefs, keys, meters and the glyphs of single symbols such as bar lines.

GGSOffsets gGGSOffsets;

namespace {

// Far beyond any page, and within every reader's int.
constexpr float kCoordinateLimit = 1.0e9f;

}  // namespace

void ResetGGSOffsets() {
  gGGSOffsets = GGSOffsets{};
}

GGSOffsetShift::GGSOffsetShift(float dx, float dy) : mSaved(gGGSOffsets) {
  gGGSOffsets.x += dx;
  gGGSOffsets.y += dy;
}

GGSOffsetShift::~GGSOffsetShift() {
  gGGSOffsets = mSaved;
}

void WriteGGS(std::string const& line) {
  AddGGSOutput(line.c_str());
}

std::uintptr_t GGSIdentity(GObject const& element) {
  return reinterpret_cast<std::uintptr_t>(&element);
}

long GGSCoordinate(float value, float offset) {
  float const placed = value + offset;
  if (!std::isfinite(placed)) return 0;
  return static_cast<long>(std::fmax(-kCoordinateLimit, std::fmin(kCoordinateLimit, placed)));
}

void WriteGGSImage(char const* name, GObject const& element, float x, float y) {
  char line[320];
  std::snprintf(line, sizeof line, "\\draw_image<\"%s\",%ju,%ld,%ld>\n", name,
                static_cast<std::uintmax_t>(GGSIdentity(element)), GGSCoordinate(x, gGGSOffsets.x),
                GGSCoordinate(y, gGGSOffsets.y));
  WriteGGS(line);
}

void GRNotationElement::GGSOutput() const {
  if (mSymbol != 0) GGSOutputAt(mSymbol, 0, 0, getSize());
}

void GRNotationElement::GGSOutputAt(unsigned int symbol, long dx, long dy, float) const {
  std::string const name = "glyph_" + std::to_string(symbol);
  WriteGGSImage(name.c_str(), *this, mPosition.x + static_cast<float>(dx),
                mPosition.y + static_cast<float>(dy));
}

void GRClef::GGSOutput() const {
  char const* name = nullptr;
  switch (getSymbol()) {
    case 38:
      name = "treble_clef";
      break;
    case 66:
      name = "alto_clef";
      break;
    case 63:
      name = "bass_clef";
      break;
    default:
      return;
  }
  WriteGGSImage(name, *this, mPosition.x + mBoundingBox.left, mPosition.y + 200);
}

void GRKey::GGSOutput() const {
  if (getError() != 0) return;
  for (void* pos = First(); pos;) GetNext(pos)->GGSOutput();
}

void GRMeter::GGSOutput() const {
  if (mtype != ARMeter::NUMERIC) {
    if (mtype == ARMeter::C) GGSOutputAt(99, 0, 0, getSize());
    if (mtype == ARMeter::C2) GGSOutputAt(67, 0, 0, getSize());
    return;
  }
  float const x = mPosition.x + mBoundingBox.left;
  WriteGGSImage(std::to_string(numerator).c_str(), *this, x, mPosition.y + 50);
  WriteGGSImage(std::to_string(denominator).c_str(), *this, x, mPosition.y + 150);
}

void GRStaff::GGSOutput() const {
  // Only the staves that end a line have an end glue; the others reach as far as their length.
  float const end = mEndGlue ? mEndGlue->getPosition().x : mPosition.x + mLength;
  char line[320];
  std::snprintf(line, sizeof line, "\\draw_staff<%ju,%d,%ld,%ld,%ld>\n",
                static_cast<std::uintmax_t>(GGSIdentity(*this)), getNumlines(),
                GGSCoordinate(mPosition.x, gGGSOffsets.x),
                GGSCoordinate(mPosition.y, gGGSOffsets.y), GGSCoordinate(end, gGGSOffsets.x));
  WriteGGS(line);
  // The elements stand at the system's x and at heights within the staff, as they are drawn.
  GGSOffsetShift const shift(0, mPosition.y);
  for (void* pos = First(); pos;) GetNext(pos)->GGSOutput();
}

void GRSystem::GGSOutput() const {
  GGSOffsetShift const shift(mPosition.x, mPosition.y);
  if (mStaffs && mStaffs->GetCount() > 0) {
    for (int i = mStaffs->GetMinimum(); i <= mStaffs->GetMaximum(); ++i)
      if (GRStaff const* staff = mStaffs->Get(i)) staff->GGSOutput();
  }
  for (void* pos = mSystemSlices.GetHeadPosition(); pos;) {
    GRSystemSlice const* slice = mSystemSlices.GetNext(pos);
    int lowest = 0;
    int highest = -1;
    slice->getStaffRange(lowest, highest);
    for (int i = lowest; i <= highest; ++i)
      if (GRStaff const* staff = slice->getStaff(i)) staff->GGSOutput();
  }
  for (void* pos = First(); pos;) GetNext(pos)->GGSOutput();
}

void GRPage::GGSOutput() const {
  char line[64];
  std::snprintf(line, sizeof line, "\\open_page<%ld,%ld>\n", GGSCoordinate(mWidth, 0),
                GGSCoordinate(mHeight, 0));
  WriteGGS(line);
  for (void* pos = First(); pos;) GetNext(pos)->GGSOutput();
  {
    // Systems stand in the inner area, as they are drawn.
    GGSOffsetShift const shift(mLeft, mTop);
    for (void* pos = mSystems.GetHeadPosition(); pos;) mSystems.GetNext(pos)->GGSOutput();
  }
  ResetGGSOffsets();
  WriteGGS("\\close_page\n");
}
