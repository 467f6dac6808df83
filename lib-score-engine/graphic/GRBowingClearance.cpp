// A slur's or tie's piece placed again once the music of its line stands where it is drawn: its
// middle rises over (sinks under) the ink it passes.
#include <algorithm>

#include "GRBowing.h"
#include "GREvent.h"
#include "GRGlobalStem.h"
#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"
#include "curve_band.h"
#include "curve_ink.h"

using SSE = GRSystemStartEndStruct;
using Context = GRBowing::GRBowingContext;

namespace {

// A tie or slur starts beside its note's head, stem and dots and ends beside the other's: ink of
// those kinds of the notes at its ends (a chord's stem, within a space of an end) is theirs. So is
// the flag of a note at an end drawn on the far side of its heads: the heads stand between.
bool AtAnEnd(CurveInk::Ink const& ink, SSE const* sse, NVPoint start, NVPoint end, bool above,
             float space) {
  using Kind = CurveInk::Kind;
  auto over = [&](float tip) { return tip >= ink.box.left && tip <= ink.box.right; };
  // The marks of the notes at the ends stand by their heads as the tips do; a bracket's piece or a
  // mark over (under) a tip holds the tip's note, which bending the middle would not clear.
  if (ink.kind == Kind::Articulation)
    return ink.of(sse->startElement) || ink.of(sse->endElement) || over(start.x) || over(end.x);
  if (ink.kind == Kind::Tuplet) return over(start.x) || over(end.x);
  // Words over a tip or near an end would have the middle bend far, into the music around.
  if (ink.kind == Kind::Words)
    return over(start.x) || over(end.x) || CurveInk::WordsNearAnEnd(ink.box, start.x, end.x);
  if (ink.kind != Kind::Head && ink.kind != Kind::Stem && ink.kind != Kind::Dot &&
      ink.kind != Kind::Flag)
    return false;
  auto near = [&](float tip) {
    return tip >= ink.box.left - space && tip <= ink.box.right + space;
  };
  bool const atStart = ink.event ? ink.of(sse->startElement) : near(start.x);
  bool const atEnd = ink.event ? ink.of(sse->endElement) : near(end.x);
  // A head over (under) a tip, such as another voice's wider head at an end note: the tips stay
  // by their own heads however far the middle bends, so bending would not clear it.
  if (ink.kind == Kind::Head && (over(start.x) || over(end.x))) return true;
  if (ink.kind != Kind::Flag) return atStart || atEnd;
  float const middle = (ink.box.top + ink.box.bottom) / 2;
  auto beyondHeads = [&](NVPoint const& tip) { return above ? middle > tip.y : middle < tip.y; };
  return (atStart && beyondHeads(start)) || (atEnd && beyondHeads(end));
}

}  // namespace

void GRBowing::placeClearOf(CurveInk& ink, GRSystem const* system) {
  if (error) return;
  SSE* sse = getSystemStartEndStruct(system);
  if (!sse || !saveOf(sse)) return;
  GRNotationElement const* at = sse->endElement ? sse->endElement : sse->startElement;
  GRStaff* staff = at ? at->getGRStaff() : nullptr;
  if (!staff || staff->getGRSystem() != system) return;
  mInk = &ink;
  updateBow(staff);
  mInk = nullptr;
  if (error) return;
  clearMarksOf(ink, system);
  if (std::optional<CurveBand> const band = bandOn(system)) ink.addCurve(*band);
}

std::optional<CurveBand> GRBowing::bandOn(GRSystem const* system) const {
  if (error) return std::nullopt;
  GRBowingSaveStruct const* save = saveOf(getSystemStartEndStruct(system));
  if (!save) return std::nullopt;
  return CurveBand(save->position + save->offsets[0], save->position + save->offsets[1],
                   save->position + save->offsets[2], save->inflexion);
}

void GRBowing::keepClear(Context& context, SSE* sse, bool) {
  // Beyond some spaces a curve no longer reads as one over its notes.
  bendClear(context, sse, 5 * context.staff->getLineSpace());
}

float GRBowing::Air(Context const& context) {
  return 0.15f * context.staff->getLineSpace();
}

float GRBowing::intrusion(Context const& context, SSE const* sse, bool withMarks) const {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  CurveBand const band(start, save->position + save->offsets[1], end, save->inflexion);
  bool const above = context.curveDir == 1;
  float const space = context.staff->getLineSpace();
  float const air = Air(context);
  float deepest = 0;
  mInk->forEachBetween(start.x, end.x, [&](CurveInk::Ink const& ink) {
    if (!AtAnEnd(ink, sse, start, end, above, space) && ink.kind != CurveInk::Kind::Figure &&
        (withMarks || ink.kind != CurveInk::Kind::Mark))
      deepest = std::max(deepest, band.intrusion(ink.box, above, air));
  });
  return deepest;
}

float GRBowing::intrusionInto(Context const& context, SSE const* sse, CurveInk::Kind kind) const {
  GRBowingSaveStruct const* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  CurveBand const band(start, save->position + save->offsets[1], end, save->inflexion);
  bool const above = context.curveDir == 1;
  float const air = Air(context);
  float deepest = 0;
  mInk->forEachBetween(start.x, end.x, [&](CurveInk::Ink const& ink) {
    if (ink.kind == kind) deepest = std::max(deepest, band.intrusion(ink.box, above, air));
  });
  return deepest;
}

void GRBowing::bendClear(Context const& context, SSE* sse, float most) {
  // Each step moves the middle point by what the deepest ink still asks: the curve beside it
  // moves by less, the nearer its end the less, and takes a few steps more.
  constexpr int kSteps = 8;
  GRBowingSaveStruct* save = saveOf(sse);
  float bent = 0;
  for (int step = 0; step < kSteps && bent < most; ++step) {
    float const need = intrusion(context, sse);
    if (need <= 0) return;
    float const by = std::min(need, most - bent);
    save->offsets[1].y -= static_cast<float>(context.curveDir) * by;
    bent += by;
  }
}
