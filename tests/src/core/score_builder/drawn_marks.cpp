#include "tests/src/core/score_builder/drawn_marks.h"

#include <QFontMetricsF>
#include <QHash>
#include <QRawFont>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

#include "CScoreElement.h"
#include "VGDevice.h"
#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/music_font.h"
#include "lib-score-engine/graphic/drawn_score.h"

namespace ScoreOverlaps {

namespace {

using EngineTesting::PlacingDevice;

// The placing device, keeping besides the font, alignment and scale of each glyph and text
// whether a text has a ground of its own, and which lines are a tuplet's bracket.
class MarkingDevice : public PlacingDevice {
 public:
  using PlacingDevice::PlacingDevice;

  struct Face {
    const VGFont* font;
    unsigned int align;
    float xscale, yscale;
    bool ground = false;  // drawn on a ground of its own colour
  };
  std::vector<Face> glyphFaces, textFaces;  // by the index of the glyph or the text
  std::vector<bool> bracketLines;           // by the index of the line
  // When each glyph, text, shape and line was drawn, counting every drawing call.
  std::vector<int> glyphOrder, textOrder, shapeOrder, lineOrder;

  void DrawMusicSymbol(float x, float y, unsigned int symbol) override {
    PlacingDevice::DrawMusicSymbol(x, y, symbol);
    glyphOrder.push_back(mCalls++);
    glyphFaces.push_back({GetMusicFont(), GetFontAlign(), GetXScale(), GetYScale()});
    mNumberX.reset();
  }
  void DrawString(float x, float y, char const* s, int count) override {
    PlacingDevice::DrawString(x, y, s, count);
    textOrder.push_back(mCalls++);
    const bool ground = GetFontBackgroundColor().alpha != 0;
    textFaces.push_back({GetTextFont(), GetFontAlign(), GetXScale(), GetYScale(), ground});
    // Only a tuplet's number stands on a ground, centred over its place.
    mNumberX.reset();
    if (ground && (GetFontAlign() & VGDevice::kAlignCenter)) mNumberX = texts.back().x;
  }
  void Polygon(float const* xs, float const* ys, int count) override {
    PlacingDevice::Polygon(xs, ys, count);
    shapeOrder.resize(shapes.size(), mCalls++);
    mNumberX.reset();
  }
  void Rectangle(float l, float t, float r, float b) override {
    PlacingDevice::Rectangle(l, t, r, b);
    shapeOrder.resize(shapes.size(), mCalls++);
    mNumberX.reset();
  }
  void Line(float x1, float y1, float x2, float y2) override {
    PlacingDevice::Line(x1, y1, x2, y2);
    lineOrder.resize(lines.size(), mCalls++);
  }
  void LineTo(float x, float y) override {
    PlacingDevice::LineTo(x, y);
    lineOrder.resize(lines.size(), mCalls++);
  }
  void PushPen(VGColor const& c, float width) override {
    PlacingDevice::PushPen(c, width);
    if (mNumberX && !mBracketFrom) mBracketFrom = lines.size();
  }
  void PopPen() override {
    PlacingDevice::PopPen();
    bracketLines.resize(lines.size(), false);
    if (mBracketFrom && IsBracket(*mBracketFrom)) {
      for (size_t i = *mBracketFrom; i < lines.size(); ++i) bracketLines[i] = true;
    }
    mBracketFrom.reset();
    mNumberX.reset();
  }

 private:
  // The strokes drawn with the pen pushed right after a number are its bracket when two of them
  // leave the same gap on either side of it.
  bool IsBracket(size_t from) const {
    std::vector<float> ends;
    for (size_t i = from; i < lines.size(); ++i)
      ends.insert(ends.end(), {lines[i].x1, lines[i].x2});
    return std::any_of(ends.begin(), ends.end(), [&](float left) {
      const float gap = *mNumberX - left;
      return gap > 0 && std::any_of(ends.begin(), ends.end(), [&](float right) {
               return std::abs(right - *mNumberX - gap) < 0.5f;
             });
    });
  }

  int mCalls = 0;
  std::optional<float> mNumberX;  // where a tuplet's number was just drawn
  std::optional<size_t> mBracketFrom;
};

// The symbol-map record of a staff's lines: another symbol of subtype 5.
constexpr int MapOther = 2;
constexpr int StaffLinesSubtype = 5;
// The pen of the staff lines is half transparent, and no other stroke is.
constexpr int StaffLineAlpha = 122;

// The music font's codes by what they draw; any other code is a sign.
struct GlyphKind {
  Mark kind;
  std::initializer_list<unsigned int> codes;
};
const GlyphKind GlyphKinds[] = {
    {Mark::Stem, {150, 151, 218, 219}},
    {Mark::LedgerLine, {95}},
    {Mark::Head, {69, 88, 119}},
    {Mark::Flag, {74, 75, 83, 106, 107, 115, 221, 222, 245, 246, 247, 248}},
    {Mark::Dot, {46}},
    {Mark::Accidental, {35, 98, 110, 134, 180}},
    {Mark::Clef, {38, 63, 66}},
    {Mark::Meter, {48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 67, 99}},
    {Mark::Rest, {47, 64, 97, 108, 165, 174, 249}},
    {Mark::Bar, {92, 93, 125, 139}},
    {Mark::Articulation, {44, 45, 62, 85, 94, 118}},
    {Mark::Dynamic, {39, 70, 80, 102, 112, 131, 132, 240, 241, 242, 243, 244}},
};

Mark KindOfGlyph(unsigned int code) {
  for (const GlyphKind& kind : GlyphKinds)
    if (std::find(kind.codes.begin(), kind.codes.end(), code) != kind.codes.end()) return kind.kind;
  return Mark::Sign;
}

bool IsStemPiece(unsigned int code) {
  return KindOfGlyph(code) == Mark::Stem;
}

// The piece that lengthens a stem begun with a start glyph, or lengthened with that piece.
unsigned int StemPieceAfter(unsigned int code) {
  return code == 218 || code == 150 ? 150 : 151;
}

// Where the Qt device puts text drawn at (0, 0) with the alignment.
QPointF AlignmentShift(unsigned int align, const QFontMetricsF& metrics, const QString& text) {
  QPointF shift;
  if (align & VGDevice::kAlignTop)
    shift.ry() += metrics.ascent();
  else if (align & VGDevice::kAlignBottom)
    shift.ry() -= metrics.descent();
  if (align & VGDevice::kAlignRight)
    shift.rx() -= metrics.horizontalAdvance(text);
  else if (align & VGDevice::kAlignCenter)
    shift.rx() -= 0.5 * metrics.horizontalAdvance(text);
  return shift;
}

// The outline of a music symbol drawn at (0, 0), kept for the process: a page draws the same
// few symbols over and over.
const QPainterPath& SymbolOutline(const GFontQt& font, unsigned int code, unsigned int align) {
  static QHash<QString, QPainterPath> outlines;
  const QString key = font.symbolFontKey() + QChar(u'/') + QString::number(code) + QChar(u'/') +
                      QString::number(align);
  auto found = outlines.find(key);
  if (found != outlines.end()) return *found;
  const QString symbol(font.Symbol(code));
  QPainterPath outline;
  const QRawFont raw = QRawFont::fromFont(font.symbolFont());
  for (quint32 glyph : raw.glyphIndexesForString(symbol)) outline.addPath(raw.pathForGlyph(glyph));
  outline.translate(AlignmentShift(align, QFontMetricsF(font.symbolFont()), symbol));
  return *outlines.insert(key, outline);
}

QPainterPath GlyphInk(const PlacingDevice::Glyph& glyph, const MarkingDevice::Face& face) {
  const auto* font = static_cast<const GFontQt*>(face.font);
  if (!font) return {};
  const QTransform place(face.xscale, 0, 0, face.yscale, glyph.x, glyph.y);
  return place.map(SymbolOutline(*font, glyph.code, face.align));
}

QRectF TextBox(const PlacingDevice::Text& text, const MarkingDevice::Face& face) {
  const auto* font = static_cast<const GFontQt*>(face.font);
  if (!font || text.text.empty()) return {};
  const QFontMetricsF metrics(font->textFont());
  const QString words = QString::fromLatin1(text.text.c_str());
  // A ground covers the line's height over the words' advance; ink only the letters.
  const QRectF drawn = face.ground ? QRectF(0, -metrics.ascent(), metrics.horizontalAdvance(words),
                                            metrics.ascent() + metrics.descent())
                                   : metrics.tightBoundingRect(words);
  const QRectF placed = drawn.translated(AlignmentShift(face.align, metrics, words));
  return QRectF(text.x + placed.left() * face.xscale, text.y + placed.top() * face.yscale,
                placed.width() * face.xscale, placed.height() * face.yscale);
}

// The stroke of a line drawn with its pen: a point is drawn as a square of the pen.
QPolygonF Stroke(const PlacingDevice::Segment& line) {
  const QPointF from(line.x1, line.y1), to(line.x2, line.y2);
  const QPointF along = to - from;
  const qreal length = std::hypot(along.x(), along.y());
  const QPointF unit = length > 0 ? along / length : QPointF(1, 0);
  const qreal half = line.width / 2;
  const QPointF side(-unit.y() * half, unit.x() * half);
  const QPointF end = unit * half;
  return QPolygonF({from - end + side, to + end + side, to + end - side, from - end - side});
}

bool Joined(const PlacingDevice::Segment& a, const PlacingDevice::Segment& b) {
  auto same = [](float x1, float y1, float x2, float y2) { return x1 == x2 && y1 == y2; };
  return same(a.x1, a.y1, b.x1, b.y1) || same(a.x1, a.y1, b.x2, b.y2) ||
         same(a.x2, a.y2, b.x1, b.y1) || same(a.x2, a.y2, b.x2, b.y2);
}

void AddGlyphs(const MarkingDevice& device, std::vector<DrawnMark>& marks) {
  const std::vector<PlacingDevice::Glyph>& glyphs = device.glyphs;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const PlacingDevice::Glyph& glyph = glyphs[i];
    const int order = device.glyphOrder[i];
    QPainterPath ink = GlyphInk(glyph, device.glyphFaces[i]);
    // A stem is drawn as pieces, each from where the one before it ends: a start and the pieces
    // that lengthen it the same way. Another start begins another stem, though it stand at the
    // same place, as the stems of two staves' notes at one time do.
    if (IsStemPiece(glyph.code)) {
      while (i + 1 < glyphs.size() && glyphs[i + 1].code == StemPieceAfter(glyph.code) &&
             glyphs[i + 1].x == glyph.x) {
        const QPainterPath piece = GlyphInk(glyphs[i + 1], device.glyphFaces[i + 1]);
        if (!ink.boundingRect().adjusted(0, -1, 0, 1).intersects(piece.boundingRect())) break;
        ++i;
        ink.addPath(piece);
      }
    }
    ink.setFillRule(Qt::WindingFill);
    marks.push_back({KindOfGlyph(glyph.code),
                     ink.boundingRect(),
                     ink,
                     -1,
                     "glyph " + std::to_string(glyph.code),
                     glyph.code,
                     {},
                     {glyph.x, glyph.y}});
    marks.back().order = order;
  }
}

// The pen of a wedge's legs, heavier than any other stroke's.
constexpr float WedgePen = 6;

// What a figure of strokes is: a wedge's legs, a half of a tuplet's bracket, or another line.
Mark KindOfFigure(const MarkingDevice& device, size_t first, size_t last) {
  bool wedge = true, bracket = true;
  for (size_t part = first; part <= last; ++part) {
    wedge = wedge && device.lines[part].width == WedgePen;
    bracket = bracket && device.bracketLines[part];
  }
  return wedge ? Mark::Wedge : bracket ? Mark::TupletBracket : Mark::Line;
}

// Strokes drawn one after the other from common ends make one figure: a hairpin, a bracket,
// the brackets of endings side by side.
void AddLines(MarkingDevice& device, std::vector<DrawnMark>& marks) {
  const std::vector<PlacingDevice::Segment>& lines = device.lines;
  device.bracketLines.resize(lines.size(), false);
  device.lineOrder.resize(lines.size(), -1);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].alpha == StaffLineAlpha) {
      marks.push_back(
          {Mark::StaffLine, Stroke(lines[i]).boundingRect(), {}, -1, "staff line", 0, {}, {}});
      marks.back().order = device.lineOrder[i];
      continue;
    }
    const size_t first = i;
    auto joins = [&](const PlacingDevice::Segment& next) {
      return next.alpha != StaffLineAlpha &&
             std::any_of(lines.begin() + long(first), lines.begin() + long(i) + 1,
                         [&](const auto& part) { return Joined(part, next); });
    };
    while (i + 1 < lines.size() && joins(lines[i + 1])) ++i;
    QPainterPath ink;
    ink.setFillRule(Qt::WindingFill);
    for (size_t part = first; part <= i; ++part) ink.addPolygon(Stroke(lines[part]));
    const Mark kind = KindOfFigure(device, first, i);
    marks.push_back({kind, ink.boundingRect(), ink, -1, Name(kind), 0, {}, {}});
    marks.back().order = device.lineOrder[first];
  }
}

// A rectangle standing upright is a bar line or an accolade's bar, one lying flat the block of a
// rest; a polygon of four corners is a beam, a longer one a curve.
void AddShapes(const MarkingDevice& device, std::vector<DrawnMark>& marks) {
  for (size_t i = 0; i < device.shapes.size(); ++i) {
    const PlacingDevice::Shape& shape = device.shapes[i];
    const QRectF box(QPointF(std::min(shape.left, shape.right), std::min(shape.top, shape.bottom)),
                     QPointF(std::max(shape.left, shape.right), std::max(shape.top, shape.bottom)));
    QPolygonF corners;
    for (size_t corner = 0; corner < shape.xs.size(); ++corner)
      corners << QPointF(shape.xs[corner], shape.ys[corner]);
    QPainterPath ink;
    if (!corners.isEmpty()) ink.addPolygon(corners);
    const Mark kind = corners.isEmpty()     ? (box.width() > box.height() ? Mark::Rest : Mark::Bar)
                      : corners.size() == 4 ? Mark::Beam
                                            : Mark::Bowing;
    marks.push_back(
        {kind, box, ink, -1, "shape of " + std::to_string(corners.size()) + " corners", 0, {}, {}});
    marks.back().order = device.shapeOrder[i];
  }
}

}  // namespace

std::vector<StaffBand> StaffBands(QRazidPainter& score, int page) {
  std::vector<StaffBand> staves;
  CScoreElement* root = RazidMapGetRootElement(score.grHandle(), page);
  for (int n = 1; CScoreElement* lines = RazidMapFindDeepNthElementOfType(root, MapOther, n); ++n) {
    if (RazidMapGetElementSubType(lines) != StaffLinesSubtype) continue;
    float left, top, right, bottom;
    RazidMapGetElementBoundingBox(lines, &left, &top, &right, &bottom);
    staves.push_back({left, top, right, bottom});
  }
  return staves;
}

namespace {

// The staff a box stands on: of the staves above or below it, the nearest; of those beside
// it, the nearest when there is no other. A staff's lines are drawn slice by slice, and the
// note at a slice's start stands with its middle on the seam of two pieces of the lines: a box
// whose middle lies on a seam, to a rounding, stands on the first piece, so that the heads of
// notes struck together there stand on one staff. Pieces nearer than the first by no more than
// a rounding are not nearer.
int StaffOf(const QRectF& box, const std::vector<StaffBand>& staves) {
  constexpr qreal Seam = 1;
  int best = -1;
  qreal bestDistance = 0;
  const QPointF middle = box.center();
  for (size_t i = 0; i < staves.size(); ++i) {
    const StaffBand& staff = staves[i];
    qreal across = std::max({staff.left - middle.x(), middle.x() - staff.right, 0.0});
    if (across <= Seam) across = 0;
    const qreal along = std::max({staff.top - middle.y(), middle.y() - staff.bottom, 0.0});
    const qreal distance = along + (across > 0 ? 1e6 + across : 0);
    if (best < 0 || distance < bestDistance - Seam) best = int(i), bestDistance = distance;
  }
  return best;
}

}  // namespace

namespace {

// The symbol-map records of notes: events of subtype 10.
constexpr int MapEvent = 1;
constexpr int NoteSubtype = 10;

void CollectNoteHeads(const CScoreElement* element, std::vector<NoteHead>& heads) {
  if (RazidMapGetElementType(element) == MapEvent &&
      RazidMapGetElementSubType(element) == NoteSubtype) {
    float x, y;
    RazidMapGetHeadPoint(element, &x, &y);
    heads.push_back({QPointF(x, y), RazidMapGetElementDate(element)});
  }
  for (int i = 0; i < RazidMapChildCount(element); ++i)
    CollectNoteHeads(RazidMapGetChild(element, i), heads);
}

bool IsOneOf(Mark kind, std::initializer_list<Mark> kinds) {
  return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

// What is drawn between a chord's stem and its heads, and between one head and the next: its
// flag, beams, ties, words, ledger lines, the signs, dots and articulations of its notes, and a
// bar line the staff draws in between.
const std::initializer_list<Mark> ChordParts = {
    Mark::LedgerLine, Mark::Flag,       Mark::Beam, Mark::Bowing,       Mark::Text,
    Mark::Head,       Mark::Accidental, Mark::Dot,  Mark::Articulation, Mark::Bar};

// The head a note's part (a stem, flag, dot, sign, articulation or ledger line) belongs to, by
// the order the engine draws them: a note draws its ledger lines, its head, its stem and flag,
// then its dots, signs and articulations; a chord its stem and flag first, then its ledger lines
// and each note's head with its signs. Null for a mark drawn apart from any note.
const DrawnMark* HeadOfPart(const std::vector<DrawnMark*>& drawn, size_t at) {
  auto is = [&](size_t i, std::initializer_list<Mark> kinds) {
    return IsOneOf(drawn[i]->kind, kinds);
  };
  // The first head after the mark that `fits`, past ledger lines and, from a chord's stem, its
  // flag and heads.
  auto forward = [&](std::initializer_list<Mark> past,
                     const std::function<bool(const DrawnMark&)>& fits) -> const DrawnMark* {
    for (size_t i = at + 1; i < drawn.size(); ++i) {
      if (is(i, {Mark::Head}) && fits(*drawn[i])) return drawn[i];
      if (!is(i, past)) break;
    }
    return nullptr;
  };
  auto any = [](const DrawnMark&) { return true; };
  // The last head before the mark, past the note's other parts and one stem at the most.
  auto backward = [&]() -> const DrawnMark* {
    int stems = 0;
    for (size_t i = at; i-- > 0;) {
      if (is(i, {Mark::Head})) return drawn[i];
      if (is(i, {Mark::Stem}) && ++stems > 1) break;
      if (!is(i, {Mark::Stem, Mark::Flag, Mark::Dot, Mark::Accidental, Mark::Articulation})) break;
    }
    return nullptr;
  };
  switch (drawn[at]->kind) {
    case Mark::LedgerLine:
      return forward({Mark::LedgerLine}, any);
    case Mark::Stem: {
      auto attached = [&](const DrawnMark& head) { return StemOnHead(*drawn[at], head); };
      if (at > 0 && is(at - 1, {Mark::Head}) && attached(*drawn[at - 1])) return drawn[at - 1];
      return forward(ChordParts, attached);
    }
    case Mark::Flag:
      // A flag is drawn right after its stem.
      if (at > 0 && is(at - 1, {Mark::Stem})) return HeadOfPart(drawn, at - 1);
      if (const DrawnMark* head = backward()) return head;
      return forward({Mark::LedgerLine}, any);
    case Mark::Dot:
    case Mark::Accidental:
    case Mark::Articulation:
      return backward();
    default:
      return nullptr;
  }
}

// A head glyph at a note's head point takes the note's date (a head elsewhere, in a tempo mark,
// is no note); the note's other parts take the date of their head, and a ledger line drawn apart
// from a head that of the nearest head on its staff.
void DateNoteMarks(const std::vector<NoteHead>& notes, std::vector<DrawnMark>& marks) {
  std::vector<const DrawnMark*> heads;
  for (DrawnMark& mark : marks) {
    if (mark.kind != Mark::Head) continue;
    for (const NoteHead& note : notes)
      if (mark.box.contains(note.point)) mark.date = note.date;
    if (mark.date >= 0) heads.push_back(&mark);
  }
  // Only heads are read while the parts take their dates.
  std::vector<DrawnMark*> drawn;
  for (DrawnMark& mark : marks) drawn.push_back(&mark);
  std::stable_sort(drawn.begin(), drawn.end(),
                   [](const DrawnMark* a, const DrawnMark* b) { return a->order < b->order; });
  // A chord draws its stem, flag, beams, ties and words first, then its heads, each with the ledger
  // lines, signs, dots and articulations of its note; a note draws its head, then its stem. The
  // heads of a chord without a stem stand in one column, at one date.
  const DrawnMark* chordStem = nullptr;
  const DrawnMark* lastHead = nullptr;
  const DrawnMark* previous = nullptr;
  for (DrawnMark* mark : drawn) {
    if (mark->kind == Mark::Head) {
      if (chordStem && StemOnHead(*chordStem, *mark))
        mark->event = chordStem->order;
      else if (lastHead && lastHead->date == mark->date &&
               std::abs(lastHead->box.left() - mark->box.left()) < mark->box.width())
        mark->event = lastHead->event;
      else
        mark->event = mark->order;
      lastHead = mark;
    } else if (mark->kind == Mark::Stem) {
      const bool own = previous && previous->kind == Mark::Head && StemOnHead(*mark, *previous);
      chordStem = own ? nullptr : mark;
      lastHead = nullptr;
    } else if (!IsOneOf(mark->kind, ChordParts)) {
      chordStem = lastHead = nullptr;
    }
    previous = mark;
  }
  for (size_t i = 0; i < drawn.size(); ++i) {
    if (const DrawnMark* head = HeadOfPart(drawn, i)) {
      drawn[i]->date = head->date;
      drawn[i]->event = head->event;
    }
  }
  for (DrawnMark& line : marks) {
    if (line.kind != Mark::LedgerLine || line.date >= 0) continue;
    const DrawnMark* nearest = nullptr;
    qreal distance = 0;
    for (const DrawnMark* head : heads) {
      const qreal apart = std::abs(head->box.center().x() - line.box.center().x());
      if (head->staff == line.staff && (!nearest || apart < distance))
        nearest = head, distance = apart;
    }
    if (nearest) line.date = nearest->date;
  }
}

}  // namespace

bool StemOnHead(const DrawnMark& stem, const DrawnMark& head) {
  constexpr qreal Slack = 3;
  auto inStem = [&](qreal x) {
    return x >= stem.box.left() - Slack && x <= stem.box.right() + Slack;
  };
  return (inStem(head.box.left()) || inStem(head.box.right())) &&
         stem.box.top() <= head.box.bottom() + Slack && head.box.top() <= stem.box.bottom() + Slack;
}

qreal StemTip(const DrawnMark& stem) {
  const bool down = stem.code == 218 || stem.code == 150;
  return down ? stem.box.bottom() : stem.box.top();
}

std::vector<NoteHead> NoteHeads(QRazidPainter& score, int page) {
  std::vector<NoteHead> heads;
  if (const CScoreElement* root = RazidMapGetRootElement(score.grHandle(), page))
    CollectNoteHeads(root, heads);
  return heads;
}

const char* Name(Mark kind) {
  switch (kind) {
    case Mark::StaffLine:
      return "staff line";
    case Mark::LedgerLine:
      return "ledger line";
    case Mark::Head:
      return "head";
    case Mark::Stem:
      return "stem";
    case Mark::Flag:
      return "flag";
    case Mark::Beam:
      return "beam";
    case Mark::Dot:
      return "dot";
    case Mark::Accidental:
      return "accidental";
    case Mark::Clef:
      return "clef";
    case Mark::Meter:
      return "meter";
    case Mark::Rest:
      return "rest";
    case Mark::Bar:
      return "bar";
    case Mark::Bowing:
      return "tie or slur";
    case Mark::Articulation:
      return "articulation";
    case Mark::Dynamic:
      return "dynamic";
    case Mark::Text:
      return "text";
    case Mark::Wedge:
      return "wedge";
    case Mark::TupletBracket:
      return "tuplet bracket";
    case Mark::TupletNumber:
      return "tuplet number";
    case Mark::Line:
      return "line";
    case Mark::Sign:
      return "sign";
  }
  return "?";
}

namespace {

// The beams of a group are drawn one after the other; a stem ends in the group whose beam holds
// its tip.
void GroupBeams(std::vector<DrawnMark>& marks) {
  std::vector<DrawnMark*> drawn;
  for (DrawnMark& mark : marks) drawn.push_back(&mark);
  std::stable_sort(drawn.begin(), drawn.end(),
                   [](const DrawnMark* a, const DrawnMark* b) { return a->order < b->order; });
  std::vector<const DrawnMark*> beams;
  const DrawnMark* previous = nullptr;
  for (DrawnMark* mark : drawn) {
    if (mark->kind == Mark::Beam) {
      mark->beams = previous && previous->kind == Mark::Beam ? previous->beams : mark->order;
      beams.push_back(mark);
    }
    previous = mark;
  }
  constexpr qreal Slack = 3;
  for (DrawnMark& stem : marks) {
    if (stem.kind != Mark::Stem) continue;
    const QRectF tip(stem.box.left(), StemTip(stem) - Slack, stem.box.width(), 2 * Slack);
    for (const DrawnMark* beam : beams)
      if (beam->box.intersects(tip) && beam->ink.intersects(tip)) stem.beams = beam->beams;
  }
}

}  // namespace

std::vector<DrawnMark> DrawnMarks(QRazidPainter& score, int page) {
  RazidPageFormat format;
  RazidGetPageFormat(score.grHandle(), page, &format);
  MarkingDevice device(nullptr);
  device.keepCalls = false;
  device.page = page;
  // The fonts the Qt device starts with, for what is drawn before the engine chooses any.
  GSystemQt system(nullptr);
  const std::unique_ptr<const VGFont> textFont(system.CreateVGFont("Arial", 10, 0));
  const std::unique_ptr<const VGFont> musicFont(
      system.CreateVGFont(RazidQt::kMusicFontFamily, 10, 0));
  device.SetTextFont(textFont.get());
  device.SetMusicFont(musicFont.get());
  RazidOnDrawDesc request;
  request.handle = score.grHandle();
  request.hdc = &device;
  request.page = page;
  request.updateRegion.erase = true;
  // One pixel to the unit, or a hair more: boxes stay in page units.
  request.sizex = std::max(1, int(std::ceil(format.width)));
  request.sizey = std::max(1, int(std::ceil(format.height)));
  if (RazidOnDraw(&request) != 0) return {};

  std::vector<DrawnMark> marks;
  AddGlyphs(device, marks);
  for (size_t i = 0; i < device.texts.size(); ++i) {
    const PlacingDevice::Text& text = device.texts[i];
    const Mark kind = device.textFaces[i].ground ? Mark::TupletNumber : Mark::Text;
    marks.push_back({kind,
                     TextBox(text, device.textFaces[i]),
                     {},
                     -1,
                     "text \"" + text.text + "\"",
                     0,
                     text.text,
                     {text.x, text.y}});
    marks.back().order = device.textOrder[i];
  }
  AddLines(device, marks);
  AddShapes(device, marks);
  const std::vector<StaffBand> staves = StaffBands(score, page);
  for (DrawnMark& mark : marks) mark.staff = StaffOf(mark.box, staves);
  DateNoteMarks(NoteHeads(score, page), marks);
  GroupBeams(marks);
  return marks;
}

}  // namespace ScoreOverlaps
