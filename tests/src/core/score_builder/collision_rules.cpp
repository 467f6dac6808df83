#include "tests/src/core/score_builder/collision_rules.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>

#include "tests/src/core/score_builder/overlap_rules.h"

namespace ScoreOverlaps {

namespace {

// Page units (50 to a staff space).
constexpr qreal Space = 50;

// Two marks drawn for one note, or for the notes of one chord.
bool SameNote(const DrawnMark& a, const DrawnMark& b) {
  return a.event >= 0 && a.event == b.event;
}

// Marks of notes struck together, of one chord or of voices in unison.
bool StruckTogether(const DrawnMark& a, const DrawnMark& b) {
  return a.date >= 0 && a.date == b.date;
}

// Marks of notes struck together on one staff.
bool SameDate(const DrawnMark& a, const DrawnMark& b) {
  return StruckTogether(a, b) && a.staff == b.staff;
}

// Where a mark meets a tie or slur at the bowing's end: the tip stands within a space of the
// mark, and what they share lies within two spaces of the tip, where the bowing starts at or
// ends on its note.
bool AtBowingEnd(const DrawnMark& mark, const DrawnMark& bowing, const QRectF& shared) {
  constexpr qreal Reach = 2 * Space;
  auto near = [&](qreal tip) {
    return tip >= mark.box.left() - Space && tip <= mark.box.right() + Space;
  };
  const qreal left = bowing.box.left(), right = bowing.box.right();
  return (near(left) && shared.right() <= left + Reach) ||
         (near(right) && shared.left() >= right - Reach);
}

// Why engraving lays two marks on each other: the pair, and how the two must belong together
// for the rule to hold (given in the order of the pair, with what their inks share).
struct Allowance {
  Mark first, second;
  bool (*holds)(const DrawnMark& first, const DrawnMark& second, const QRectF& shared);
};

const Allowance Allowances[] = {
    // A ledger line runs through its own head, or by it in a chord or beside another voice
    // struck with it.
    {Mark::LedgerLine, Mark::Head,
     [](const DrawnMark& line, const DrawnMark& head, const QRectF&) {
       return SameNote(line, head) || SameDate(line, head);
     }},
    // A head hangs on its stem; voices struck together in unison hang one head on both stems.
    {Mark::Head, Mark::Stem,
     [](const DrawnMark& head, const DrawnMark& stem, const QRectF&) {
       return SameNote(head, stem) || (StruckTogether(head, stem) && StemOnHead(stem, head));
     }},
    // The heads of a chord, or of voices struck together, a third apart touch at their rims, by
    // less than a tenth of a space; a chord's heads do so between two staves too.
    {Mark::Head, Mark::Head,
     [](const DrawnMark& a, const DrawnMark& b, const QRectF& shared) {
       return (SameNote(a, b) || SameDate(a, b)) && shared.height() <= 5 + Tolerance;
     }},
    // Voices struck together in unison share one head, drawn once for each.
    {Mark::Head, Mark::Head,
     [](const DrawnMark& a, const DrawnMark& b, const QRectF&) {
       return StruckTogether(a, b) && a.code == b.code && a.box == b.box;
     }},
    // Voices struck together in unison share the dots of one value, drawn once for each; so do
    // voices resting together for one dotted length, whose one rest has one dot.
    {Mark::Dot, Mark::Dot,
     [](const DrawnMark& a, const DrawnMark& b, const QRectF&) {
       return (StruckTogether(a, b) || a.staff == b.staff) && a.box == b.box;
     }},
    // Voices resting together for one length share one rest, drawn once for each, as engravers
    // write a single rest for both parts.
    {Mark::Rest, Mark::Rest,
     [](const DrawnMark& a, const DrawnMark& b, const QRectF&) {
       return a.staff == b.staff && a.code == b.code && a.box == b.box;
     }},
    // The notes of a chord, and voices struck together, each draw the ledger lines they share.
    {Mark::LedgerLine, Mark::LedgerLine,
     [](const DrawnMark& a, const DrawnMark& b, const QRectF&) {
       return SameNote(a, b) || SameDate(a, b);
     }},
    // A stem crosses the ledger lines of its chord and of voices struck with it.
    {Mark::LedgerLine, Mark::Stem,
     [](const DrawnMark& line, const DrawnMark& stem, const QRectF&) {
       return SameNote(line, stem) || SameDate(line, stem);
     }},
    // A flag grows out of its stem.
    {Mark::Stem, Mark::Flag,
     [](const DrawnMark& stem, const DrawnMark& flag, const QRectF&) {
       return SameNote(stem, flag);
     }},
    // A stem ends in a beam of its group and crosses the group's other beams on the way: those
    // of the shortest values lie within a space and three quarters of its end.
    {Mark::Stem, Mark::Beam,
     [](const DrawnMark& stem, const DrawnMark& beam, const QRectF& shared) {
       const qreal tip = StemTip(stem);
       return stem.beams >= 0 && stem.beams == beam.beams &&
              std::max(std::abs(shared.top() - tip), std::abs(shared.bottom() - tip)) <=
                  1.75 * Space;
     }},
    // A tie or slur starts at its note and ends on the other, by its head, stem, dot or ledger
    // line.
    {Mark::LedgerLine, Mark::Bowing,
     [](const DrawnMark& mark, const DrawnMark& bowing, const QRectF& shared) {
       return AtBowingEnd(mark, bowing, shared);
     }},
    {Mark::Head, Mark::Bowing,
     [](const DrawnMark& mark, const DrawnMark& bowing, const QRectF& shared) {
       return AtBowingEnd(mark, bowing, shared);
     }},
    {Mark::Stem, Mark::Bowing,
     [](const DrawnMark& mark, const DrawnMark& bowing, const QRectF& shared) {
       return AtBowingEnd(mark, bowing, shared);
     }},
    {Mark::Dot, Mark::Bowing,
     [](const DrawnMark& mark, const DrawnMark& bowing, const QRectF& shared) {
       return AtBowingEnd(mark, bowing, shared);
     }},
    // A tie or slur crosses the bar lines between its notes.
    {Mark::Bar, Mark::Bowing,
     [](const DrawnMark&, const DrawnMark&, const QRectF&) { return true; }},
    // A tempo mark's note value stands just before its figure: the tail of its flag reaches
    // under the figure's first sign.
    {Mark::Flag, Mark::Text,
     [](const DrawnMark& flag, const DrawnMark&, const QRectF& shared) {
       return flag.date < 0 && shared.width() <= 10;
     }},
    // A ledger line reaches past its head by 21 units on the left, and the sign in front of the
    // head stands 10 units from it: the line's end lies under the sign's edge.
    {Mark::LedgerLine, Mark::Accidental,
     [](const DrawnMark& line, const DrawnMark& sign, const QRectF& shared) {
       return StruckTogether(line, sign) && shared.width() <= 11 + Tolerance;
     }},
};

bool AllowedPair(const DrawnMark& a, const DrawnMark& b, const QRectF& shared) {
  return std::any_of(std::begin(Allowances), std::end(Allowances), [&](const Allowance& rule) {
    return (rule.first == a.kind && rule.second == b.kind && rule.holds(a, b, shared)) ||
           (rule.first == b.kind && rule.second == a.kind && rule.holds(b, a, shared));
  });
}

// Overlapping by more than the device's rounding both ways.
bool Meet(const QRectF& shared) {
  return shared.width() > Tolerance && shared.height() > Tolerance;
}

// The air, in page units, that marks of other notes and a wedge beside a dynamic keep at the
// least. Heads and ledger lines of neighbouring notes touch, or run into one, when less than the
// device's rounding stands between them. A wedge keeps half a space from a dynamic mark, of
// which a quarter is asked here, so that the empty corner of a mark's box does not count.
constexpr qreal HeadAir = Tolerance;
constexpr qreal LedgerAir = Tolerance;
constexpr qreal WedgeAir = 12.5;
constexpr qreal MostAir = WedgeAir;

bool OtherDates(const DrawnMark& a, const DrawnMark& b) {
  return a.date >= 0 && b.date >= 0 && a.date != b.date;
}

// How far apart two marks stand across the page; negative where they overlap across it.
qreal ApartAcross(const DrawnMark& a, const DrawnMark& b) {
  return std::max(a.box.left(), b.box.left()) - std::min(a.box.right(), b.box.right());
}

bool OverlapAlong(const DrawnMark& a, const DrawnMark& b) {
  return a.box.top() < b.box.bottom() && b.box.top() < a.box.bottom();
}

// The mark's ink and the air around it.
QPainterPath WithAir(const DrawnMark& mark, qreal air) {
  QPainterPath ink = mark.ink;
  if (ink.isEmpty()) ink.addRect(mark.box);
  QPainterPathStroker around;
  around.setWidth(2 * air);
  return around.createStroke(ink).united(ink);
}

// Marks of neighbouring notes that touch, and must keep air between them.
bool NeedAir(const DrawnMark& a, const DrawnMark& b) {
  if (a.kind == Mark::Head && b.kind == Mark::Head)
    return OtherDates(a, b) && OverlapAlong(a, b) && ApartAcross(a, b) < HeadAir;
  if (a.kind == Mark::LedgerLine && b.kind == Mark::LedgerLine)
    return OtherDates(a, b) && std::abs(a.box.center().y() - b.box.center().y()) < 1 &&
           ApartAcross(a, b) < LedgerAir;
  return false;
}

}  // namespace

std::string PairName(const Found& found) {
  return std::string(Name(found.first)) + " and " + Name(found.second);
}

std::vector<Found> Collisions(const std::vector<DrawnMark>& marks) {
  std::vector<Found> found;
  for (size_t i = 0; i < marks.size(); ++i) {
    for (size_t j = i + 1; j < marks.size(); ++j) {
      const DrawnMark* a = &marks[i];
      const DrawnMark* b = &marks[j];
      if (a->box.isEmpty() || b->box.isEmpty()) continue;
      // Staff lines lie under everything.
      if (a->kind == Mark::StaffLine || b->kind == Mark::StaffLine) continue;
      if (b->kind < a->kind) std::swap(a, b);
      if (!a->box.adjusted(-MostAir, -MostAir, MostAir, MostAir).intersects(b->box)) continue;
      // The inks share a part of what the boxes share, and each rule that allows the boxes'
      // common part allows any part of it: the inks are compared only where the boxes collide.
      const QRectF boxes = a->box.intersected(b->box);
      const bool boxesCollide = Meet(boxes) && !AllowedPair(*a, *b, boxes);
      const QRectF shared = boxesCollide ? SharedInk(*a, *b) : boxes;
      bool collide = boxesCollide && Meet(shared) && !AllowedPair(*a, *b, shared);
      if (!collide && a->kind == Mark::Dynamic && b->kind == Mark::Wedge)
        collide = b->ink.intersects(WithAir(*a, WedgeAir));
      if (!collide) collide = NeedAir(*a, *b);
      if (collide) found.push_back({a->kind, b->kind, Describe(Overlap{*a, *b, shared}), *a, *b});
    }
  }
  return found;
}

}  // namespace ScoreOverlaps
