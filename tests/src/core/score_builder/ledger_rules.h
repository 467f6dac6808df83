#pragma once

// Every note head outside its staff has each ledger line from the staff out to it running
// across it, as the engine tests' ledger-line check tells from the drawn page.

#include <string>
#include <vector>

#include "tests/src/core/score_builder/drawn_marks.h"

class QRazidPainter;

namespace ScoreOverlaps {

// "no ledger line at 250 across the head at 10,20 on staff 0" for each line a note's head lacks
// on the page (1 .. page count) whose marks are given.
std::vector<std::string> MissingLedgerLines(QRazidPainter& score, int page,
                                            const std::vector<DrawnMark>& marks);

}  // namespace ScoreOverlaps
