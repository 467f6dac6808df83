#pragma once

#include "kf_ivect.h"

class GRSpring;

// The room the elements of two springs need between them, band by band through the colliders,
// where ledger lines meet signs or stems, and where a tie passes a sign before its last head.
float RoomBetween(GRSpring const& before, GRSpring const& after);

// The length the rod from the last spring before a slice to the slice's first (startid) needs
// where that spring holds an event or a bar line and the slice opens with springs of marks alone (a
// dynamic, a text), which hold nothing at the heads' height: the event keeps its room from the
// slice's first event across them. A rod reaching over them would start in the slice before, whose
// springs are stretched already. The rods the marks' springs get up to the event count. 0 where
// the slice opens with an event, or no event follows the marks.
float RoomAcrossSliceStart(KF_IVector<GRSpring> const& springs, int startid, int endid);
