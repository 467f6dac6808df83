#include "GRText.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ARCast.h"
#include "ARFingering.h"
#include "ARText.h"
#include "GREvent.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "GRSystemStartEndStruct.h"
#include "NVstring.h"
#include "TagParameterFloat.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "music_top.h"
#include "src/common/assertion.h"

namespace {
// A parameter the writer gave, or null.
TagParameterFloat const* Written(TagParameterFloat const* parameter) {
  return parameter && parameter->mState != TagParameter::NOTSET ? parameter : nullptr;
}

float LineSpaceOf(GRStaff const* staff) {
  return staff ? staff->getLineSpace() : 50;
}

// How far under the staff a text of its kind hangs unless placed: its tag's own dy (half a space
// for a text, a space for a fingering), also where a written one took its place.
float OwnDrop(ARText const& text, TagParameterFloat const* written, float lineSpace) {
  if (TagParameterFloat const* own = text.getDY(); own && own != written)
    return -own->getValue(lineSpace);
  char const* const format = text.getTagFormat();
  char const* const dy = format ? std::strstr(format, ";U,dy,") : nullptr;
  return dy ? -static_cast<float>(std::atof(dy + 6)) * lineSpace / 2 : 0;
}

void SetText(NVstring*& text, char const* value) {
  if (text)
    *text = value;
  else
    text = new NVstring(value);
}
}  // namespace

GRText::GRTextSaveStruct::~GRTextSaveStruct() {
  delete text;
}

unsigned int GRText::AlignmentOf(char const* format) {
  if (!format || std::strlen(format) != 2) return 16 | 4;
  unsigned int horizontal = 16;
  if (format[0] == 'c') horizontal = 8;
  if (format[0] == 'r') horizontal = 32;
  unsigned int vertical = 4;
  if (format[1] == 'c') vertical = 1;
  if (format[1] == 'b') vertical = 2;
  return horizontal | vertical;
}

GRText::GRText(GRStaff* staff, ARText* text) : GRPTagARNotationElement(text) {
  MELVARIN_ASSERT(text);
  mGrStaff = staff;
  addFirstStartEnd(staff);
  float const lineSpace = LineSpaceOf(staff);
  fontSize = text->getFSize(lineSpace);
  if (fontSize == 0) fontSize = 75;
  if (text->getFont()) font = new NVstring(text->getFont());
  if (text->getFAttrib()) fontAttrib = new NVstring(text->getFAttrib());
  mTextAlign = AlignmentOf(text->getTextformat());

  GRTextSaveStruct* piece = firstPiece();
  char const* value = text->getText() ? text->getText() : "";
  SetText(piece->text, value);
  measure(piece);
  VGFont const* measuring = textFont();
  if (gGlobalSettings.gDevice && measuring)
    measuring->GetExtent(" ", 1, &mWordSpace, &mLineHeight, gGlobalSettings.gDevice);
}

VGFont const* GRText::textFont() const {
  if (font && font->length() > 0) return GRSpecial::FindOrCreateFont(fontSize, font, fontAttrib);
  return gFontDefs.text.font;
}

void GRText::measure(GRTextSaveStruct* piece) const {
  VGFont const* measuring = textFont();
  float width = 0;
  float height = 0;
  if (gGlobalSettings.gDevice && measuring && piece->text)
    measuring->GetExtent(piece->text->c_str(), static_cast<int>(piece->text->length()), &width,
                         &height, gGlobalSettings.gDevice);
  piece->boundingBox = NVRect{0, height, width, 200};
}

ARText const* GRText::getARText() const {
  return static_cast<ARText const*>(getAbstractRepresentation());
}

GRText::GRTextSaveStruct* GRText::pieceOf(GRSystem const* system) const {
  GRSystemStartEndStruct* sse = getSystemStartEndStruct(system);
  return sse ? static_cast<GRTextSaveStruct*>(sse->p) : nullptr;
}

GRText::GRTextSaveStruct* GRText::firstPiece() const {
  void* pos = mStartEndList.GetHeadPosition();
  return pos ? static_cast<GRTextSaveStruct*>(mStartEndList.GetNext(pos)->p) : nullptr;
}

void GRText::setPosition(NVPoint const& point) {
  GRNotationElement::setPosition(point);
  if (GRTextSaveStruct* piece = pieceOf(mGrStaff ? mGrStaff->getGRSystem() : nullptr))
    piece->position = point;
}

void GRText::setHPosition(float x) {
  GRNotationElement::setHPosition(x);
  if (GRTextSaveStruct* piece = pieceOf(mGrStaff ? mGrStaff->getGRSystem() : nullptr))
    piece->position.x = x;
}

void GRText::tellPosition(GObject* caller, NVPoint const& point) {
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  if (!element || !element->getGRStaff()) return;
  GRSystemStartEndStruct* sse = getSystemStartEndStruct(element->getGRStaff()->getGRSystem());
  if (!sse) return;
  auto* piece = static_cast<GRTextSaveStruct*>(sse->p);
  GRNotationElement* start = sse->startElement;
  // A piece that begins here starts at the first element it spans.
  if (!start && sse->startflag == GRSystemStartEndStruct::BEGINS_HERE && mAssociated &&
      mAssociated->GetCount() > 0)
    start = mAssociated->GetHead();
  if (sse->startflag == GRSystemStartEndStruct::CONTINUES_FROM_LAST) {
    // The piece shows a hyphen before the first element the range has on this line; a range
    // without words has nothing to go on with. Only the piece's ends tell it where they stand
    // (the line's glue first, then its last element), so the hyphen follows that first element
    // at every notice.
    char const* words = getARText()->getText();
    if (!words || !*words) return;
    GRNotationElement const* first =
        sse->startpos && mAssociated ? mAssociated->GetAt(sse->startpos) : nullptr;
    // The hyphen takes its own room, so that the texts under it keep clear of it.
    if (first) {
      piece->position = NVPoint{first->getPosition().x - 25, first->getPosition().y};
      SetText(piece->text, "-");
      measure(piece);
    } else if (element != start && !piece->text) {
      piece->position = NVPoint{point.x - 25, point.y};
      SetText(piece->text, "-");
      measure(piece);
    }
  } else if (element == start) {
    piece->position = NVPoint{point.x, element->getPosition().y};
    SetText(piece->text, getARText()->getText() ? getARText()->getText() : "");
  }
}

void GRText::RangeEnd(GRStaff* staff) {
  GRPTagARNotationElement::RangeEnd(staff);
  GRTextSaveStruct const* piece = firstPiece();
  if (!piece || !mAssociated || mAssociated->GetCount() != 1) return;
  auto* event = dynamic_cast<GREvent*>(mAssociated->GetHead());
  if (!event) return;
  // The text's reach from the event's x by its alignment, and a word space to the text of the
  // next event (on the side a text ending at its event reaches), so that syllables read apart.
  float const width = piece->boundingBox.right - piece->boundingBox.left;
  float const gap = mWordSpace;
  float left = -piece->boundingBox.left;
  float right = piece->boundingBox.right + gap;
  if (mTextAlign & 8) left = width / 2, right = width / 2 + gap;
  if (mTextAlign & 32) left = width + gap, right = 0;
  event->reserveSpace(left, right);
}

namespace {
// The lowest point of the notes written on the staff's line (the staves of the same number in
// the slices of its system), in the staff's coordinates.
float LowestNote(GRStaff const* staff) {
  float const lowest = staff->getDredgeSize();
  GRSystem const* system = staff->getGRSystem();
  GRSystemSlice const* own = staff->getGRSystemSlice();
  if (!system || !own) return lowest;
  return std::max(lowest, system->lowestNoteOnLine(own->getStaffNumber(staff)));
}
}  // namespace

float GRText::getLeftSpace() const {
  GRTextSaveStruct const* piece = firstPiece();
  return piece ? -piece->boundingBox.left : 0;
}

float GRText::getRightSpace() const {
  // A text standing in a spring of its own stands at the event after it and reaches on under
  // the events that follow, below the staff: its letters keep no room from them, which at a
  // line's start would leave the line's notes the room after it only.
  if (getNeedsSpring()) return 0;
  GRTextSaveStruct const* piece = firstPiece();
  return piece ? piece->boundingBox.right : 0;
}

bool GRText::meetsMusic(GRSystem const* system, GRStaff const* staff, NotesReach const* notes,
                        float left, float right, float top, float bottom) {
  if (!staff) return false;
  float highest = 0;
  float lowest = staff->getDredgeSize();
  if (notes) {
    highest = std::min(highest, notes->top);
    lowest = std::max(lowest, notes->bottom);
  } else if (GRSystemSlice const* slice = staff->getGRSystemSlice(); system && slice) {
    int const line = slice->getStaffNumber(staff);
    highest = std::min(highest, HighestMusicOver(*system, line, left, right));
    lowest = std::max(lowest, LowestMusicOver(*system, line, left, right));
  }
  return top < lowest && highest < bottom;
}

bool GRText::placementOn(GRSystem const* system, GRStaff const* staff, Placement* placement,
                         NotesReach const* notes) const {
  GRTextSaveStruct const* piece = pieceOf(system);
  if (!piece || !piece->text) return false;
  float const lineSpace = LineSpaceOf(staff);
  float x = piece->position.x;
  ARText const* text = getARText();
  if (TagParameterFloat const* dx = Written(text->getDX())) x += dx->getValue(lineSpace);
  float const width = piece->boundingBox.right - piece->boundingBox.left;
  float const height = piece->boundingBox.top;
  placement->x = x;
  placement->left = x + piece->boundingBox.left;
  if (mTextAlign & 8) placement->left -= width / 2;
  if (mTextAlign & 32) placement->left -= width;
  placement->right = placement->left + width;
  // A text that would reach past the end of its line, and so past the page's margin or edge,
  // ends with the line instead, as far as the line's start allows: its words are read whole.
  // A system not yet laid out (of no width) has no end to keep to.
  if (system && system->getBoundingBox().right > 0) {
    float const over = placement->right - system->getBoundingBox().right;
    if (float const shift = std::min(over, placement->left); shift > 0) {
      placement->x -= shift;
      placement->left -= shift;
      placement->right -= shift;
    }
  }
  // From its top, from its bottom, or on its base line with most of its letters above it.
  placement->top = (mTextAlign & 4) ? 0 : (mTextAlign & 2) ? -height : -0.75f * height;
  placement->height = height;

  float const staffHeight = staff ? staff->getDredgeSize() : 0;
  TagParameterFloat const* ypos = Written(text->getYPos());
  TagParameterFloat const* dy = Written(text->getDY());
  float y = staffHeight;
  if (ypos) y -= ypos->getValue(lineSpace);
  if (dy) y += -dy->getValue(lineSpace);
  bool placed = ypos || dy;
  // Words written on the staff or among its notes would be read through them: they hang under
  // the notes as if not placed. A verse stays where it is written: the verses over it make room.
  if (placed && !text->isCutFromLyrics() &&
      meetsMusic(system, staff, notes, placement->left, placement->right, y + placement->top,
                 y + placement->top + height))
    placed = false;
  if (!placed) {
    // The text's own height under the staff (half a space for a text, a space for a
    // fingering), or under the lowest note of the line where that reaches lower.
    y = staffHeight + OwnDrop(*text, dy, lineSpace);
    if (float const lowest = notes   ? notes->bottom
                             : staff ? LowestNote(staff)
                                     : 0;
        staff && lowest > staffHeight)
      y = std::max(y, lowest + 0.3f * lineSpace);
  }
  // Each further verse of lyrics reads a line lower.
  if (text->isCutFromLyrics())
    y += static_cast<float>(text->getVerse()) * (mLineHeight > 0 ? mLineHeight : fontSize);

  placement->y = y;
  placement->placed = placed;
  placement->rank = text->isCutFromLyrics() ? 2 : ar_cast<ARFingering const>(text) ? 1 : 0;
  placement->verse = text->getVerse();
  placement->row = text->getLyrics();
  GRNotationElement const* event =
      mAssociated && mAssociated->GetCount() > 0 ? mAssociated->GetHead() : nullptr;
  placement->noteY = event ? event->getPosition().y : 0;
  placement->event = event;
  return true;
}

void GRText::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  GRTextSaveStruct const* piece = pieceOf(gCurSystem);
  Placement placement;
  if (!placementOn(gCurSystem, gCurStaff, &placement)) return;
  float y = placement.y;
  GRSystem const* system = gCurStaff ? gCurStaff->getGRSystem() : nullptr;
  GRSystemSlice const* slice = gCurStaff ? gCurStaff->getGRSystemSlice() : nullptr;
  if (system && slice) system->lineMarks(slice->getStaffNumber(gCurStaff)).textY(this, &y);

  device.SetTextFont(textFont());
  VGColor const saved = device.GetFontColor();
  if (colRef) device.SetFontColor(VGColor(colRef));
  device.SetFontAlign(mTextAlign);
  device.DrawString(placement.x + piece->boundingBox.left, y, piece->text->c_str(),
                    static_cast<int>(piece->text->length()));
  if (colRef) device.SetFontColor(saved);
}
