#include "text_stack.h"

#include <algorithm>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "ARCast.h"
#include "GRBowing.h"
#include "GRDummy.h"
#include "GRDynamics.h"
#include "GRIntens.h"
#include "GRNewTuplet.h"
#include "GRNote.h"
#include "GRSText.h"
#include "GRStaff.h"
#include "GRSystemStartEndStruct.h"
#include "NEPointerList.h"

namespace {
// Between a text and a dynamic mark, wedge or tuplet over it, in line spaces.
constexpr float kMarkGap = 0.2f;
constexpr float kNone = -std::numeric_limits<float>::infinity();
constexpr float kHair = 0.01f;
// The width of a date, in whole notes: far below any note's length.
constexpr float kInstant = 1e-6f;

// How low the things already placed under a line reach over stretches of it: a stretch asks
// for the lowest bottom among the boxes placed across it, and a placed box lowers its own
// stretch. The x positions are known beforehand, so the stretches are runs of them.
class Floor {
 public:
  explicit Floor(std::vector<float> xs) : mXs(std::move(xs)) {
    std::sort(mXs.begin(), mXs.end());
    mXs.erase(std::unique(mXs.begin(), mXs.end()), mXs.end());
    mLowest.assign(4 * std::max<size_t>(1, mXs.size()), kNone);
    mAll.assign(mLowest.size(), kNone);
  }
  // The lowest bottom placed over any part of [left, right).
  float lowestOver(float left, float right) const {
    auto [from, to] = runOf(left, right);
    return from < to ? lowest(1, 0, span(), from, to) : kNone;
  }
  void place(float left, float right, float bottom) {
    auto [from, to] = runOf(left, right);
    if (from < to) lower(1, 0, span(), from, to, bottom);
  }

 private:
  int span() const { return static_cast<int>(std::max<size_t>(1, mXs.size())); }
  // The indices of the x positions from left up to right.
  std::pair<int, int> runOf(float left, float right) const {
    auto const from = std::lower_bound(mXs.begin(), mXs.end(), left);
    auto const to = std::lower_bound(mXs.begin(), mXs.end(), right);
    return {static_cast<int>(from - mXs.begin()), static_cast<int>(to - mXs.begin())};
  }
  // Node covers [begin, end); mLowest holds the lowest bottom under it, mAll one placed across
  // all of it.
  float lowest(int node, int begin, int end, int from, int to) const {
    if (to <= begin || end <= from) return kNone;
    if (from <= begin && end <= to) return mLowest[node];
    int const middle = (begin + end) / 2;
    return std::max({mAll[node], lowest(2 * node, begin, middle, from, to),
                     lowest(2 * node + 1, middle, end, from, to)});
  }
  void lower(int node, int begin, int end, int from, int to, float bottom) {
    if (to <= begin || end <= from) return;
    mLowest[node] = std::max(mLowest[node], bottom);
    if (from <= begin && end <= to) {
      mAll[node] = std::max(mAll[node], bottom);
      return;
    }
    int const middle = (begin + end) / 2;
    lower(2 * node, begin, middle, from, to, bottom);
    lower(2 * node + 1, middle, end, from, to, bottom);
  }

  std::vector<float> mXs;
  std::vector<float> mLowest;
  std::vector<float> mAll;
};
}  // namespace

float TextStack::bottomUnder(GRStaff const& staff) {
  TextStack stack;
  // The springs have not placed the elements yet: marks meet where their dates do.
  stack.mByDate = true;
  NEPointerList const& elements = staff.getElements();
  // Nor does the staff belong to a system: its own notes are the line's.
  GRText::NotesReach notes{0, staff.getDredgeSize()};
  for (void* at = elements.GetHeadPosition(); at;) {
    GRNotationElement const* element = elements.GetNext(at);
    if (!element->isGREventClass()) continue;
    NVRect const box = element->getBoundingBox() + element->getPosition();
    notes.top = std::min(notes.top, box.top);
    notes.bottom = std::max(notes.bottom, box.bottom);
  }
  stack.mNotes = &notes;
  for (void* at = elements.GetHeadPosition(); at;)
    stack.add(elements.GetNext(at), &staff, staff.getGRSystem());
  stack.place();
  return stack.bottom();
}

GRText const* TextStack::textOf(GRNotationElement const* element) {
  // A text that runs on from the line before stands here as a placeholder.
  if (auto const* dummy = ar_cast<GRDummy const>(element))
    element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
  return element ? ar_cast<GRText const>(element) : nullptr;
}

void TextStack::add(GRNotationElement const* element, GRStaff const* staff,
                    GRSystem const* system) {
  float const gap = kMarkGap * staff->getLineSpace();
  // Where the element stands across the line, or its dates.
  auto across = [&](float left, float right) {
    if (!mByDate) return std::pair{left, right};
    auto const date = static_cast<float>(element->getRelativeTimePosition().getValue());
    return std::pair{date, date + kInstant};
  };
  if (auto const* mark = ar_cast<GRIntens const>(element)) {
    // Its letters' ink begins left of its box.
    NVRect const box = mark->letters();
    if (box.right <= box.left) return;
    auto const [left, right] = across(box.left, box.right);
    mObstacles.push_back({left, right, box.top, box.bottom + gap});
    mXs.insert(mXs.end(), {left, right});
    return;
  }
  if (auto const* figure = ar_cast<GRSText const>(element)) {
    // An octava's figure under the staff stands under the notes, where the texts would.
    std::optional<float> const bottom = figure->bottomUnder();
    if (!bottom) return;
    // Its box's top holds its height.
    NVRect const box = figure->getBoundingBox();
    float const x = figure->getPosition().x;
    auto const [left, right] = across(x + box.left, x + box.right);
    mObstacles.push_back({left, right, *bottom - box.top, *bottom + gap});
    mXs.insert(mXs.end(), {left, right});
    return;
  }
  // A range that runs on from the line before stands here as a placeholder.
  if (auto const* dummy = ar_cast<GRDummy const>(element))
    element = dynamic_cast<GRNotationElement const*>(dummy->getTag());
  if (!element) return;
  if (!mByDate) {
    // A curve is held by the staff it began on; the notes at the ends of its piece on this line
    // know it.
    if (auto const* curve = dynamic_cast<GRBowing const*>(element))
      return addCurve(curve, staff, system);
    if (NEPointerList const* tags =
            element->isGREventClass() ? element->getAssociations() : nullptr)
      for (void* pos = tags->GetHeadPosition(); pos;)
        if (auto const* curve = dynamic_cast<GRBowing const*>(tags->GetNext(pos)))
          addCurve(curve, staff, system);
  }
  auto const* wedge = ar_cast<GRDynamics const>(element);
  auto const* tuplet = wedge ? nullptr : ar_cast<GRNewTuplet const>(element);
  if (mByDate && (wedge || tuplet)) {
    // Before the springs a wedge or a tuplet's bracket has no piece to tell: it takes the room
    // it keeps beside the staff over the dates of its notes.
    auto const* range = static_cast<GRPTagARNotationElement const*>(element);
    NEPointerList* notes = range->getAssociations();
    NVRect const room = wedge ? wedge->roomBeside(staff) : tuplet->roomBeside(staff);
    if (!notes || notes->GetCount() == 0 || room.bottom <= room.top || room.top < 0) return;
    auto const left = static_cast<float>(notes->GetHead()->getRelativeTimePosition().getValue());
    auto const right =
        static_cast<float>(notes->GetTail()->getRelativeEndTimePosition().getValue());
    mObstacles.push_back({left, right, room.top, room.bottom + gap});
    mXs.insert(mXs.end(), {left, right});
    return;
  }
  if (wedge) {
    GRSystemStartEndStruct const* sse = wedge->getSystemStartEndStruct(system);
    auto const* piece =
        sse ? dynamic_cast<GRDynamics::GRDynamicsSaveStruct const*>(sse->p) : nullptr;
    // A wedge above the staff meets no text under it.
    if (!piece || piece->placement == 1 || piece->length <= 0) return;
    float const left = piece->point.x;
    float const right = left + piece->length;
    mObstacles.push_back({left, right, piece->point.y - piece->upperOpening,
                          piece->point.y + piece->lowerOpening + gap});
    mXs.insert(mXs.end(), {left, right});
    return;
  }
  if (tuplet) {
    // A bracket or number above the staff ends above every text: its bottom lowers nothing.
    NVRect const box = tuplet->drawnBox(system);
    if (box.right <= box.left) return;
    mObstacles.push_back({box.left, box.right, box.top, box.bottom + gap});
    mXs.insert(mXs.end(), {box.left, box.right});
    return;
  }
  GRText const* text = textOf(element);
  GRText::Placement at;
  if (!text || mTextYs.count(text) || !text->placementOn(system, staff, &at, mNotes)) return;
  // A text with no letters takes no room.
  if (at.right <= at.left) return;
  std::tie(at.left, at.right) = across(at.left, at.right);
  mTextYs.emplace(text, at.y);
  mTexts.push_back({text, at});
  mXs.insert(mXs.end(), {at.left, at.right});
}

void TextStack::addCurve(GRBowing const* curve, GRStaff const* staff, GRSystem const* system) {
  if (!system || !mCurves.insert(curve).second) return;
  std::optional<CurveBand> const band = curve->bandOn(system);
  if (!band) return;
  float const gap = kMarkGap * staff->getLineSpace();
  band->forEachSlice(kCurveSlice, [&](NVRect const& slice) {
    mCurveInk.push_back({slice.left, slice.top, slice.right, slice.bottom + gap});
    mXs.insert(mXs.end(), {slice.left, slice.right});
  });
}

void TextStack::place() {
  if (mTexts.empty()) return;
  Floor floor(std::move(mXs));
  for (Box const& mark : mObstacles) floor.place(mark.left, mark.right, mark.bottom);
  for (NVRect const& ink : mCurveInk) floor.place(ink.left, ink.right, ink.bottom);
  std::sort(mCurveInk.begin(), mCurveInk.end(),
            [](NVRect const& a, NVRect const& b) { return a.left < b.left; });

  // The written texts stand where they are; the others gather into units that move as one.
  std::vector<Box> fixed;
  // The text each written box stands for.
  std::vector<std::pair<Box, size_t>> written;
  // A row of syllables holds those that follow each other along the line; a syllable that
  // would run into the one before (as those of a chord's notes do) starts a further row under it.
  struct Unit {
    std::vector<size_t> members;
    int sub;      // the unit's place among the rows of its lyrics range
    float right;  // where its members reach to
    // How far the unit moved to make room for what stands over it, and how low it reaches,
    // once placed.
    float moved = 0;
    float bottom = kNone;
  };
  std::vector<Unit> units;
  std::unordered_map<void const*, std::vector<size_t>> rows;
  // The units of the syllables hung on each event: the verses of its voice there.
  std::unordered_map<void const*, std::vector<size_t>> versesAt;
  for (size_t i = 0; i < mTexts.size(); ++i) {
    GRText::Placement const& at = mTexts[i].at;
    // A verse written at its own height stays there too, but moves with the verses over it.
    if (at.placed && !at.row) {
      written.push_back({{at.left, at.right, at.y + at.top, at.y + at.top + at.height}, i});
      continue;
    }
    if (!at.row) {
      units.push_back({{i}, 0, at.right});
      continue;
    }
    std::vector<size_t>& subs = rows[at.row];
    auto const room = std::find_if(subs.begin(), subs.end(),
                                   [&](size_t unit) { return units[unit].right < at.left; });
    size_t const into = room == subs.end() ? units.size() : *room;
    if (into == units.size()) {
      subs.push_back(into);
      units.push_back({{i}, static_cast<int>(subs.size()) - 1, at.right});
    } else {
      units[into].members.push_back(i);
      units[into].right = at.right;
    }
    if (at.event) versesAt[at.event].push_back(into);
  }
  std::sort(written.begin(), written.end(),
            [](auto const& a, auto const& b) { return a.first.top < b.first.top; });
  for (auto const& [box, text] : written) fixed.push_back(box);
  auto key = [&](Unit const& unit) {
    // The rows of a lyrics range keep the place of its first syllable.
    size_t const first = unit.sub == 0
                             ? unit.members.front()
                             : units[rows[mTexts[unit.members.front()].at.row][0]].members.front();
    GRText::Placement const& at = mTexts[first].at;
    return std::make_tuple(at.rank, at.verse, at.noteY, first, unit.sub);
  };
  std::vector<std::tuple<int, int, float, size_t, int>> keys;
  for (Unit const& unit : units) keys.push_back(key(unit));
  std::vector<size_t> order(units.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });

  // Puts a unit down, moved by the shift.
  auto place = [&](size_t placed, float shift) {
    Unit& unit = units[placed];
    for (size_t i : unit.members) {
      GRText::Placement const& at = mTexts[i].at;
      float const y = at.y + shift;
      mTextYs[mTexts[i].text] = y;
      floor.place(at.left, at.right, y + at.top + at.height);
      unit.bottom = std::max(unit.bottom, y + at.top + at.height);
      unit.moved = std::max(unit.moved, shift);
    }
    mBottom = std::max(mBottom, unit.bottom);
  };

  // Each unit moves down as far as its lowest need: below what is placed over its members'
  // stretches, and clear of the texts written over its own place. Verses stand in their order:
  // a row of syllables stays under what the verses before it put down.
  for (size_t next : order) {
    std::vector<size_t> const& unit = units[next].members;
    float shift = 0;
    if (mTexts[unit.front()].at.placed) {
      // A verse written at its own height keeps its distance from the verses of its voice over
      // it (the others at its notes), wherever they moved, and stays under them and under its
      // own rows before it.
      float over = 0;
      float overBottom = kNone;
      GRText::Placement const& first = mTexts[unit.front()].at;
      std::vector<size_t> const& subs = rows[first.row];
      for (int sub = 0; sub < units[next].sub; ++sub)
        overBottom = std::max(overBottom, units[subs[sub]].bottom);
      for (size_t i : unit) {
        for (size_t other : versesAt[mTexts[i].at.event]) {
          Unit const& verse = units[other];
          if (verse.bottom == kNone || mTexts[verse.members.front()].at.verse >= first.verse)
            continue;
          over = std::max(over, verse.moved);
          overBottom = std::max(overBottom, verse.bottom);
        }
      }
      shift = over;
      for (size_t i : unit) {
        GRText::Placement const& at = mTexts[i].at;
        shift = std::max(shift, overBottom - at.top - at.y);
        // Nor does it stand on what the verses before it, of any voice, or the marks put down
        // over its syllables.
        shift = std::max(shift, floor.lowestOver(at.left, at.right) - at.top - at.y);
      }
      place(next, shift);
      continue;
    }
    for (bool moved = true; moved;) {
      moved = false;
      for (size_t i : unit) {
        GRText::Placement const& at = mTexts[i].at;
        float const top = at.y + shift + at.top;
        float need = std::max(top, floor.lowestOver(at.left, at.right));
        for (Box const& box : fixed) {
          if (box.right <= at.left || at.right <= box.left) continue;
          // What is written lower stays under the text, however close it comes.
          bool const lower = box.top >= at.y + at.top;
          if (!lower && box.top < need + at.height && need < box.bottom)
            need = std::max(need, box.bottom);
        }
        // A hair's gap is no meeting: rounding must not keep the unit creeping down.
        if (need > top + kHair) shift += need - top, moved = true;
      }
    }
    place(next, shift);
  }
  // A written text stays where it is written unless what was placed meets it there: then it moves
  // down, under that, as far as it must.
  std::vector<Box> taken = mObstacles;
  for (Unit const& unit : units)
    for (size_t i : unit.members) {
      GRText::Placement const& at = mTexts[i].at;
      float const top = mTextYs[mTexts[i].text] + at.top;
      taken.push_back({at.left, at.right, top, top + at.height});
    }
  for (size_t f = 0; f < fixed.size(); ++f) {
    Box box = fixed[f];
    // A text written over the staff stays there: a curve under the notes passes far below it,
    // one over them under it.
    bool const underStaff = box.top >= 0;
    auto clearOf = [&box](Box const& other) {
      if (other.right <= box.left || box.right <= other.left || other.bottom <= box.top + kHair ||
          box.bottom <= other.top + kHair)
        return false;
      float const shift = other.bottom - box.top;
      box.top += shift, box.bottom += shift;
      return true;
    };
    for (bool moved = true; moved;) {
      moved = false;
      for (Box const& other : taken) moved = clearOf(other) || moved;
      if (!underStaff) continue;
      // The slices are sorted by their left ends and none is wider than a slice.
      auto const first =
          std::lower_bound(mCurveInk.begin(), mCurveInk.end(), box.left - kCurveSlice,
                           [](NVRect const& ink, float left) { return ink.left < left; });
      for (auto ink = first; ink != mCurveInk.end() && ink->left < box.right; ++ink)
        moved = clearOf({ink->left, ink->right, ink->top, ink->bottom}) || moved;
    }
    if (box.top != fixed[f].top) mTextYs[mTexts[written[f].second].text] += box.top - fixed[f].top;
    taken.push_back(box);
    mBottom = std::max(mBottom, box.bottom);
  }
}
