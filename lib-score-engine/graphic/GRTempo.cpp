#include "GRTempo.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "ARCast.h"
#include "ARMTParameter.h"
#include "ARTempo.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRVolta.h"
#include "NVstring.h"
#include "TagParameterFloat.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "line_marks.h"
#include "music_ink.h"
#include "music_top.h"
#include "src/common/assertion.h"

VGFont const* GRTempo::mFont = nullptr;

namespace {
constexpr unsigned int kFilledHead = 88;
constexpr unsigned int kHalfHead = 69;
constexpr unsigned int kWholeHead = 119;
constexpr unsigned int kStemStart = 219;
constexpr unsigned int kStemPiece = 151;
constexpr unsigned int kDot = 46;
constexpr float kNoteScale = 0.65f;
// The words' descenders reach about a quarter of the font's 90 units below their base line, and
// half a line space stays free between them and the music.
constexpr float kDescent = 22.5f;
constexpr float kClearance = 25;
// How far over their base line the words reach, with room for tall letters, the small notes'
// stems, and the flags, which rise above the stems they hang from.
constexpr float kLetterReach = 100;
constexpr float kNoteReach = 125;
constexpr float kFlaggedNoteReach = 160;

bool IsSymbolPart(std::pair<std::string, int> const& part) {
  return part.second == 1;
}

bool IsAnyOf(Fraction const& value, std::initializer_list<Fraction> values) {
  for (Fraction const& candidate : values)
    if (value == candidate) return true;
  return false;
}

unsigned int FlagOf(Fraction const& v) {
  if (IsAnyOf(v, {Fraction(1, 8), Fraction(3, 16), Fraction(7, 32)})) return 106;
  if (IsAnyOf(v, {Fraction(1, 16), Fraction(3, 32), Fraction(7, 64)})) return 107;
  if (v == Fraction(1, 32)) return 221;
  if (v == Fraction(1, 64)) return 115;
  return 0;
}

float TextWidth(VGFont const* font, char const* text, VGDevice* device) {
  if (!font || !device) return 0;
  float width = 0;
  float height = 0;
  font->GetExtent(text, static_cast<int>(std::strlen(text)), &width, &height, device);
  return width;
}
}  // namespace

GRTempo::GRTempo(GRStaff*, ARTempo* tempo) : GRTagARNotationElement(tempo, 50) {
  MELVARIN_ASSERT(tempo);
  NVstring const face("Times New Roman");
  NVstring const noAttributes("");
  mFont = GRSpecial::FindOrCreateFont(90, &face, &noAttributes);
  tagType = SYSTEMTAG;
  mPosition.y -= 100;
  mBoundingBox = NVRect{0, -100, 0, 0};
  for (auto const& part : tempo->getTempoMark()) {
    if (IsSymbolPart(part)) {
      Fraction const value = getDuration(part.first.c_str());
      mBoundingBox.right += GetSymbolExtent(kFilledHead);
      if (value.getNumerator() == 3) mBoundingBox.right += 50;
    } else {
      mBoundingBox.right += TextWidth(mFont, part.first.c_str(), gGlobalSettings.gDevice);
    }
  }
}

Fraction GRTempo::getDuration(char const* text) const {
  int numerator = 0;
  int denominator = 0;
  // A part such as "1/0" is no note value: a fraction over nothing cannot even be made.
  if (std::sscanf(text, "%d/%d", &numerator, &denominator) != 2 || denominator <= 0)
    return Fraction(0, 1);
  Fraction value(numerator, denominator);
  value.normalize();
  return value;
}

void GRTempo::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  auto const* tempo = static_cast<ARTempo const*>(getAbstractRepresentation());
  if (tempo->getTempoMark().empty()) return;
  float x = getOffset().x;
  float const dy = shiftIn(gCurSystem);
  for (auto const& part : tempo->getTempoMark()) {
    float width = 0;
    if (IsSymbolPart(part))
      width = DrawNote(device, getDuration(part.first.c_str()), x, dy);
    else
      DrawText(device, part.first.c_str(), x, dy, &width);
    x += width;
  }
}

float GRTempo::shiftIn(GRSystem const* system) const {
  auto const* tempo = static_cast<ARTempo const*>(getAbstractRepresentation());
  if (ARMTParameter::IsSet(tempo->getDY())) return -tempo->getDY()->getValue(50);
  return liftOverMusic(system);
}

float GRTempo::topIn(GRSystem const& system) const {
  auto const* tempo = static_cast<ARTempo const*>(getAbstractRepresentation());
  float reach = kLetterReach;
  for (auto const& part : tempo->getTempoMark())
    if (IsSymbolPart(part))
      reach =
          std::max(reach, FlagOf(getDuration(part.first.c_str())) ? kFlaggedNoteReach : kNoteReach);
  return mPosition.y + shiftIn(&system) - reach;
}

float GRTempo::liftOverMusic(GRSystem const* system) const {
  GRSystemSlice const* first = system ? system->getFirstGRSystemSlice() : nullptr;
  if (!first) return 0;
  int top = 0, bottom = -1;
  first->getStaffRange(top, bottom);
  GRStaff const* staff = top <= bottom ? first->getStaff(top) : nullptr;
  if (!staff) return 0;
  float const left = mPosition.x + mBoundingBox.left;
  float const right = mPosition.x + mBoundingBox.right;
  // Over the clef too, and over all the ink of the music: rests moved out of another voice's way,
  // slurs, articulations and an octava's figure.
  float const highest = std::min(HighestMusicOver(*system, top, left, right),
                                 system->musicInk(top).highestOver(left, right));
  // And over the words of tempo changes and ornaments at the notes under it.
  float const words = system->lineMarks(top).noteWordsTopOver(left, right);
  float reach = staff->getPosition().y + std::min(highest, words);
  // And over the bracket and number of a volta there.
  for (GRVolta const* volta : staff->voltasAlongLine()) {
    NVRect piece;
    if (volta->pieceOn(system, &piece) && piece.left < right && left < piece.right)
      reach = std::min(reach, staff->getPosition().y + piece.top);
  }
  // Tempo marks written at one place stand one over the other, in the order written.
  for (void* pos = system->First(); pos;) {
    GRNotationElement const* element = system->GetNext(pos);
    if (element == this) break;
    auto const* before = ar_cast<GRTempo const>(element);
    if (before && before->mPosition.x + before->mBoundingBox.left < right &&
        left < before->mPosition.x + before->mBoundingBox.right)
      reach = std::min(reach, before->topIn(*system));
  }
  return std::min(0.0f, reach - kClearance - kDescent - mPosition.y);
}

void GRTempo::DrawText(VGDevice& device, char const* text, float x, float y, float* width) const {
  device.SetTextFont(mFont);
  device.SetFontAlign(getTextAlign());
  device.DrawString(mPosition.x + x, mPosition.y + y, text, static_cast<int>(std::strlen(text)));
  // Measured as the mark was when it was made, at the page's own scale: the drawing device
  // gives its widths in its own pixels, and the parts are placed in the page's units.
  VGDevice* measuring = gGlobalSettings.gDevice ? gGlobalSettings.gDevice : &device;
  if (width) *width = TextWidth(device.GetTextFont(), text, measuring);
}

float GRTempo::DrawNote(VGDevice& device, Fraction const& value, float x, float y) const {
  unsigned int head = kFilledHead;
  if (value >= Fraction(1, 1))
    head = kWholeHead;
  else if (IsAnyOf(value, {Fraction(1, 2), Fraction(3, 4), Fraction(7, 8)}))
    head = kHalfHead;
  unsigned int const flag = FlagOf(value);

  // The device's scale multiplies: the note is drawn inside a saved state, which puts the scale
  // back exactly as it was, whatever it was.
  device.BeginDraw();
  device.SetScale(kNoteScale, kNoteScale);
  device.SetMusicFont(gFontDefs.music.font);
  // The note's glyphs stand on their base line, whatever the mark drawn before left the device
  // aligning to: a mark that opens with its note would otherwise hang it from the top of its
  // glyphs, down into the staff.
  device.SetFontAlign(VGDevice::kAlignLeft | VGDevice::kAlignBase);
  float const headWidth = GetSymbolExtent(head);
  float const X = (x + mPosition.x) / kNoteScale;
  float const Y = (headWidth / -2.5f + y + mPosition.y) / kNoteScale;
  device.DrawMusicSymbol(X, Y, head);
  if (head != kWholeHead) {
    device.DrawMusicSymbol(X, Y, kStemStart);
    for (float rise : {25.0f, 50.0f, 75.0f, 100.0f, 100.0f})
      device.DrawMusicSymbol(X, Y - rise, kStemPiece);
  }
  if (flag) device.DrawMusicSymbol(X, Y - 200, flag);
  float width = kNoteScale * headWidth;
  if (value.getNumerator() == 3) {
    // The dot's glyph starts where its head ends, as a dotted note's does, and what follows the
    // note starts after the dot: placed further on, the dot ran into the words.
    device.DrawMusicSymbol(X + headWidth, Y, kDot);
    width += kNoteScale * GetSymbolExtent(kDot);
  }
  device.EndDraw();
  return width;
}
