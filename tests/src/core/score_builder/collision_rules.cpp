#include "tests/src/core/score_builder/collision_rules.h"

#include <QPainterPathStroker>

#include <algorithm>
#include <cmath>
#include <functional>

#include "tests/src/core/score_builder/overlap_rules.h"

namespace ScoreOverlaps {

namespace {

// The air, in page units (50 to a staff space), that neighbours keep at the least. Heads and
// ledger lines of neighbouring notes touch, or run into one, when less than the device's
// rounding stands between them. A wedge keeps half a space from a dynamic mark, of which a
// quarter is asked here, so that the empty corner of a mark's box does not count.
constexpr qreal HeadAir = Tolerance;
constexpr qreal LedgerAir = Tolerance;
constexpr qreal WedgeAir = 12.5;

std::vector<const DrawnMark*> OfKind(const std::vector<DrawnMark>& marks,
                                     std::initializer_list<Mark> kinds) {
  std::vector<const DrawnMark*> found;
  for (const DrawnMark& mark : marks)
    if (std::find(kinds.begin(), kinds.end(), mark.kind) != kinds.end() && !mark.box.isEmpty())
      found.push_back(&mark);
  return found;
}

// How far apart two marks stand across the page; negative where they overlap across it.
qreal ApartAcross(const DrawnMark& a, const DrawnMark& b) {
  return std::max(a.box.left(), b.box.left()) - std::min(a.box.right(), b.box.right());
}

bool OverlapAlong(const DrawnMark& a, const DrawnMark& b) {
  return a.box.top() < b.box.bottom() && b.box.top() < a.box.bottom();
}

bool OtherDates(const DrawnMark& a, const DrawnMark& b) {
  return a.date >= 0 && b.date >= 0 && a.date != b.date;
}

// Overlapping by more than the device's rounding both ways.
bool Meet(const QRectF& shared) {
  return shared.width() > Tolerance && shared.height() > Tolerance;
}

// The mark's ink and the air around it.
QPainterPath WithAir(const DrawnMark& mark, qreal air) {
  QPainterPath ink = mark.ink;
  if (ink.isEmpty()) ink.addRect(mark.box);
  QPainterPathStroker around;
  around.setWidth(2 * air);
  return around.createStroke(ink).united(ink);
}

class Finder {
 public:
  explicit Finder(const std::vector<DrawnMark>& marks) : marks(marks) {}

  // Calls `meets` for each pair of a mark of the first kinds and one of the second, and keeps
  // those it says meet as the collision.
  void Pairs(Collision collision, std::initializer_list<Mark> first,
             std::initializer_list<Mark> second,
             const std::function<bool(const DrawnMark&, const DrawnMark&)>& meets) {
    const std::vector<const DrawnMark*> as = OfKind(marks, first);
    const std::vector<const DrawnMark*> bs = OfKind(marks, second);
    // Pairs of one kind are taken once each.
    const bool oneKind = as == bs;
    for (size_t i = 0; i < as.size(); ++i) {
      for (size_t j = oneKind ? i + 1 : 0; j < bs.size(); ++j)
        if (meets(*as[i], *bs[j])) Keep(collision, *as[i], *bs[j]);
    }
  }

  std::vector<Found> found;

 private:
  void Keep(Collision collision, const DrawnMark& a, const DrawnMark& b) {
    found.push_back({collision, Describe(Overlap{a, b, SharedInk(a, b)})});
  }
  const std::vector<DrawnMark>& marks;
};

}  // namespace

const char* Name(Collision collision) {
  switch (collision) {
    case Collision::HeadsTouch:
      return "heads of neighbouring notes touch";
    case Collision::LedgerLinesMerge:
      return "ledger lines of neighbouring notes merge";
    case Collision::WedgeTouchesDynamic:
      return "a wedge touches a dynamic mark";
    case Collision::BracketCrossesText:
      return "a tuplet's bracket or number crosses a text";
    case Collision::BeamThroughHead:
      return "a beam runs through a head";
  }
  return "?";
}

std::vector<Found> Collisions(const std::vector<DrawnMark>& marks) {
  Finder finder(marks);
  finder.Pairs(Collision::HeadsTouch, {Mark::Head}, {Mark::Head},
               [](const DrawnMark& a, const DrawnMark& b) {
                 return OtherDates(a, b) && OverlapAlong(a, b) && ApartAcross(a, b) < HeadAir;
               });
  finder.Pairs(Collision::LedgerLinesMerge, {Mark::LedgerLine}, {Mark::LedgerLine},
               [](const DrawnMark& a, const DrawnMark& b) {
                 return OtherDates(a, b) && std::abs(a.box.center().y() - b.box.center().y()) < 1 &&
                        ApartAcross(a, b) < LedgerAir;
               });
  finder.Pairs(
      Collision::WedgeTouchesDynamic, {Mark::Wedge}, {Mark::Dynamic},
      [](const DrawnMark& wedge, const DrawnMark& mark) {
        return wedge.box.intersects(mark.box.adjusted(-WedgeAir, -WedgeAir, WedgeAir, WedgeAir)) &&
               wedge.ink.intersects(WithAir(mark, WedgeAir));
      });
  finder.Pairs(Collision::BracketCrossesText, {Mark::TupletBracket, Mark::TupletNumber},
               {Mark::Text},
               [](const DrawnMark& a, const DrawnMark& b) { return Meet(SharedInk(a, b)); });
  finder.Pairs(Collision::BeamThroughHead, {Mark::Beam}, {Mark::Head},
               [](const DrawnMark& a, const DrawnMark& b) { return Meet(SharedInk(a, b)); });
  return finder.found;
}

}  // namespace ScoreOverlaps
