#include "tests/src/core/score_builder/overlap_rules.h"

#include <algorithm>
#include <limits>
#include <sstream>

namespace ScoreOverlaps {

namespace {

constexpr double Any = std::numeric_limits<double>::infinity();

// The pairs engraving lays on each other, and how far across (left to right) and along (top
// to bottom) they may share; every other pair of one staff keeps apart.
struct Allowance {
  Mark first, second;
  double across, along;
};
constexpr Allowance Intended[] = {
    {Mark::Head, Mark::Stem, Any, Any},              // a head hangs on its stem
    {Mark::Head, Mark::LedgerLine, Any, Any},        // a ledger line runs through or by its head
    {Mark::Stem, Mark::LedgerLine, Any, Any},        // a stem crosses its chord's ledger lines
    {Mark::LedgerLine, Mark::LedgerLine, Any, Any},  // a chord's notes share their ledger lines
    {Mark::Stem, Mark::Flag, Any, Any},              // a flag grows out of its stem
    {Mark::Stem, Mark::Beam, Any, Any},              // a stem ends in its beam
    // The heads of a chord a third apart touch at their rims, by less than a tenth of a space.
    {Mark::Head, Mark::Head, Any, 5},
    // A ledger line reaches past its head by 21 units on the left, and the sign in front of the
    // head stands 10 units from it: the line's end lies under the sign's edge.
    {Mark::Accidental, Mark::LedgerLine, 11, Any},
};

bool Allowed(Mark a, Mark b, const QRectF& shared) {
  // Staff lines lie under everything, and bar lines cross them.
  if (a == Mark::StaffLine || b == Mark::StaffLine) return true;
  return std::any_of(std::begin(Intended), std::end(Intended), [&](const Allowance& allowed) {
    return ((allowed.first == a && allowed.second == b) ||
            (allowed.first == b && allowed.second == a)) &&
           shared.width() <= allowed.across + Tolerance &&
           shared.height() <= allowed.along + Tolerance;
  });
}

bool Touch(const QRectF& shared) {
  return shared.width() <= Tolerance || shared.height() <= Tolerance;
}

QPainterPath InkOf(const DrawnMark& mark) {
  if (!mark.ink.isEmpty()) return mark.ink;
  QPainterPath box;
  box.addRect(mark.box);
  return box;
}

}  // namespace

QRectF SharedInk(const DrawnMark& a, const DrawnMark& b) {
  const QRectF shared = a.box.intersected(b.box);
  // The corners of a box may hold no ink: a slanting beam, the tail of a sign.
  if (shared.isEmpty() || (a.ink.isEmpty() && b.ink.isEmpty())) return shared;
  return InkOf(a).intersected(InkOf(b)).boundingRect();
}

bool MayOverlap(Mark a, Mark b, const QRectF& shared) {
  return Touch(shared) || Allowed(a, b, shared);
}

std::vector<Overlap> Overlaps(const std::vector<DrawnMark>& marks) {
  std::vector<Overlap> found;
  for (size_t i = 0; i < marks.size(); ++i) {
    for (size_t j = i + 1; j < marks.size(); ++j) {
      const DrawnMark& a = marks[i];
      const DrawnMark& b = marks[j];
      if (a.staff != b.staff || a.box.isEmpty() || b.box.isEmpty()) continue;
      if (MayOverlap(a.kind, b.kind, a.box.intersected(b.box))) continue;
      const QRectF shared = SharedInk(a, b);
      if (!MayOverlap(a.kind, b.kind, shared)) found.push_back({a, b, shared});
    }
  }
  return found;
}

std::string Describe(const Overlap& overlap) {
  std::ostringstream text;
  auto mark = [&](const DrawnMark& m) {
    text << Name(m.kind) << " (" << m.what << ") at " << m.box.left() << "," << m.box.top() << " "
         << m.box.width() << "x" << m.box.height();
    if (m.date >= 0) text << " of the note at " << m.date;
  };
  mark(overlap.first);
  text << " and ";
  mark(overlap.second);
  text << " on staff " << overlap.first.staff << ", sharing " << overlap.shared.width() << "x"
       << overlap.shared.height();
  return text.str();
}

}  // namespace ScoreOverlaps
