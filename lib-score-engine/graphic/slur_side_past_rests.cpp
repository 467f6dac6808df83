// A slur meeting a rest that bending its middle does not clear: a rest of another voice that
// moved out of the way of the slur's notes to stand over (under) them, often by a tip. Where no
// voice tells the slur's side, it goes to the other side of its notes instead.
#include "GRSlur.h"
#include "GRSystemStartEndStruct.h"
#include "curve_ink.h"

void GRSlur::sideClearOfRests(GRBowingContext& context, GRSystemStartEndStruct* sse) {
  // A piece going on from the line before keeps the side it began on; where voices share the
  // staff, the slur keeps to its voice's side and the other voice's rests move out of its way.
  GRBowingContext voice = context;
  if (context.openLeft || voiceCurveDirection(voice, sse) ||
      intrusionInto(context, sse, CurveInk::Kind::Rest) <= 0)
    return;
  GRBowingSaveStruct* save = saveOf(sse);
  NVPoint const start = save->position + save->offsets[0];
  NVPoint const end = save->position + save->offsets[2];
  NVPoint const middle = save->offsets[1];
  float const inflexion = save->inflexion;
  int const side = context.curveDir;
  context.curveDir = -side;
  automaticAnchorPoints(context, sse);
  automaticControlPoints(context, sse);
  placeClear(context, sse);
  if (intrusion(context, sse) <= 0) return;
  context.curveDir = side;
  setAnchors(context, sse, start, end);
  save->offsets[1] = middle;
  save->inflexion = inflexion;
}
