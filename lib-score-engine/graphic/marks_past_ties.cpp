// The articulations of a tie's notes on the tie's side stand outside it: the tie keeps by its
// heads, and the marks stacked there move out past its ink, keeping their order.
#include <algorithm>
#include <map>

#include "GRArticulation.h"
#include "GREvent.h"
#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"
#include "GRTie.h"
#include "curve_band.h"
#include "curve_ink.h"

void GRTie::clearMarksOf(CurveInk& ink, GRSystem const* system) {
  GRSystemStartEndStruct const* sse = getSystemStartEndStruct(system);
  GRBowingSaveStruct const* save = saveOf(sse);
  std::optional<CurveBand> const band = bandOn(system);
  GRNotationElement const* at = sse && sse->endElement ? sse->endElement : nullptr;
  if (!save || !band || !sse->startElement || !at || !at->getGRStaff()) return;
  GRBowingContext context;
  context.staff = at->getGRStaff();
  float const air = Air(context);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  bool const above = save->offsets[1].y < (save->offsets[0].y + save->offsets[2].y) / 2;
  // How far each end note's marks move out: as far as the tie, moving the other way, would go
  // to clear the deepest of them it meets.
  std::map<GREvent const*, float> moves;
  ink.forEachBetween(start.x, end.x, [&](CurveInk::Ink const& mark) {
    if (mark.kind != CurveInk::Kind::Articulation || !mark.event ||
        !(mark.of(sse->startElement) || mark.of(sse->endElement)) ||
        band->intrusion(mark.box, above, air) <= 0)
      return;
    float const need = band->intrusion(mark.box, !above, air);
    moves[mark.event] = std::max(moves[mark.event], need);
  });
  for (auto const& [event, need] : moves) {
    float const by = above ? -need : need;
    float const height = event->getPosition().y;
    for (auto const& mark : event->getArticulations()) {
      if (mark->getArticulationFlag() == GRArticulation::kBreathMark) continue;
      NVRect const box = mark->inkBox();
      if (above ? box.bottom > height : box.top < height) continue;
      mark->setPosition(mark->getPosition() + NVPoint{0, by});
    }
    ink.moveArticulations(event, above, height, by);
  }
}
