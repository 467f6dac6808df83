#include "curve_ink.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "ARCast.h"
#include "GRAccidental.h"
#include "GRArticulation.h"
#include "GRBeam.h"
#include "GRBowing.h"
#include "GRBreathMark.h"
#include "GRClef.h"
#include "GRDummy.h"
#include "GRDynamics.h"
#include "GRFirstNoteMark.h"
#include "GRFlag.h"
#include "GRGlobalStem.h"
#include "GRIntens.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRNewTuplet.h"
#include "GRNoteDot.h"
#include "GRSText.h"
#include "GRSimpleBeam.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "GRSystem.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"
#include "curve_band.h"

namespace {

bool Empty(NVRect const& box) {
  return box.right - box.left <= 0 || box.bottom - box.top <= 0;
}

NVRect Placed(GRNotationElement const* element) {
  return element->getBoundingBox() + element->getPosition() + element->getOffset();
}

// A beam's corners as slices across the page, so that a slanted beam keeps the room beside it
// free.
template <class Add>
void BeamSlices(NVPoint const (&p)[4], Add&& add) {
  constexpr float kSlice = 25;
  float const left = std::min(p[0].x, p[2].x);
  float const right = std::max(p[0].x, p[2].x);
  if (right <= left) return;
  auto edge = [&](NVPoint const& a, NVPoint const& b, float x) {
    return a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
  };
  for (float x = left; x < right; x += kSlice) {
    float const to = std::min(right, x + kSlice);
    float ys[] = {edge(p[0], p[2], x), edge(p[0], p[2], to), edge(p[1], p[3], x),
                  edge(p[1], p[3], to)};
    auto const [top, bottom] = std::minmax_element(std::begin(ys), std::end(ys));
    add(NVRect{x, *top, to, *bottom});
  }
}

}  // namespace

CurveInk::CurveInk(GRSystem const& system, int staffNumber) {
  std::unordered_set<GRNewTuplet const*> tuplets;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    GRNotationElement const* tag = element;
    if (auto const* dummy = dynamic_cast<GRDummy const*>(element))
      tag = dynamic_cast<GRNotationElement const*>(dummy->getTag());
    if (auto const* tuplet = dynamic_cast<GRNewTuplet const*>(tag)) {
      if (tuplets.insert(tuplet).second) addTuplet(tuplet->drawnParts(&system));
      return;
    }
    if (auto const* event = dynamic_cast<GREvent const*>(element)) {
      addEvent(event);
    } else if (auto const* stem = dynamic_cast<GRGlobalStem const*>(element)) {
      if (GRStem const* drawn = stem->getGRStem()) add(drawn->inkBox(), Kind::Stem, nullptr);
      if (GRFlag const* flag = stem->getGRFlag(); flag && flag->isDrawn())
        add(flag->inkBox(), Kind::Flag, nullptr);
    } else if (auto const* beam = dynamic_cast<GRBeam const*>(element)) {
      GRBeam::GRBeamSaveStruct const* save = beam->drawnPiece(&system);
      if (!save) return;
      BeamSlices(save->p, [&](NVRect const& box) { add(box, Kind::Beam, nullptr); });
      if (save->simpleBeams)
        for (void* pos = save->simpleBeams->GetHeadPosition(); pos;) {
          GRSimpleBeam const* level = save->simpleBeams->GetNext(pos);
          NVPoint const corners[4] = {level->getPoint(0), level->getPoint(1), level->getPoint(2),
                                      level->getPoint(3)};
          BeamSlices(corners, [&](NVRect const& box) { add(box, Kind::Beam, nullptr); });
        }
    } else if (auto const* breath = dynamic_cast<GRBreathMark const*>(element)) {
      add(breath->inkBox(), Kind::Articulation, nullptr);
    } else if (auto const* mark = dynamic_cast<GRIntens const*>(element)) {
      add(mark->letters(), Kind::Mark, nullptr);
    } else if (auto const* wedge = dynamic_cast<GRDynamics const*>(element)) {
      GRSystemStartEndStruct const* sse = wedge->getSystemStartEndStruct(&system);
      auto const* piece =
          sse ? static_cast<GRDynamics::GRDynamicsSaveStruct const*>(sse->p) : nullptr;
      if (!piece || wedge->getError()) return;
      add(NVRect{piece->point.x, piece->point.y - piece->upperOpening,
                 piece->point.x + piece->length, piece->point.y + piece->lowerOpening},
          Kind::Mark, nullptr);
    } else if (auto const* hidden = dynamic_cast<GRTag const*>(element);
               hidden && hidden->getError()) {
      // A clef or key that a line opens with in place of its own is not drawn where it stood:
      // a curve passing there keeps its length.
      return;
    } else if (auto const* key = dynamic_cast<GRKey const*>(element)) {
      for (void* pos = key->First(); pos;)
        if (auto const* sign = dynamic_cast<GRAccidental const*>(key->GetNext(pos)))
          add(sign->inkBox(), Kind::Sign, nullptr);
    } else if (dynamic_cast<GRClef const*>(element) || dynamic_cast<GRMeter const*>(element)) {
      add(Placed(element), Kind::Sign, nullptr);
    } else if (auto const* figure = dynamic_cast<GRSText const*>(element)) {
      // Its letters run from its box's left by their width, the box's right, the box keeping
      // room before them.
      for (std::optional<NVRect> box : {figure->inkOver(), figure->boxUnder()})
        if (box) {
          box->right = box->left + figure->getBoundingBox().right;
          add(*box, Kind::Figure, nullptr);
        }
    }
  });
  addNoteWords(system, staffNumber);
  std::sort(mInks.begin(), mInks.end(),
            [](Ink const& a, Ink const& b) { return a.box.left < b.box.left; });
}

void CurveInk::addTuplet(GRNewTuplet::Parts const& parts) {
  add(parts.number, Kind::Tuplet, nullptr);
  if (!parts.bracket) return;
  NVPoint const line[4] = {
      parts.left + NVPoint{0, parts.top}, parts.left + NVPoint{0, parts.bottom},
      parts.right + NVPoint{0, parts.top}, parts.right + NVPoint{0, parts.bottom}};
  BeamSlices(line, [&](NVRect const& box) { add(box, Kind::Tuplet, nullptr); });
}

void CurveInk::addNoteWords(GRSystem const& system, int staffNumber) {
  // A trill's or tempo change's words stand over their note before the curves are placed: a
  // curve passing there rises over (sinks under) them as over a sign. The marks are held by
  // their notes or by the staff.
  std::unordered_set<GRFirstNoteMark const*> seen;
  auto take = [&](GRNotationElement const* element) {
    auto const* mark = dynamic_cast<GRFirstNoteMark const*>(element);
    if (!mark || !mark->drawsWords() || !seen.insert(mark).second) return;
    if (std::optional<NVRect> const box = mark->boxOn(&system)) add(*box, Kind::Words, nullptr);
  };
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    take(element);
    if (NEPointerList const* tags =
            element->isGREventClass() ? element->getAssociations() : nullptr)
      for (void* pos = tags->GetHeadPosition(); pos;) take(tags->GetNext(pos));
  });
}

bool CurveInk::Ink::of(GRNotationElement const* element) const {
  if (!event || !element) return false;
  if (event == element) return true;
  auto const* other = dynamic_cast<GREvent const*>(element);
  return other && event->getGlobalStem() && event->getGlobalStem() == other->getGlobalStem();
}

void CurveInk::addEvent(GREvent const* event) {
  for (auto const& articulation : event->getArticulations()) {
    bool const afterNote = articulation->getArticulationFlag() == GRArticulation::kBreathMark;
    add(articulation->inkBox(), Kind::Articulation, afterNote ? nullptr : event);
  }
  if (auto const* rest = dynamic_cast<GRSingleRest const*>(event)) {
    NVRect box;
    rest->getInkExtent(&box.top, &box.bottom);
    float const x = rest->getPosition().x + rest->getOffset().x;
    box.left = x - rest->getLeftSpace();
    box.right = x + rest->getRightSpace();
    add(box, Kind::Rest, event);
  }
  auto const* note = dynamic_cast<GRSingleNote const*>(event);
  if (GRStdNoteHead const* head = note ? note->getNoteHead() : nullptr)
    add(head->getBoundingBox() + head->getNoteHeadPosition(), Kind::Head, event);
  if (GRStem const* stem = note ? note->getStem() : nullptr; stem && !note->getGlobalStem())
    add(stem->inkBox(), Kind::Stem, event);
  if (GRFlag const* flag = note ? note->getFlag() : nullptr;
      flag && flag->isDrawn() && !note->getGlobalStem())
    add(flag->inkBox(), Kind::Flag, event);
  for (void* pos = event->First(); pos;) {
    GRNotationElement const* part = event->GetNext(pos);
    if (auto const* dot = dynamic_cast<GRNoteDot const*>(part))
      add(Placed(dot), Kind::Dot, event);
    else if (auto const* sign = dynamic_cast<GRAccidental const*>(part))
      add(sign->inkBox(), Kind::Accidental, event);
  }
}

void CurveInk::add(NVRect const& box, Kind kind, GREvent const* event) {
  if (Empty(box)) return;
  mInks.push_back(Ink{box, kind, event});
  mWidest = std::max(mWidest, box.right - box.left);
}

void CurveInk::addCurve(CurveBand const& band) {
  // Slices narrow enough that the room under (over) the curve stays free.
  constexpr float kSlice = 25;
  band.forEachSlice(kSlice, [&](NVRect const& box) {
    if (Empty(box)) return;
    Ink const ink{box, Kind::Curve, nullptr};
    auto const byLeft = [](Ink const& a, Ink const& b) { return a.box.left < b.box.left; };
    mInks.insert(std::upper_bound(mInks.begin(), mInks.end(), ink, byLeft), ink);
    mWidest = std::max(mWidest, box.right - box.left);
  });
}

void CurveInk::moveArticulations(GREvent const* event, bool above, float height, float by) {
  for (Ink& ink : mInks)
    if (ink.kind == Kind::Articulation && ink.event == event &&
        (above ? ink.box.bottom <= height : ink.box.top >= height)) {
      ink.box.top += by;
      ink.box.bottom += by;
    }
}

std::vector<CurveInk::Ink>::const_iterator CurveInk::firstFrom(float x) const {
  return std::lower_bound(mInks.begin(), mInks.end(), x - mWidest,
                          [](Ink const& ink, float at) { return ink.box.left < at; });
}
