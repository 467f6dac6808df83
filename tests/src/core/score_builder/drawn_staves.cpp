#include "tests/src/core/score_builder/drawn_staves.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "CScoreElement.h"
#include "Razid.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "tests/src/core/score_builder/drawn_marks.h"

namespace ScoreOverlaps {

namespace {

// Symbol map kinds and subtypes.
constexpr int EventKind = 1, OtherKind = 2, BarKind = 3, StaffKind = 5, SliceKind = 6,
              SystemKind = 7;
constexpr int NoteSubtype = 10, EmptySubtype = 12, StaffLinesSubtype = 5;
// The first glyph of a stem pointing up.
constexpr unsigned int StemUpStart = 219;
constexpr unsigned int ThinBarLine = 139;  // a bar line, and each line of a double bar
// A page's symbol map holds this many records and drops the rest.
constexpr int MapCapacity = 2048;

QRectF BoxOf(const CScoreElement* element) {
  float left, top, right, bottom;
  RazidMapGetElementBoundingBox(element, &left, &top, &right, &bottom);
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

std::vector<const CScoreElement*> Children(const CScoreElement* element, int kind) {
  std::vector<const CScoreElement*> found;
  for (int i = 0; i < RazidMapChildCount(element); ++i) {
    const CScoreElement* child = RazidMapGetChild(element, i);
    if (RazidMapGetElementType(child) == kind) found.push_back(child);
  }
  return found;
}

// A note as the symbol map has it, before its head is found among the glyphs.
struct MappedNote {
  QRectF box;
  qreal y;
  double date, duration;
  bool matched = false;
};

// One staff of a line while the page is read.
struct StaffOnPage {
  DrawnStaff drawn;
  std::vector<MappedNote> notes;
  std::vector<std::pair<qreal, double>> chords;  // where a chord stands and when it starts
};

struct SystemOnPage {
  QRectF box;
  std::vector<StaffOnPage> staves;  // top down
};

// How far apart two records of one staff line may stand, in page units.
constexpr float SameStaffLine = 0.5f;

// The staves of a system: every slice has its own records of them, one above the other.
SystemOnPage ReadSystem(const CScoreElement* system, int page, int index) {
  SystemOnPage read{BoxOf(system), {}};
  std::map<float, StaffOnPage> byTop;  // by the top line's height
  for (const CScoreElement* slice : Children(system, SliceKind)) {
    for (const CScoreElement* staff : Children(slice, StaffKind)) {
      float x, top;
      RazidMapGetElementRefPoint(staff, &x, &top);
      // The slices' records of one staff may stand a rounding apart: that is no other staff,
      // also where the two roundings fall on either side of a half.
      auto near = byTop.lower_bound(top - SameStaffLine);
      if (near == byTop.end() || near->first > top + SameStaffLine)
        near = byTop.emplace(top, StaffOnPage{}).first;
      StaffOnPage& on = near->second;
      on.drawn.page = page;
      on.drawn.system = index;
      on.drawn.top = top;
      on.drawn.spacing = 50;
      for (const CScoreElement* other : Children(staff, OtherKind))
        if (RazidMapGetElementSubType(other) == StaffLinesSubtype)
          on.drawn.spacing = BoxOf(other).height() / 4;
      for (const CScoreElement* bar : Children(staff, BarKind))
        on.drawn.bars.push_back(BoxOf(bar).left());
      for (const CScoreElement* event : Children(staff, EventKind)) {
        const double date = RazidMapGetElementDate(event);
        const double duration = RazidMapGetElementDuration(event);
        if (RazidMapGetElementSubType(event) == NoteSubtype) {
          float refX, refY;
          RazidMapGetElementRefPoint(event, &refX, &refY);
          on.notes.push_back({BoxOf(event), refY, date, duration});
        } else if (RazidMapGetElementSubType(event) == EmptySubtype && duration > 0) {
          on.chords.push_back({BoxOf(event).center().x(), date});
        }
      }
    }
  }
  int number = 1;
  for (auto& [top, staff] : byTop) {
    staff.drawn.number = number++;
    std::sort(staff.drawn.bars.begin(), staff.drawn.bars.end());
    read.staves.push_back(std::move(staff));
  }
  return read;
}

// Where a mark stands from the staff it belongs to.
enum class Side { Any, Over, Under };

// The staff of the page nearest to a point: of the systems, the one around it; of its staves,
// the one whose lines are nearest, or nearest under (over) a mark that stands over (under) its
// staff.
StaffOnPage* StaffAt(std::vector<SystemOnPage>& systems, QPointF at, Side side = Side::Any) {
  StaffOnPage* best = nullptr;
  qreal bestDistance = 0;
  for (SystemOnPage& system : systems) {
    const qreal across = std::max({system.box.left() - at.x(), at.x() - system.box.right(), 0.0});
    for (StaffOnPage& staff : system.staves) {
      const qreal bottom = staff.drawn.top + 4 * staff.drawn.spacing;
      if ((side == Side::Over && at.y() > bottom) ||
          (side == Side::Under && at.y() < staff.drawn.top))
        continue;
      const qreal along = std::max({staff.drawn.top - at.y(), at.y() - bottom, 0.0});
      const qreal distance = along + (across > 0 ? 1e6 + across : 0);
      if (!best || distance < bestDistance) best = &staff, bestDistance = distance;
    }
  }
  return best;
}

bool IsOctavaText(const std::string& text) {
  return text.empty() || text == "8" || text == "8ba" || text == "8vb" || text == "15" ||
         text == "15ba";
}

// The note of the staff whose head the glyph draws: on the same line or space, inside the
// note's box.
DrawnNote* AddHead(StaffOnPage& staff, const DrawnMark& head) {
  const QPointF middle = head.box.center();
  for (MappedNote& note : staff.notes) {
    if (note.matched || std::abs(note.y - head.at.y()) > 1 ||
        !note.box.adjusted(-1, -1, 1, 1).contains(QPointF(middle.x(), note.box.center().y())))
      continue;
    note.matched = true;
    DrawnNote drawn{note.date, false,    head.at, head.box.width(), {}, head.code,
                    head.box,  head.ink, {}};
    if (note.duration == 0) {
      // Of the notes that take no time, grace notes are drawn small; a chord's notes have the
      // chord's start in its empty event, which stands among their heads.
      drawn.grace = head.box.width() < 1.1 * staff.drawn.spacing;
      qreal nearest = 3 * head.box.width();
      for (const auto& [x, date] : staff.chords)
        if (!drawn.grace && std::abs(x - middle.x()) < nearest)
          drawn.date = date, nearest = std::abs(x - middle.x());
    }
    staff.drawn.notes.push_back(drawn);
    return &staff.drawn.notes.back();
  }
  return nullptr;
}

// The note whose head the glyph draws, on whichever staff the map has it (a head far under one
// staff may be nearer the next): on the same line or space, inside the note's box.
DrawnNote* AddHead(std::vector<SystemOnPage>& systems, const DrawnMark& head) {
  for (SystemOnPage& system : systems)
    for (StaffOnPage& staff : system.staves)
      if (DrawnNote* note = AddHead(staff, head)) return note;
  return nullptr;
}

// The tips of a curve's outline, where a tie leaves its head and meets the one it holds.
DrawnTie TipsOf(const QPainterPath& ink) {
  DrawnTie tie{{1e9, 0}, {-1e9, 0}};
  for (int i = 0; i < ink.elementCount(); ++i) {
    const QPointF point = ink.elementAt(i);
    if (point.x() < tie.from.x()) tie.from = point;
    if (point.x() > tie.to.x()) tie.to = point;
  }
  return tie;
}

// The staff of the head nearest a tip of the tie, where a head is near (a tie far over its staff
// may stand nearer the staff above); else the staff nearest the tie's end.
StaffOnPage* StaffOfTie(std::vector<SystemOnPage>& systems, const DrawnTie& tie) {
  StaffOnPage* nearest = nullptr;
  qreal distance = 0;
  for (SystemOnPage& system : systems)
    for (StaffOnPage& staff : system.staves)
      for (const DrawnNote& note : staff.drawn.notes)
        for (QPointF tip : {tie.from, tie.to}) {
          const QPointF off = tip - (note.head + QPointF(note.headWidth / 2, 0));
          if (std::abs(off.x()) > 1.5 * note.headWidth || std::abs(off.y()) > staff.drawn.spacing)
            continue;
          if (!nearest || off.manhattanLength() < distance)
            nearest = &staff, distance = off.manhattanLength();
        }
  return nearest ? nearest : StaffAt(systems, tie.to);
}

// The marks that make a note's length, and rests, kept on the staff they stand on; false for
// any other mark.
bool ReadStroke(std::vector<SystemOnPage>& systems, const DrawnMark& mark) {
  StaffOnPage* staff = StaffAt(systems, mark.box.center());
  if (!staff) return false;
  DrawnStaff& on = staff->drawn;
  const qreal spacing = on.spacing;
  // A stem, its flag or beam and a dot may stand nearer another staff than their head's, of
  // its system or of the next: each staff of the page keeps them, to be found from its heads.
  std::vector<DrawnStaff*> system;
  for (SystemOnPage& line : systems)
    for (StaffOnPage& other : line.staves) system.push_back(&other.drawn);
  switch (mark.kind) {
    case Mark::Stem:
      for (DrawnStaff* each : system) each->stems.push_back({mark.box, mark.code == StemUpStart});
      return true;
    case Mark::Flag:
      for (DrawnStaff* each : system) each->flags.push_back({mark.box, mark.code, mark.ink});
      return true;
    case Mark::Beam:
      for (DrawnStaff* each : system) each->beams.push_back(mark.ink);
      return true;
    case Mark::Dot:
      for (DrawnStaff* each : system) each->dots.push_back({mark.box, mark.code, mark.ink});
      return true;
    case Mark::Rest:
      on.rests.push_back({mark.box, mark.code, mark.ink});
      return true;
    case Mark::Bar:
      // A whole or half rest is a filled bar half a space high; a bar line spans the staff.
      if (mark.box.height() < 0.75 * spacing && mark.box.width() < 2 * spacing) {
        QPainterPath ink;
        ink.addRect(mark.box);
        on.rests.push_back({mark.box, 0, ink});
        return true;
      }
      // The lines of a double bar tell no symbol map of themselves, but a reader sees the
      // measure end there as at any bar line.
      if (mark.code == ThinBarLine && mark.box.height() > 3 * spacing)
        on.bars.insert(std::upper_bound(on.bars.begin(), on.bars.end(), mark.box.left()),
                       mark.box.left());
      return false;
    default:
      return false;
  }
}

void ReadMarks(std::vector<SystemOnPage>& systems, const std::vector<DrawnMark>& marks,
               std::vector<DrawnText>& texts, int page) {
  // A note's signs are drawn right after its head; the signs of a key after what comes before.
  DrawnNote* lastNote = nullptr;
  std::vector<DrawnSign>* key = nullptr;
  StaffOnPage* keyStaff = nullptr;
  std::vector<DrawnTie> ties;
  for (const DrawnMark& mark : marks) {
    if (mark.kind == Mark::StaffLine || mark.kind == Mark::LedgerLine) continue;
    if (mark.kind == Mark::Bowing) {
      ties.push_back(TipsOf(mark.ink));
      continue;
    }
    if (ReadStroke(systems, mark)) {
      key = nullptr;
      continue;
    }
    const bool glyph = mark.code != 0;
    if (!glyph && mark.kind != Mark::Text) continue;
    if (mark.kind == Mark::Text && IsOctavaText(mark.text)) {
      // An octava up is marked over its staff, one down under it.
      const bool under = mark.text.find("ba") != std::string::npos;
      if (StaffOnPage* staff = StaffAt(systems, mark.at, under ? Side::Under : Side::Over))
        staff->drawn.octavas.push_back({mark.at, 0, mark.text});
      continue;
    }
    StaffOnPage* staff = StaffAt(systems, mark.at);
    if (!staff) continue;
    if (mark.kind == Mark::Text) {
      const StaffOnPage* over = StaffAt(systems, mark.at, Side::Under);
      texts.push_back({page, (over ? over : staff)->drawn.system, mark.box, mark.text});
      continue;
    }
    if (mark.kind != Mark::Accidental) key = nullptr;
    if (mark.kind == Mark::Head) {
      lastNote = AddHead(systems, mark);
    } else if (mark.kind == Mark::Clef) {
      staff->drawn.clefs.push_back({mark.at, mark.code, {}});
    } else if (mark.kind == Mark::Accidental) {
      const bool ofNote = lastNote && std::abs(lastNote->head.y() - mark.at.y()) < 1 &&
                          mark.box.right() <= lastNote->head.x() + 1;
      if (ofNote) {
        lastNote->signs.push_back(mark.code);
        lastNote->signInks.push_back(mark.ink);
      } else {
        if (!key || keyStaff != staff) key = &staff->drawn.keys.emplace_back(), keyStaff = staff;
        key->push_back({mark.at, mark.code, {}});
      }
    }
  }
  for (const DrawnTie& tie : ties)
    if (StaffOnPage* staff = StaffOfTie(systems, tie)) staff->drawn.ties.push_back(tie);
}

}  // namespace

DrawnScore ReadDrawnScore(QRazidPainter& score) {
  DrawnScore drawn;
  int systemCount = 0;
  for (int page = 1; page <= score.pageCount(); ++page) {
    const std::vector<DrawnMark> marks = DrawnMarks(score, page);
    int records = 0;
    for (int kind = 0; kind <= 9; ++kind)
      records += RazidMapGetElementCountForType(score.grHandle(), page, kind);
    if (records >= MapCapacity) drawn.complete = false;
    std::vector<SystemOnPage> systems;
    for (const CScoreElement* system :
         Children(RazidMapGetRootElement(score.grHandle(), page), SystemKind))
      systems.push_back(ReadSystem(system, page, systemCount++));
    ReadMarks(systems, marks, drawn.texts, page);
    for (SystemOnPage& system : systems)
      for (StaffOnPage& staff : system.staves) {
        for (const MappedNote& note : staff.notes)
          if (!note.matched) drawn.complete = false;
        DrawnStaff& into = drawn.staves.emplace_back(std::move(staff.drawn));
        std::stable_sort(
            into.notes.begin(), into.notes.end(),
            [](const DrawnNote& a, const DrawnNote& b) { return a.head.x() < b.head.x(); });
      }
  }
  return drawn;
}

}  // namespace ScoreOverlaps
