#pragma once

class CScoreElement;

// The n-th element of a kind below a start element, depth first in drawing order, counted from 1,
// not looking inside the matches; null for n below 1 or fewer matches.
//
// A page's events are read by asking for the 1st, the 2nd, the 3rd ... in turn. Each thread keeps
// where its last walk stopped, so the next question goes on from there instead of counting again
// from the start: reading every event of a page costs steps in proportion to the page, not to its
// square. The kept place is given up whenever any tree of elements changes or an element is freed.
CScoreElement* FindNthElementOfKind(CScoreElement const& start, int kind, int n);
