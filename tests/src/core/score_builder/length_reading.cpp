#include "tests/src/core/score_builder/length_reading.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {

namespace {

// Music font codes of the head glyphs and of the flags, by the flags they show.
constexpr unsigned int WholeHead = 119, HollowHead = 69;
const std::pair<unsigned int, int> FlagCounts[] = {{74, 1},  {106, 1}, {75, 2}, {107, 2},
                                                   {222, 3}, {221, 3}, {83, 4}, {115, 4}};

int FlagsOf(unsigned int code) {
  for (const auto& [glyph, count] : FlagCounts)
    if (glyph == code) return count;
  return 1;
}

class StaffLengths {
 public:
  explicit StaffLengths(const DrawnStaff& staff) : staff_(staff) {}

  LengthReading Read() {
    LengthReading reading;
    for (const DrawnNote& note : staff_.notes) stems_[&note] = StemsOf(note);
    std::vector<std::vector<const DrawnNote*>> heads = VisibleHeads();
    for (const std::vector<const DrawnNote*>& group : heads) {
      const DrawnNote& head = *group.front();
      std::set<unsigned int> kinds;
      for (const DrawnNote* note : group) kinds.insert(note->code);
      if (kinds.size() > 1) {
        reading.faults.push_back(Where(head) + ": heads of different lengths drawn as one");
        continue;
      }
      std::vector<int>& shown = reading.shown[&head];
      const double dots = DotsOf(head);
      if (head.code == WholeHead) {
        shown.push_back(int(TicksPerWhole * dots));
        continue;
      }
      const std::vector<const DrawnStem*>& stems = stems_.at(&head);
      const int base = head.code == HollowHead ? TicksPerWhole / 2 : TicksPerWhole / 4;
      if (stems.empty()) shown.push_back(int(base * dots));
      for (const DrawnStem* stem : stems) {
        const int halvings = head.code == HollowHead ? 0 : FlagsAndBeams(*stem);
        shown.push_back(int(std::lround(base * dots / (1 << halvings))));
        reading.byStem[&head].push_back({stem->up, shown.back()});
      }
    }
    return reading;
  }

 private:
  std::string Where(const DrawnNote& head) const {
    return "page " + std::to_string(staff_.page) + ", line " + std::to_string(staff_.system + 1) +
           ", staff " + std::to_string(staff_.number) + ", x " + std::to_string(int(head.head.x()));
  }

  // Heads drawn over one another, each group once.
  std::vector<std::vector<const DrawnNote*>> VisibleHeads() const {
    std::vector<std::vector<const DrawnNote*>> groups;
    for (const DrawnNote& note : staff_.notes) {
      auto same = std::find_if(groups.begin(), groups.end(), [&](const auto& group) {
        const DrawnNote& other = *group.front();
        return other.grace == note.grace &&
               std::abs(other.head.y() - note.head.y()) < 0.2 * staff_.spacing &&
               std::abs(other.box.center().x() - note.box.center().x()) < 0.4 * note.box.width();
      });
      if (same != groups.end())
        same->push_back(&note);
      else
        groups.push_back({&note});
    }
    return groups;
  }

  // The stems that start at the head or pass it on its way to a chord's last head: at one of
  // its sides, reaching its line or space.
  // A head's stem stands at its right when it points up, at its left when it points down; a
  // head a second away from its chord's next stands on the other side of the stem, and takes a
  // stem there only when it has none on its own side (the next note's may stand close).
  std::vector<const DrawnStem*> StemsOf(const DrawnNote& head) const {
    std::vector<const DrawnStem*> ownSide, otherSide;
    const qreal width = head.box.width(), y = head.head.y(), slack = 0.3 * staff_.spacing;
    for (const DrawnStem& stem : staff_.stems) {
      const qreal x = stem.box.center().x();
      const bool right = std::abs(x - head.box.right()) < 0.3 * width;
      const bool left = std::abs(x - head.box.left()) < 0.3 * width;
      const bool reaches = stem.up ? y >= stem.box.top() && y <= stem.box.bottom() + slack
                                   : y >= stem.box.top() - slack && y <= stem.box.bottom();
      if (!reaches) continue;
      if (stem.up ? right : left)
        ownSide.push_back(&stem);
      else if (right || left)
        otherSide.push_back(&stem);
    }
    return ownSide.empty() ? otherSide : ownSide;
  }

  // The flags at the stem's end, or the beams across the stem.
  int FlagsAndBeams(const DrawnStem& stem) const {
    const qreal end = stem.up ? stem.box.top() : stem.box.bottom();
    const qreal slack = 0.3 * staff_.spacing;
    // A flag hangs from the stem's end, at the stem's left edge.
    for (const DrawnGlyph& flag : staff_.flags)
      if (std::abs(flag.box.left() - stem.box.left()) < slack &&
          std::abs((stem.up ? flag.box.top() : flag.box.bottom()) - end) < slack)
        return FlagsOf(flag.code);
    const QRectF across(QPointF(stem.box.left() - 3, stem.box.top() - slack),
                        QPointF(stem.box.right() + 3, stem.box.bottom() + slack));
    return int(std::count_if(staff_.beams.begin(), staff_.beams.end(),
                             [&](const QPainterPath& beam) { return beam.intersects(across); }));
  }

  // What the dots right of the head (or of the heads its stem carries) make of its length: 1
  // for none, 1.5 for one, 1.75 for two.
  double DotsOf(const DrawnNote& head) const {
    qreal right = head.box.right();
    for (const DrawnStem* stem : stems_.at(&head))
      for (const auto& [other, stems] : stems_)
        if (std::count(stems.begin(), stems.end(), stem))
          right = std::max(right, other->box.right());
    const qreal width = head.box.width(), spacing = staff_.spacing;
    // The dots stand past a whole note's head of another voice beside this one a step away,
    // which is wider than this one.
    for (const DrawnNote& other : staff_.notes)
      if (&other != &head && other.box.width() > 1.2 * width &&
          std::abs(other.head.y() - head.head.y()) < 0.75 * spacing &&
          other.box.left() >= head.box.center().x() && other.box.left() <= right + 0.1 * width)
        right = std::max(right, other.box.right());
    // The dot of a head on a line stands in the space over it, or, where another voice's head
    // takes that space, in the space under it.
    const qreal lines = (head.head.y() - staff_.top) / spacing;
    const bool spaceOverTaken =
        std::abs(lines - std::round(lines)) < 0.25 &&
        std::any_of(staff_.notes.begin(), staff_.notes.end(), [&](const DrawnNote& other) {
          return other.grace == head.grace && std::abs(other.date - head.date) < 1e-6 &&
                 std::abs(head.head.y() - 0.5 * spacing - other.head.y()) < 0.25 * spacing;
        });
    const qreal lowest = (spaceOverTaken ? 0.75 : 0.3) * spacing;
    std::vector<qreal> columns;
    for (const DrawnGlyph& dot : staff_.dots) {
      const qreal dy = dot.box.center().y() - head.head.y();
      if (dot.box.left() < right - 0.1 * width || dot.box.left() > right + 1.3 * width ||
          dy < -0.75 * spacing || dy > lowest || OverAHead(dot) || HeadBetween(head, dot) ||
          RestBetween(head, dot))
        continue;
      if (std::none_of(columns.begin(), columns.end(),
                       [&](qreal x) { return std::abs(x - dot.box.left()) < 0.2 * spacing; }))
        columns.push_back(dot.box.left());
    }
    return columns.empty() ? 1 : columns.size() == 1 ? 1.5 : 1.75;
  }

  // A rest between the head and the dot, beside the dot's height, is the one the dot lengthens.
  bool RestBetween(const DrawnNote& head, const DrawnGlyph& dot) const {
    const qreal half = 0.5 * staff_.spacing, dotY = dot.box.center().y();
    return std::any_of(staff_.rests.begin(), staff_.rests.end(), [&](const DrawnGlyph& rest) {
      return rest.box.center().x() > head.box.right() && rest.box.center().x() < dot.box.left() &&
             dotY > rest.box.top() - half && dotY < rest.box.bottom() + half;
    });
  }

  // A staccato's dot stands over or under the middle of its head, a space or so away.
  bool OverAHead(const DrawnGlyph& dot) const {
    const QPointF at = dot.box.center();
    return std::any_of(staff_.notes.begin(), staff_.notes.end(), [&](const DrawnNote& head) {
      const qreal away = std::abs(at.y() - head.head.y());
      return std::abs(at.x() - head.box.center().x()) < 0.3 * head.box.width() &&
             away > 0.25 * staff_.spacing && away < 1.75 * staff_.spacing;
    });
  }

  // Another head on the head's line or space between it and the dot takes the dot, as a
  // voice's head beside another voice's on one note does, and so does the head of a later note
  // between them whose dot it may be.
  // A dot in the space over a head on a line is that space's head's, if one stands there at the
  // same time or between the head and the dot: a head of the note before, a column to the left,
  // has dots of its own.
  bool HeadBetween(const DrawnNote& head, const DrawnGlyph& dot) const {
    const qreal quarter = 0.25 * staff_.spacing, dotY = dot.box.center().y();
    const bool ownRow = std::abs(dotY - head.head.y()) < quarter;
    return std::any_of(staff_.notes.begin(), staff_.notes.end(), [&](const DrawnNote& other) {
      if (&other == &head) return false;
      const qreal x = other.box.center().x();
      const bool between = std::abs(other.head.y() - head.head.y()) < quarter &&
                           x > head.box.right() && x < dot.box.left();
      const bool inTheDotsRow =
          !ownRow && std::abs(other.head.y() - dotY) < quarter &&
          x > head.box.left() - head.box.width() && x < dot.box.left() &&
          (x > head.box.center().x() ||
           (other.grace == head.grace && std::abs(other.date - head.date) < 1e-6));
      // A note played later, standing between, is nearer: the dot is that note's if its row
      // lets it be.
      const qreal dy = dotY - other.head.y();
      const bool nearer = std::abs(other.date - head.date) > 1e-6 && x > head.box.right() &&
                          x < dot.box.left() && dy > -0.75 * staff_.spacing &&
                          dy < 0.3 * staff_.spacing;
      return between || inTheDotsRow || nearer;
    });
  }

  const DrawnStaff& staff_;
  std::map<const DrawnNote*, std::vector<const DrawnStem*>> stems_;
};

}  // namespace

LengthReading ReadLengths(const DrawnStaff& staff) {
  return StaffLengths(staff).Read();
}

}  // namespace ScoreOverlaps
