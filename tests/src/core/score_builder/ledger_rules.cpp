#include "tests/src/core/score_builder/ledger_rules.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "lib-razid-qt/QRazidPainter.h"
#include "lib-score-engine/graphic/ledger_line_check.h"

namespace ScoreOverlaps {

namespace {

using EngineTesting::StaffLines;

NVRect Rect(const QRectF& box) {
  return NVRect{float(box.left()), float(box.top()), float(box.right()), float(box.bottom())};
}

// The staff's lines, from the heights its lines are drawn at (the stroke joining them at the
// staff's start stands upright).
StaffLines LinesOf(const StaffBand& band, int staff, const std::vector<DrawnMark>& marks) {
  std::vector<qreal> heights;
  for (const DrawnMark& mark : marks)
    if (mark.kind == Mark::StaffLine && mark.staff == staff && mark.box.width() > mark.box.height())
      heights.push_back(mark.box.center().y());
  std::sort(heights.begin(), heights.end());
  int count = 0;
  for (size_t i = 0; i < heights.size(); ++i)
    if (i == 0 || heights[i] - heights[i - 1] > 1) ++count;
  const float space = count > 1 ? float(band.bottom - band.top) / float(count - 1) : 0;
  return {float(band.top), space, count};
}

}  // namespace

std::vector<std::string> MissingLedgerLines(QRazidPainter& score, int page,
                                            const std::vector<DrawnMark>& marks) {
  std::vector<std::string> found;
  const std::vector<StaffBand> staves = StaffBands(score, page);
  for (size_t staff = 0; staff < staves.size(); ++staff) {
    std::vector<NVRect> heads, lines;
    for (const DrawnMark& mark : marks) {
      if (mark.staff != int(staff)) continue;
      if (mark.kind == Mark::LedgerLine) lines.push_back(Rect(mark.box));
      // A head elsewhere than at a note (in a tempo mark) has no date and needs no line.
      if (mark.kind == Mark::Head && mark.date >= 0) heads.push_back(Rect(mark.box));
    }
    const StaffLines staffLines = LinesOf(staves[staff], int(staff), marks);
    for (const auto& missing : EngineTesting::MissingLedgerLines(staffLines, heads, lines)) {
      std::ostringstream text;
      text << "no ledger line at " << missing.y << " across the head at " << missing.head.left
           << "," << missing.head.top << " on staff " << staff;
      found.push_back(text.str());
    }
  }
  return found;
}

}  // namespace ScoreOverlaps
