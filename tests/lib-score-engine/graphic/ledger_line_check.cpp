#include "ledger_line_check.h"

#include <algorithm>
#include <cmath>

namespace EngineTesting {

namespace {

// Glyphs stand on whole units of the device: edges may differ by this much.
constexpr float kTouch = 1;

struct Span {
  float left, right;
};

// The lines drawn at height y, those that touch joined into one, left to right.
std::vector<Span> LinesAt(float y, float tolerance, std::vector<NVRect> const& lines) {
  std::vector<Span> spans;
  for (NVRect const& line : lines)
    if (std::fabs(0.5f * (line.top + line.bottom) - y) <= tolerance)
      spans.push_back({line.left, line.right});
  std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.left < b.left; });
  std::vector<Span> joined;
  for (Span const& span : spans) {
    if (!joined.empty() && span.left <= joined.back().right + kTouch)
      joined.back().right = std::max(joined.back().right, span.right);
    else
      joined.push_back(span);
  }
  return joined;
}

// Whether a head stands at or beyond the ledger line at y, seen from the staff.
bool Beyond(NVRect const& head, float y, bool above, float tolerance) {
  float const middle = 0.5f * (head.top + head.bottom);
  return above ? middle <= y + tolerance : middle >= y - tolerance;
}

void CheckLine(float y, bool above, StaffLines const& staff, std::vector<NVRect> const& heads,
               std::vector<NVRect> const& lines, std::vector<MissingLedgerLine>& missing) {
  float const tolerance = 0.25f * staff.space;
  std::vector<NVRect> crossing;
  for (NVRect const& head : heads)
    if (Beyond(head, y, above, tolerance)) crossing.push_back(head);
  std::sort(crossing.begin(), crossing.end(),
            [](NVRect const& a, NVRect const& b) { return a.left < b.left; });
  std::vector<Span> const drawn = LinesAt(y, tolerance, lines);
  // Heads side by side: the columns of one chord, each needing the same unbroken line.
  for (size_t first = 0; first < crossing.size();) {
    size_t last = first;
    float right = crossing[first].right;
    while (last + 1 < crossing.size() && crossing[last + 1].left <= right + kTouch)
      right = std::max(right, crossing[++last].right);
    float const left = crossing[first].left;
    bool const across = std::any_of(drawn.begin(), drawn.end(), [&](Span const& line) {
      return line.left <= left + kTouch && right - kTouch <= line.right;
    });
    if (!across) missing.push_back({crossing[first], y});
    first = last + 1;
  }
}

}  // namespace

std::vector<MissingLedgerLine> MissingLedgerLines(StaffLines const& staff,
                                                  std::vector<NVRect> const& heads,
                                                  std::vector<NVRect> const& lines) {
  std::vector<MissingLedgerLine> missing;
  if (staff.count < 2 || staff.space <= 0) return missing;
  float highest = staff.top, lowest = staff.bottom();
  for (NVRect const& head : heads) {
    highest = std::min(highest, 0.5f * (head.top + head.bottom));
    lowest = std::max(lowest, 0.5f * (head.top + head.bottom));
  }
  float const tolerance = 0.25f * staff.space;
  for (float y = staff.top - staff.space; y >= highest - tolerance; y -= staff.space)
    CheckLine(y, true, staff, heads, lines, missing);
  for (float y = staff.bottom() + staff.space; y <= lowest + tolerance; y += staff.space)
    CheckLine(y, false, staff, heads, lines, missing);
  return missing;
}

}  // namespace EngineTesting
