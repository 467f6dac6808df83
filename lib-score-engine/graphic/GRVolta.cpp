#include "GRVolta.h"

#include <algorithm>

#include "ARVolta.h"
#include "GRBar.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRNote.h"
#include "GRRest.h"
#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "VGDevice.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "engine_work.h"
#include "graphic_globals.h"
#include "line_marks.h"

namespace {

constexpr float kHookEnd = 25;  // hooks stop this far above the bracket's bottom
constexpr float kGap = 12.5f;   // between the bracket's end and the next element
// The number stands this far right of the bracket's start, its base line this far above the
// bracket's bottom.
constexpr float kTextInset = 25;
constexpr float kCurveAir = 12.5f;  // between a slur or tie and the line or number over it

NVRect PageBox(GRNotationElement const* element) {
  NVRect box = element->getBoundingBox();
  NVPoint const& at = element->getPosition();
  return NVRect{box.left + at.x, box.top + at.y, box.right + at.x, box.bottom + at.y};
}

bool IsNoteOrRest(GRNotationElement const* element) {
  return dynamic_cast<GRNote const*>(element) || dynamic_cast<GRRest const*>(element);
}

// The last answer of GRVolta::NoteOrRestBefore, for the list as it was then.
struct NoteOrRestAnswer {
  NEPointerList const* list = nullptr;
  GRNotationElement const* element = nullptr;
  unsigned version = 0;
  int count = 0;
  bool noteOrRest = false;
};
thread_local NoteOrRestAnswer sLastAnswer;

}  // namespace

GRVolta::GRVolta(GRStaff* staff, ARVolta* ar) : GRPTagARNotationElement(ar) {
  setGRStaff(staff);
  addFirstStartEnd(staff);
  std::string const& format = ar->getFormat();
  if (format == "|-") {
    shape = LEFT_HOOK;
  } else if (format == "-|") {
    shape = RIGHT_HOOK;
  } else if (format == "-") {
    shape = NO_HOOKS;
  }
  mark = ar->getMark();
}

GRVolta::~GRVolta() {
  // The answer may be about a staff of this volta's layout, which goes with it.
  ForgetNoteOrRestAnswer();
  for (auto it = mPrevious.begin(); it != mPrevious.end();) {
    if (it->second == this) {
      it = mPrevious.erase(it);
    } else {
      ++it;
    }
  }
}

GRVolta* GRVolta::getPrevious(int staffNumber) {
  auto it = mPrevious.find(staffNumber);
  return it == mPrevious.end() ? nullptr : it->second;
}

void GRVolta::ForgetNoteOrRestAnswer() {
  sLastAnswer = NoteOrRestAnswer{};
}

bool GRVolta::NoteOrRestBefore(NEPointerList& list, GRNotationElement* element) {
  NoteOrRestAnswer& last = sLastAnswer;
  if (last.list == &list && last.element == element && last.version == list.GetVersion() &&
      last.count == list.GetCount())
    return last.noteOrRest;
  bool found = false;
  void* pos = list.GetElementPos(element);
  if (pos) list.GetPrev(pos);
  while (pos && !found) {
    found = IsNoteOrRest(list.GetPrev(pos));
    // Two casts a step: more than a step through a list, as the work limit counts.
    EngineWork::tListSteps += 2;
  }
  last = NoteOrRestAnswer{&list, element, list.GetVersion(), list.GetCount(), found};
  return found;
}

GRNotationElement* GRVolta::getBegElt(GRNotationElement* element) const {
  GRStaff* staff = element->getGRStaff();
  if (NoteOrRestBefore(staff->getElements(), element)) return nullptr;
  GRStaff* previous = staff->getPreviousStaff();
  if (!previous || previous->getElements().GetCount() == 0) return nullptr;
  return previous->getElements().GetTail();
}

GRNotationElement* GRVolta::getEndElt(GRNotationElement* element) const {
  NEPointerList& list = element->getGRStaff()->getElements();
  void* pos = list.GetElementPos(element);
  if (pos) list.GetNext(pos);
  while (pos) {
    GRNotationElement* next = list.GetNext(pos);
    EngineWork::tListSteps += 2;
    if (next != element && (dynamic_cast<GRBar*>(next) || IsNoteOrRest(next))) return next;
  }
  return nullptr;
}

void GRVolta::tellPosition(GObject* caller, NVPoint const&) {
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  NEPointerList* list = getAssociations();
  if (!element || !element->getGRStaff() || !list || list->GetCount() == 0) return;
  // Elements tell where they stand with the line they are placed on; a line the volta has gone
  // on from keeps its piece.
  GRSystem const* elementSystem = element->getGRStaff()->getGRSystem();
  if (!elementSystem) return;
  for (Piece const& piece : mEarlierPieces)
    if (piece.system == elementSystem) return;
  bool atBreak = false;
  if (system && system != elementSystem) {
    clearElementsOfPiece();
    mEarlierPieces.push_back(Piece{system, mBoundingBox, mPosition});
    atBreak = true;
  }
  if (atBreak || element == list->GetHead()) {
    system = elementSystem;
    mBoundingBox = NVRect{0, -100, 0, 0};
    mPosition = NVPoint{element->getPosition().x + element->getBoundingBox().left, getOffset().y};
    if (!broken() && !begElt) begElt = getBegElt(element);
  }
  // A volta over one element starts and ends with it.
  if (element != list->GetTail()) return;
  clearElementsOfPiece();
  levelPieces();
  endElt = getEndElt(element);
}

void GRVolta::clearElementsOfPiece() {
  NEPointerList* list = getAssociations();
  bool const ownHeight = getOffset().y == 0;
  for (void* pos = list->GetHeadPosition(); pos;) {
    GRNotationElement* e = list->GetNext(pos);
    if (!e->getGRStaff() || e->getGRStaff()->getGRSystem() != system) continue;
    NVRect const box = PageBox(e);
    mBoundingBox.right = box.right - e->getGRStaff()->getPosition().x - mPosition.x;
    if (!ownHeight) continue;
    mPosition.y = std::min(mPosition.y, box.top);
    if (auto* event = dynamic_cast<GREvent*>(e))
      if (GRGlobalStem* stem = event->getGlobalStem())
        mPosition.y = std::min(mPosition.y, PageBox(stem).top);
  }
}

void GRVolta::levelPieces() {
  float y = mPosition.y;
  for (Piece const& piece : mEarlierPieces) y = std::min(y, piece.position.y);
  mPosition.y = y;
  for (Piece& piece : mEarlierPieces) piece.position.y = y;
}

bool GRVolta::placedPiece(GRSystem const* on, NVRect* box, size_t* index) const {
  if (!on || !system) return false;
  NVRect pieceBox = mBoundingBox;
  NVPoint at = mPosition;
  *index = mEarlierPieces.size();
  for (size_t i = 0; i < mEarlierPieces.size(); ++i) {
    Piece const& piece = mEarlierPieces[i];
    if (piece.system != on) continue;
    // A piece that goes on on the next line runs to the end of its own.
    pieceBox = piece.box;
    at = piece.position;
    pieceBox.right = on->getBoundingBox().right - at.x;
    *index = i;
  }
  if (*index == mEarlierPieces.size() && on != system) return false;
  *box = NVRect{pieceBox.left + at.x, pieceBox.top + at.y, pieceBox.right + at.x,
                pieceBox.bottom + at.y};
  float const lift = liftOverMarksUnder(on, *box, *index == 0);
  box->top -= lift;
  box->bottom -= lift;
  return true;
}

float GRVolta::liftOverMarksUnder(GRSystem const* on, NVRect const& box, bool withText) const {
  GRSystemSlice const* slice = mGrStaff ? mGrStaff->getGRSystemSlice() : nullptr;
  if (!slice) return 0;
  LineMarks const& marks = on->lineMarks(slice->getStaffNumber(mGrStaff));
  // The words and ornaments at the notes and the octava figures stand close over the music as
  // well: the bracket, which marks the whole ending, stands over them.
  auto topUnder = [&marks](float left, float right) {
    return std::min({marks.curvesTopOver(left, right), marks.noteWordsTopOver(left, right),
                     marks.octavaFiguresTopOver(left, right)});
  };
  float lift = std::max(0.0f, box.top + kCurveAir - topUnder(box.left, box.right));
  VGFont const* font = gFontDefs.text.font;
  VGDevice* device = gGlobalSettings.gDevice;
  if (withText && font && device && !mark.empty()) {
    float width = 0, height = 0;
    font->GetExtent(mark.c_str(), static_cast<int>(mark.size()), &width, &height, device);
    float const left = box.left + kTextInset;
    float const baseLine = box.bottom - kTextInset;
    lift = std::max(lift, baseLine + kCurveAir - topUnder(left, left + width));
  }
  return lift;
}

bool GRVolta::pieceOn(GRSystem const* on, NVRect* box) const {
  size_t index;
  if (!placedPiece(on, box, &index)) return false;
  box->bottom -= kHookEnd;
  return true;
}

void GRVolta::adjustRight(GRNotationElement* element) {
  mBoundingBox.right += PageBox(element).left - pageRight() - kGap;
}

void GRVolta::FinishPTag(GRStaff* staff) {
  NEPointerList* list = getAssociations();
  if (!staff || !list || list->GetCount() == 0) return;
  if (!broken()) {
    if (endElt) adjustRight(endElt);
    if (begElt) {
      float const left = PageBox(begElt).right;
      mBoundingBox.right += mPosition.x - left;
      mPosition.x = left;
      adjustPrevious(staff);
    }
  } else if (staff->getGRSystem() == system) {
    if (endElt) adjustRight(endElt);
  } else if (staff->getGRSystem() == mEarlierPieces.front().system && begElt) {
    Piece& first = mEarlierPieces.front();
    float const left =
        begElt->getPosition().x + (begElt->getBoundingBox().right - begElt->getBoundingBox().left);
    first.box.right += first.position.x - left;
    first.position.x = left;
    adjustPrevious(staff);
  }
  mPrevious[staff->getStaffNumber()] = this;
}

void GRVolta::adjustPrevious(GRStaff* staff) {
  GRVolta* previous = mPrevious[staff->getStaffNumber()];
  if (!previous || previous == this) return;
  GRStaff* before = staff->getPreviousStaff();
  if (!before || before->getElements().GetCount() == 0) return;
  // Only a volta ending where this one's slice begins, and neither placed by hand.
  if (previous->endElt != before->getElements().GetTail()) return;
  if (previous->getOffset().y != 0 || getOffset().y != 0) return;
  if (previous->mPosition.y > mPosition.y) {
    previous->setPosition(NVPoint{previous->mPosition.x, mPosition.y});
    previous->adjustPrevious(before);
  } else if (mPosition.y > previous->mPosition.y) {
    mPosition.y = previous->mPosition.y;
    for (Piece& piece : mEarlierPieces) piece.position.y = mPosition.y;
  }
}

void GRVolta::drawPiece(VGDevice& device, NVRect box, int pieceShape, bool withText) const {
  device.Line(box.left, box.top, box.right, box.top);
  if (pieceShape == LEFT_HOOK || pieceShape == BOTH_HOOKS)
    device.Line(box.left, box.top, box.left, box.bottom - kHookEnd);
  if (pieceShape == RIGHT_HOOK || pieceShape == BOTH_HOOKS)
    device.Line(box.right, box.top, box.right, box.bottom - kHookEnd);
  if (!withText) return;
  VGColor const colour = device.GetFontColor();
  device.SetTextFont(gFontDefs.text.font);
  device.SetFontColor(kOpaqueBlack);
  device.SetFontAlign(17);  // left edge on the base line
  device.DrawString(box.left + kTextInset, box.bottom - kTextInset, mark.c_str(),
                    static_cast<int>(mark.size()));
  device.SetFontColor(colour);
}

void GRVolta::OnDraw(VGDevice& device, VScoreSymbolMap&) const {
  NVRect box;
  size_t index;
  // Never placed (no element of its range told it where it stands), or no piece on this line.
  if (!placedPiece(gCurSystem, &box, &index)) return;
  // The first piece opens the volta and carries its text, the last closes it; pieces between
  // only carry the line on.
  int pieceShape = shape;
  if (broken()) {
    bool const leftHook = index == 0 && (shape == BOTH_HOOKS || shape == LEFT_HOOK);
    bool const rightHook =
        index == mEarlierPieces.size() && (shape == BOTH_HOOKS || shape == RIGHT_HOOK);
    pieceShape = leftHook ? LEFT_HOOK : rightHook ? RIGHT_HOOK : NO_HOOKS;
  }
  device.PushPen(kOpaqueBlack, 4.0f);
  drawPiece(device, box, pieceShape, index == 0);
  device.PopPen();
}
