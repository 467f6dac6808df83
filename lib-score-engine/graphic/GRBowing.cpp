#include "GRBowing.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "ARBowing.h"
#include "GRChord.h"
#include "GREmpty.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRGlue.h"
#include "GRNote.h"
#include "GRRest.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "NEPointerList.h"
#include "ScoreElementDesc.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "VGDevice.h"
#include "VScoreSymbolMap.h"
#include "draw_slur.h"
#include "graphic_globals.h"
#include "src/common/assertion.h"
#include "voice_side.h"

using SSE = GRSystemStartEndStruct;
using Context = GRBowing::GRBowingContext;

namespace {

bool Given(TagParameter const* parameter) {
  return parameter && parameter->mState != TagParameter::NOTSET;
}

template <class T>
T* FirstAssociated(GRNotationElement const* element) {
  NEPointerList const* list = element ? element->getAssociations() : nullptr;
  for (void* pos = list ? list->GetHeadPosition() : nullptr; pos;)
    if (auto* found = dynamic_cast<T*>(list->GetNext(pos))) return found;
  return nullptr;
}

// The heads and stem direction at one end of a piece: a note's own, else those of the shared
// stem the element belongs to, else (at the end only) those of its shared location's stem.
void HeadsAt(GRNotationElement* element, bool orLocation, GRStdNoteHead*& top,
             GRStdNoteHead*& bottom, GDirection& direction, GRGlobalStem*& stem) {
  if (auto* note = dynamic_cast<GRSingleNote*>(element)) {
    top = bottom = note->getNoteHead();
    direction = note->getThroatDirection();
    return;
  }
  stem = FirstAssociated<GRGlobalStem>(element);
  if (!stem && orLocation) {
    if (auto* location = FirstAssociated<GRGlobalLocation>(element)) {
      GRGlobalStem* shared = FirstAssociated<GRGlobalStem>(location->getFirstEl());
      if (!shared) shared = FirstAssociated<GRGlobalStem>(location);
      if (shared && shared->getHighestAndLowestNoteHead(&top, &bottom))
        direction = shared->getStemDir();
      return;
    }
  }
  if (stem) {
    stem->getHighestAndLowestNoteHead(&top, &bottom);
    direction = stem->getStemDir();
  }
}

}  // namespace

GRBowing::GRBowing(GRStaff* staff, ARBowing* ar, bool ownsAR)
    : GRPTagARNotationElement(ar, ownsAR), mBowing(ar) {
  MELVARIN_ASSERT(ar);
  MELVARIN_ASSERT(staff);
  setGRStaff(staff);
  addFirstStartEnd(staff);
}

GRBowing::~GRBowing() {
  MELVARIN_ASSERT(mStartEndList.GetCount() == 0);
}

GRBowing::GRBowingSaveStruct* GRBowing::saveOf(SSE const* sse) {
  return sse ? static_cast<GRBowingSaveStruct*>(sse->p) : nullptr;
}

void GRBowing::addAssociation(GRNotationElement* element) {
  if (error) return;
  bool const fits = element && element->isGREventClass() &&
                    (dynamic_cast<GRNote*>(element) || dynamic_cast<GRRest*>(element) ||
                     dynamic_cast<GRChord*>(element) || dynamic_cast<GREmpty*>(element));
  if (!fits) {
    error = 1;
    return;
  }
  GRPTagARNotationElement::addAssociation(element);
}

void GRBowing::removeAssociation(GRNotationElement* element) {
  GRPTagARNotationElement::removeAssociation(element);
}

GRNotationElement* GRBowing::getStartElement(GRStaff const* staff) const {
  SSE const* sse = staff ? getSystemStartEndStruct(staff->getGRSystem()) : nullptr;
  return sse ? sse->startElement : nullptr;
}

GRNotationElement* GRBowing::getEndElement(GRStaff const* staff) const {
  SSE const* sse = staff ? getSystemStartEndStruct(staff->getGRSystem()) : nullptr;
  return sse ? sse->endElement : nullptr;
}

void GRBowing::tellPosition(GObject* caller, NVPoint const&) {
  auto* element = dynamic_cast<GRNotationElement*>(caller);
  GRStaff* staff = element ? element->getGRStaff() : nullptr;
  if (!staff) return;
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse) return;
  if (sse->endElement == element || (!sse->endElement && sse->startElement == element))
    updateBow(staff);
}

void GRBowing::updateBow(GRStaff* staff) {
  SSE* sse = getSystemStartEndStruct(staff->getGRSystem());
  if (!sse) return;
  if (sse->endflag == SSE::NO_ELEMENT) {
    // Never closed: nothing to draw on this system.
    error = 1;
    sse->startElement = nullptr;
    sse->endElement = nullptr;
    return;
  }
  Context context;
  context.staff = staff;
  getBowBeginingContext(context, sse);
  getBowEndingContext(context, sse);
  GRBowingSaveStruct* save = saveOf(sse);
  if (sse->startflag == SSE::CONTINUES_FROM_LAST || !sse->startElement) {
    context.openLeft = true;
    if (!sse->startElement) {
      sse->startElement = staff->getSecondGlue();
      sse->startflag = SSE::CONTINUES_FROM_LAST;
    }
  }
  if (sse->endflag == SSE::CONTINUES_ON_NEXT || !sse->endElement) {
    context.openRight = true;
    if (!sse->endElement) {
      sse->endElement = staff->getEndGlue();
      sse->endflag = SSE::CONTINUES_ON_NEXT;
      save->offsets[2].y = 0;
    }
  }
  MELVARIN_ASSERT(sse->startElement && sse->endElement);

  ARBowing* ar = mBowing;
  TagParameterString const* curve = ar->getCurve();
  bool sideFree = false;
  if (Given(curve)) {
    char const* value = curve->getValue();
    context.curveDir = value && std::strcmp(value, "down") == 0 ? -1 : 1;
  } else if (Given(ar->getH())) {
    context.curveDir = ar->getH()->getValue(staff->getLineSpace()) > 0 ? 1 : -1;
  } else if (context.openLeft && mFirstPieceCurveDir != 0) {
    // A curve cut by a line break reads as one only when it goes on on the side it began on.
    // The side is still the engine's own, not the writer's: a tie hidden there may leave it.
    context.curveDir = mFirstPieceCurveDir;
    sideFree = true;
  } else {
    automaticCurveDirection(context, sse);
    sideFree = true;
  }
  if (!context.openLeft) mFirstPieceCurveDir = context.curveDir;

  if (!Given(curve) && ar->getParSet()) {
    manualAnchorPoints(context, sse);
    applyAnchorPointsOffsets(context, sse);
  } else {
    automaticAnchorPoints(context, sse);
  }
  bool const automatic = !Given(ar->getR3()) && !Given(ar->getH());
  if (automatic) {
    automaticControlPoints(context, sse);
  } else {
    manualControlPoints(context, sse);
  }
  if (mInk && automatic && (Given(curve) || !ar->getParSet())) {
    keepClear(context, sse, sideFree);
    if (!context.openLeft) mFirstPieceCurveDir = context.curveDir;
  }
  updateBoundingBox();
}

void GRBowing::getBowBeginingContext(Context& context, SSE* sse) const {
  HeadsAt(sse->startElement, false, context.topLeftHead, context.bottomLeftHead,
          context.stemDirLeft, context.leftStem);
}

void GRBowing::getBowEndingContext(Context& context, SSE* sse) const {
  HeadsAt(sse->endElement, true, context.topRightHead, context.bottomRightHead,
          context.stemDirRight, context.rightStem);
}

bool GRBowing::voiceCurveDirection(Context& context, SSE const* sse) {
  // The end of a piece continued from the line before stands for the curve's notes.
  auto const* event = dynamic_cast<GREvent const*>(sse->startElement);
  if (!event || context.openLeft) event = dynamic_cast<GREvent const*>(sse->endElement);
  GDirection const side = VoiceSide(event);
  if (side != dirUP && side != dirDOWN) return false;
  context.curveDir = side;
  return true;
}

void GRBowing::automaticCurveDirection(Context& context, SSE* sse) {
  GDirection start = context.stemDirLeft;
  GDirection end = context.stemDirRight;
  if (start == dirOFF)
    if (auto* note = dynamic_cast<GRNote*>(sse->startElement)) start = note->getThroatDirection();
  if (end == dirOFF)
    if (auto* note = dynamic_cast<GRNote*>(sse->endElement)) end = note->getThroatDirection();
  int const a = start != dirOFF ? start : end;
  int const b = end != dirOFF ? end : a;
  // Opposite the stems; over the notes when the stems disagree or there are none.
  context.curveDir = a + b != 0 ? -a : 1;
}

void GRBowing::setAnchors(Context const& context, SSE* sse, NVPoint start, NVPoint end) {
  GRBowingSaveStruct* save = saveOf(sse);
  save->position = start;
  save->offsets[0] = NVPoint{};
  save->offsets[2] = end - start;
  mBowing->setCurve(context.curveDir, start, end);
}

void GRBowing::manualAnchorPoints(Context& context, SSE* sse) {
  bool const above = context.curveDir == 1;
  GRStdNoteHead* startHead = above ? context.topLeftHead : context.bottomLeftHead;
  GRStdNoteHead* endHead = above ? context.topRightHead : context.bottomRightHead;
  NVPoint start = startHead ? startHead->getNoteHeadPosition() : sse->startElement->getPosition();
  NVPoint end = endHead ? endHead->getNoteHeadPosition() : sse->endElement->getPosition();
  if (context.openLeft) start.y = end.y;
  if (context.openRight) end.y = start.y;
  setAnchors(context, sse, start, end);
}

void GRBowing::automaticAnchorPoints(Context& context, SSE* sse) {
  manualAnchorPoints(context, sse);
}

void GRBowing::applyAnchorPointsOffsets(Context& context, SSE* sse) {
  GRBowingSaveStruct* save = saveOf(sse);
  float const ls = context.staff->getLineSpace();
  if (Given(mBowing->getDX1())) save->offsets[0].x += mBowing->getDX1()->getValue(ls);
  if (Given(mBowing->getDY1())) save->offsets[0].y -= mBowing->getDY1()->getValue(ls);
  if (Given(mBowing->getDX2())) save->offsets[2].x += mBowing->getDX2()->getValue(ls);
  if (Given(mBowing->getDY2())) save->offsets[2].y -= mBowing->getDY2()->getValue(ls);
}

void GRBowing::manualControlPoints(Context& context, SSE* sse) {
  GRBowingSaveStruct* save = saveOf(sse);
  float const ls = context.staff->getLineSpace();
  NVPoint const chord = save->offsets[2] - save->offsets[0];
  float const r = Given(mBowing->getR3()) ? mBowing->getR3()->getValue(ls) : 0.5f;
  float const h = Given(mBowing->getH()) ? mBowing->getH()->getValue(ls) : 2.0f * ls;
  // The middle point stands |h| off the line between the ends, on the curve's side: a written
  // height chose that side by its sign, a default one follows the curve.
  save->offsets[1].x = save->offsets[0].x + r * chord.x;
  save->offsets[1].y = save->offsets[0].y + r * chord.y - context.curveDir * std::fabs(h);
}

void GRBowing::automaticControlPoints(Context& context, SSE* sse) {
  manualControlPoints(context, sse);
}

NVRect GRBowing::PieceBox(GRBowingSaveStruct const& save) {
  NVPoint const start = save.position + save.offsets[0];
  NVPoint const control = save.position + save.offsets[1];
  NVPoint const end = save.position + save.offsets[2];
  NVRect box;
  box.left = start.x;
  box.right = end.x;
  if (start.y > control.y) {  // bulges upwards
    box.top = control.y;
    box.bottom = std::max(start.y, end.y);
  } else {
    box.top = std::min(start.y, end.y);
    box.bottom = control.y;
  }
  return box;
}

bool GRBowing::pieceBox(GRSystem const* system, NVRect& box) const {
  if (error) return false;
  GRBowingSaveStruct const* save = saveOf(getSystemStartEndStruct(system));
  if (!save) return false;
  box = PieceBox(*save);
  return true;
}

void GRBowing::updateBoundingBox() {
  SSE* sse = mGrStaff ? getSystemStartEndStruct(mGrStaff->getGRSystem()) : nullptr;
  if (GRBowingSaveStruct* save = saveOf(sse)) mBoundingBox = PieceBox(*save);
}

void GRBowing::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;
  MELVARIN_ASSERT(gCurSystem);
  SSE* sse = getSystemStartEndStruct(gCurSystem);
  if (!sse) return;
  GRBowingSaveStruct const* save = saveOf(sse);
  MELVARIN_ASSERT(save);
  VGColor const colour = getColRef() ? VGColor(getColRef()) : kOpaqueBlack;
  device.PushFillColor(colour);
  device.PushPen(colour, 1.0f);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const control = save->position + save->offsets[1];
  NVPoint const end = save->position + save->offsets[2];
  drawSlur(device, start.x, start.y, control.x, control.y, end.x, end.y, save->inflexion);
  device.PopPen();
  device.PopFillColor();

  ScoreElementDesc desc;
  desc.kind = 2;
  desc.subtype = 17;
  // The box of the piece drawn: a broken bowing has one per system.
  NVRect const box = PieceBox(*save);
  desc.left = box.left + mPosition.x;
  desc.top = box.top + mPosition.y;
  desc.right = box.right + mPosition.x;
  desc.bottom = box.bottom + mPosition.y;
  desc.refX = mPosition.x;
  desc.refY = mPosition.y;
  map.AddElement(device, desc);
}
