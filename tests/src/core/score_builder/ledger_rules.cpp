#include "tests/src/core/score_builder/ledger_rules.h"

#include <QPointF>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "CScoreElement.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-score-engine/graphic/ledger_line_check.h"

namespace ScoreOverlaps {

namespace {

using EngineTesting::StaffLines;

// The symbol-map records of notes: events of subtype 10.
constexpr int MapEvent = 1;
constexpr int NoteSubtype = 10;

// Where the page's notes have their heads: a head glyph elsewhere (in a tempo mark) is no note.
std::vector<QPointF> NoteHeadPoints(QRazidPainter& score, int page) {
  std::vector<QPointF> points;
  CScoreElement* root = RazidMapGetRootElement(score.grHandle(), page);
  for (int n = 1; CScoreElement* note = RazidMapFindDeepNthElementOfType(root, MapEvent, n); ++n) {
    if (RazidMapGetElementSubType(note) != NoteSubtype) continue;
    float x, y;
    RazidMapGetHeadPoint(note, &x, &y);
    points.emplace_back(x, y);
  }
  return points;
}

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
  const std::vector<QPointF> notes = NoteHeadPoints(score, page);
  const std::vector<StaffBand> staves = StaffBands(score, page);
  for (size_t staff = 0; staff < staves.size(); ++staff) {
    std::vector<NVRect> heads, lines;
    for (const DrawnMark& mark : marks) {
      if (mark.staff != int(staff)) continue;
      if (mark.kind == Mark::LedgerLine) lines.push_back(Rect(mark.box));
      if (mark.kind == Mark::Head &&
          std::any_of(notes.begin(), notes.end(),
                      [&](const QPointF& note) { return mark.box.contains(note); }))
        heads.push_back(Rect(mark.box));
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
