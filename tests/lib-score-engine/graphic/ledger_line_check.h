#pragma once

// What a reader needs to tell a note beyond the staff: every ledger line from the staff out to
// its head (the one through it when it stands on a line) runs across the head, and the heads of
// a chord side by side share one unbroken line. Works on boxes of ink as drawn on the page.

#include <vector>

#include "NVRect.h"

namespace EngineTesting {

// A staff's lines as drawn.
struct StaffLines {
  float top;    // the top line's height
  float space;  // from one line to the next
  int count;
  float bottom() const { return top + (count - 1) * space; }
};

struct MissingLedgerLine {
  NVRect head;  // the first head (from the left) the line should cross
  float y;      // where the line belongs
};

// The ledger lines the heads (boxes of note heads' ink) lack among the drawn lines (boxes of
// the ledger-line glyphs' ink) of that staff. Heads side by side, touching or overlapping, need
// one line under them all; lines side by side at one height that touch make one line.
std::vector<MissingLedgerLine> MissingLedgerLines(StaffLines const& staff,
                                                  std::vector<NVRect> const& heads,
                                                  std::vector<NVRect> const& lines);

}  // namespace EngineTesting
