#include "GRSText.h"

#include <algorithm>

#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NVstring.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "curve_band.h"
#include "curves_on_line.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "line_marks.h"
#include "music_ink.h"
#include "music_top.h"

namespace {
// Between the text and the music it stands over or under, in line spaces.
constexpr float kClearance = 0.5f;
// Between the text and a curve under it, and how far over the music the text rises for the
// curve at most, in line spaces.
constexpr float kCurveClearance = 0.25f;
constexpr float kMostLift = 1.5f;
}  // namespace

GRSText::GRSText(GRStaff* staff, NVstring const& text, int line)
    : GRTag(nullptr, 50), mText(new NVstring(text)), mLine(line) {
  mGrStaff = staff;
  mNeedsSpring = 1;
  float width = 0;
  float height = 0;
  if (gGlobalSettings.gDevice && font())
    font()->GetExtent(mText->c_str(), static_cast<int>(mText->length()), &width, &height,
                      gGlobalSettings.gDevice);
  mBoundingBox.right = width;
  mBoundingBox.top = height;
  mBoundingBox.left -= 12.5f;
  mBoundingBox.bottom = 200;
}

void GRSText::drawNothing() {
  *mText = NVstring("");
  mBoundingBox.right = 0;
  mBoundingBox.top = 0;
}

GRSText::~GRSText() {
  delete mText;
  if (mAssociatedElement && !IsWholeLayoutGoing()) mAssociatedElement->removeAssociation(this);
}

void GRSText::addAssociation(GRNotationElement* element) {
  if (mAssociatedElement || !element) return;
  mAssociatedElement = element;
  element->addAssociation(this);
}

void GRSText::removeAssociation(GRNotationElement* element) {
  // The element goes first: the text must not reach back to it later.
  if (element && element == mAssociatedElement) mAssociatedElement = nullptr;
  GRNotationElement::removeAssociation(element);
}

float GRSText::lineSpace() const {
  return mGrStaff ? mGrStaff->getLineSpace() : 50;
}

VGFont const* GRSText::font() const {
  // The default text font at the size a text has on a staff of this size.
  int const size = static_cast<int>(gFontDefs.text.size * lineSpace() / 50 + 0.5f);
  if (size == gFontDefs.text.size) return gFontDefs.text.font;
  return GRSpecial::FindOrCreateFont(size, &gFontDefs.text.name);
}

bool GRSText::standsUnder() const {
  return mGrStaff && mLine >= mGrStaff->getNumlines() - 1;
}

float GRSText::topUnder() const {
  float lowest = mGrStaff->getDredgeSize();
  GRSystem const* system = mGrStaff->getGRSystem();
  float top = mLine * lineSpace();
  if (GRSystemSlice const* slice = mGrStaff->getGRSystemSlice(); system && slice) {
    int const line = slice->getStaffNumber(mGrStaff);
    lowest = std::max(lowest, system->lowestNoteOnLine(line));
    // And under the slurs and ties passing over its letters, which do not bend for it: a curve
    // under the notes there may reach below them all.
    float const left = mPosition.x + mBoundingBox.left;
    float const right = left + mBoundingBox.right;
    ForEachCurveOnLine(*system, line, [&](GRBowing const* bowing) {
      NVRect piece;
      if (!bowing->pieceBox(system, piece) || piece.right <= left || piece.left >= right) return;
      if (std::optional<CurveBand> const band = bowing->bandOn(system))
        band->forEachSlice(lineSpace() / 2, [&](NVRect const& ink) {
          if (ink.right > left && ink.left < right)
            top = std::max(top, ink.bottom + kCurveClearance * lineSpace());
        });
    });
  }
  return std::max(top, lowest + kClearance * lineSpace());
}

std::optional<float> GRSText::bottomUnder() const {
  // The box's top holds the text's height.
  if (!standsUnder()) return std::nullopt;
  return topUnder() + mBoundingBox.top;
}

float GRSText::footOver() const {
  // The end of an octava writes no letters: it stays by its staff, where it tells the end.
  if (mText->length() == 0) return mLine * lineSpace();
  float const left = mPosition.x + mBoundingBox.left;
  float const right = mPosition.x + mBoundingBox.right;
  // Over the top line and over the music under it, a tuplet's bracket and number included.
  float top = mGrStaff->highestEventTopAlongLine(left, right);
  GRSystem const* system = mGrStaff->getGRSystem();
  GRSystemSlice const* slice = mGrStaff->getGRSystemSlice();
  // And over the notes' own ink there: their articulations, signs, dots and rests stand over
  // the heads the events tell of.
  if (system && slice) {
    int const line = slice->getStaffNumber(mGrStaff);
    top = std::min({top, HighestMusicOver(*system, line, left, right),
                    HighestNotesInkOver(*system, line, left, right)});
  }
  float foot = top - kClearance * lineSpace();
  if (system && slice) {
    // And over a tie or slur its letters would meet there, by so much at most: lifted further,
    // the figure would stand nearer the staff above than its own.
    NVRect const letters{left, foot - mBoundingBox.top, left + mBoundingBox.right, foot};
    float const rise = RiseOverCurves(*system, slice->getStaffNumber(mGrStaff), letters,
                                      kCurveClearance * lineSpace());
    foot = std::max(foot - rise, std::min(foot, top - kMostLift * lineSpace()));
    // The words and ornaments at the notes stand close over them: the figure, which marks the
    // whole stretch, stands over those under it.
    LineMarks const& marks = system->lineMarks(slice->getStaffNumber(mGrStaff));
    foot = std::min(foot, marks.noteWordsTopOver(left, right) - kCurveClearance * lineSpace());
  }
  return std::min(mLine * lineSpace(), foot);
}

std::optional<NVRect> GRSText::inkOver() const {
  if (!mGrStaff || mLine >= 0) return std::nullopt;
  float const foot = footOver();
  // The box's top holds the text's height.
  return NVRect{mPosition.x + mBoundingBox.left, foot - mBoundingBox.top,
                mPosition.x + mBoundingBox.right, foot};
}

std::optional<NVRect> GRSText::boxUnder() const {
  if (!standsUnder()) return std::nullopt;
  float const top = topUnder();
  return NVRect{mPosition.x + mBoundingBox.left, top, mPosition.x + mBoundingBox.right,
                top + mBoundingBox.top};
}

void GRSText::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  float const space = lineSpace();
  float const left = mPosition.x + mBoundingBox.left;
  float y = mLine * space;
  unsigned int align = 20;  // left, the text's top at y
  if (mGrStaff && mLine < 0) {
    align = 18;  // left, the text's foot at y
    y = footOver();
  } else if (standsUnder()) {
    y = topUnder();
  }
  device.SetTextFont(font());
  device.SetFontAlign(align);
  device.DrawString(left, y, mText->c_str(), static_cast<int>(mText->length()));
}
