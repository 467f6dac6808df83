#include "GRJump.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "ARCast.h"
#include "ARJump.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRTempo.h"
#include "GRVolta.h"
#include "NVstring.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "line_marks.h"
#include "music_top.h"

std::map<std::string, unsigned int> GRJump::mSymbols;
VGFont const* GRJump::mFont = nullptr;

namespace {
constexpr unsigned int kCodaGlyph = 230;
constexpr unsigned int kSegnoGlyph = 37;
// Between the row and the notes, staff lines or bracket it stands over.
constexpr float kClearance = 25;

// How far the music font's jump glyphs reach above and below their base line, at size 1: they
// are drawn centred on it.
float HalfHeightOf(unsigned int glyph) {
  switch (glyph) {
    case kCodaGlyph:
      return 71;
    case kSegnoGlyph:
      return 75;
    default:
      return 0;
  }
}

// The number of the system's top staff.
int TopStaffNumber(GRSystem const& system) {
  int top = 0, bottom = -1;
  system.getFirstGRSystemSlice()->getStaffRange(top, bottom);
  return top;
}

bool IsSymbolPart(std::pair<std::string, int> const& part) {
  return part.second == 1;
}

void Measure(VGFont const* font, char const* text, VGDevice* device, float* width, float* height) {
  *width = *height = 0;
  if (font && device)
    font->GetExtent(text, static_cast<int>(std::strlen(text)), width, height, device);
}
}  // namespace

void GRJump::ResetClassState() {
  mSymbols.clear();
  mFont = nullptr;
}

unsigned int GRJump::GlyphOf(std::string const& name) {
  auto const found = mSymbols.find(name);
  return found == mSymbols.end() ? 0 : found->second;
}

GRJump::GRJump(ARJump* jump, bool rightJustified)
    : GRTagARNotationElement(jump, 50), mRightJustified(rightJustified) {
  if (mSymbols.empty()) {
    mSymbols = {{"coda", kCodaGlyph}, {"segno", kSegnoGlyph}};
    // The bold italic of the serif face, asked as the other text faces are.
    NVstring const face("Times New Roman");
    NVstring const attributes("bi");
    mFont = GRSpecial::FindOrCreateFont(110, &face, &attributes);
  }
  mNeedsSpring = 1;
  sconst = 100;
  mPosition.y = -100;
  measure();
}

void GRJump::measure() {
  ARJump const* jump = getARJump();
  float const codaWidth = GetSymbolExtent(kCodaGlyph);
  mBoundingBox = NVRect{0, -0.5f * codaWidth, 0, 0.5f * codaWidth};
  if (jump) {
    for (auto const& part : jump->getMark()) {
      if (IsSymbolPart(part)) {
        if (unsigned int glyph = GlyphOf(part.first))
          mBoundingBox.right += GetSymbolExtent(glyph) * getSymbolSize();
      } else {
        float width = 0;
        float height = 0;
        Measure(mFont, part.first.c_str(), gGlobalSettings.gDevice, &width, &height);
        mBoundingBox.right += width + 25;
      }
    }
  }
  float const width = mBoundingBox.right - mBoundingBox.left;
  if (mRightJustified) {
    mBoundingBox.right = mBoundingBox.left;
    mBoundingBox.left -= width;
  } else {
    mBoundingBox.left -= 50;
    mBoundingBox.right -= 50;
  }
  // A mark that ends at its place (at a bar's end) takes its room over the bar, so that the
  // marks of neighbouring bars do not run into each other; one that starts at its place (over a
  // bar's start) lets the notes go on under it.
  mLeftSpace = mRightJustified ? width : 0;
  mRightSpace = mRightJustified ? 0 : mBoundingBox.left - mBoundingBox.right;
}

void GRJump::openLine() {
  if (!mRightJustified) return;
  mRightJustified = false;
  measure();
}

ARJump const* GRJump::getARJump() const {
  return dynamic_cast<ARJump const*>(getAbstractRepresentation());
}

VGFont const* GRJump::SelectTextFont(VGDevice& device) const {
  device.SetTextFont(mFont);
  device.SetFontAlign(17);
  return mFont;
}

void GRJump::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  ARJump const* jump = getARJump();
  if (!jump || jump->getMark().empty()) return;
  float const shift = sideShift(gCurStaff);
  float x = mPosition.x + mBoundingBox.left + shift;
  // The row stands half a space over the top line, or over the notes under it when they reach
  // higher: words on that line and signs with their foot on it. Texts are measured as the mark
  // was, at the page's own scale.
  VGDevice* measuring = gGlobalSettings.gDevice ? gGlobalSettings.gDevice : &device;
  float const base = markBase(gCurStaff, rowHeight(measuring), shift);
  NVPoint const& offset = getOffset();
  for (auto const& part : jump->getMark()) {
    if (IsSymbolPart(part)) {
      unsigned int const glyph = GlyphOf(part.first);
      if (!glyph) continue;
      float const size = getSymbolSize();
      OnDrawSymbol(device, glyph, x - mPosition.x, base - HalfHeightOf(glyph) * size - mPosition.y,
                   size);
      x += GetSymbolExtent(glyph) * size;
    } else {
      VGFont const* font = SelectTextFont(device);
      char const* text = part.first.c_str();
      device.DrawString(offset.x + x, offset.y + base, text, static_cast<int>(part.first.size()));
      float width = 0;
      float textHeight = 0;
      Measure(font, text, measuring, &width, &textHeight);
      x += width + 25;
    }
  }
}

float GRJump::rowHeight(VGDevice* measuring) const {
  float height = 0;
  ARJump const* jump = getARJump();
  if (!jump) return height;
  for (auto const& part : jump->getMark()) {
    if (IsSymbolPart(part)) {
      height = std::max(height, 2 * HalfHeightOf(GlyphOf(part.first)) * getSymbolSize());
    } else {
      float width = 0;
      float textHeight = 0;
      Measure(mFont, part.first.c_str(), measuring, &width, &textHeight);
      height = std::max(height, textHeight);
    }
  }
  return height;
}

float GRJump::topOn(GRStaff const* staff) const {
  ARJump const* jump = getARJump();
  if (!jump || jump->getMark().empty() || !gGlobalSettings.gDevice) return 0;
  float const height = rowHeight(gGlobalSettings.gDevice);
  return markBase(staff, height, sideShift(staff)) - height;
}

float GRJump::sideShift(GRStaff const* staff) const {
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  GRSystemSlice const* slice = staff ? staff->getGRSystemSlice() : nullptr;
  if (!system || !slice) return 0;
  return system->lineMarks(slice->getStaffNumber(staff)).jumpShift(this);
}

float GRJump::tempoMarksTop(GRSystem const& system, float left, float right) {
  float top = std::numeric_limits<float>::infinity();
  for (void* pos = system.First(); pos;) {
    auto const* tempo = ar_cast<GRTempo const>(system.GetNext(pos));
    if (!tempo) continue;
    float const x = tempo->getPosition().x;
    if (x + tempo->getBoundingBox().right > left && x + tempo->getBoundingBox().left < right)
      top = std::min(top, tempo->topIn(system));
  }
  return top;
}

float GRJump::markBase(GRStaff const* staff, float rowHeight, float shift) const {
  if (!staff) return -kClearance;
  float const left = mPosition.x + mBoundingBox.left + shift;
  float const right = mPosition.x + mBoundingBox.right + shift;
  // A note whose head or dot comes within half a space of the row counts as under it, so that
  // words set close after a high note stand over it instead of beside it.
  float const near = staff->getLineSpace() / 2;
  float base = staff->highestEventTopAlongLine(left, right, near) - kClearance;
  // And over the slurs and ties passing under it, and the words of tempo changes and ornaments
  // at its notes.
  GRSystem const* system = staff->getGRSystem();
  if (GRSystemSlice const* slice = staff->getGRSystemSlice(); system && slice) {
    int const number = slice->getStaffNumber(staff);
    LineMarks const& marks = system->lineMarks(number);
    base = std::min({base, marks.curvesTopOver(left, right) - kClearance,
                     marks.noteWordsTopOver(left, right) - kClearance});
    // So do the figures of octavas over the staff, the beams and tuplets' brackets and numbers set
    // over the notes, and whatever ink of the music reaches over its notes' boxes: signs, rests,
    // articulations and ledger lines.
    base = std::min({base, marks.octavaFiguresTopOver(left, right) - kClearance,
                     HighestMusicOver(*system, number, left, right) - kClearance,
                     system->musicInk(number).highestOver(left, right) - kClearance});
    // A tempo mark over the system's top staff at the same place stands under the row.
    if (system->getFirstGRSystemSlice() && number == TopStaffNumber(*system))
      base =
          std::min(base, tempoMarksTop(*system, left, right) - staff->getPosition().y - kClearance);
  }
  // Words under a volta's bracket that would touch its line or hooks stand over its line.
  for (GRVolta const* volta : staff->voltasAlongLine()) {
    NVRect piece;
    if (!volta->pieceOn(system, &piece)) continue;
    if (piece.right + kClearance <= left || piece.left - kClearance >= right) continue;
    if (base - rowHeight >= piece.bottom + kClearance || base + kClearance <= piece.top) continue;
    base = piece.top - kClearance;
  }
  return base;
}
