#pragma once

// A page of a laid-out score drawn through the engine's interface onto a recording device, and
// what the page shows as boxes of one kind each: a glyph's box is its ink in the music font, a
// text's its ink in its face, a line's the stroke of its pen, a filled shape's its outline; a
// glyph, a slanting stroke and a polygon also keep their ink's outline; a tuplet's number, the
// ground it is drawn on. Each box belongs to the staff it stands on or nearest to.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <string>
#include <vector>

class QRazidPainter;

namespace ScoreOverlaps {

enum class Mark {
  StaffLine,
  LedgerLine,
  Head,
  Stem,  // the glyphs of one stem make one mark
  Flag,
  Beam,
  Dot,  // of a duration or a staccato
  Accidental,
  Clef,
  Meter,
  Rest,
  Bar,     // bar lines and the glyphs of repeat and final bars
  Bowing,  // ties and slurs
  Articulation,
  Dynamic,
  Text,
  Wedge,          // a crescendo's or diminuendo's legs
  TupletBracket,  // a half of a tuplet's bracket, with its hook
  TupletNumber,   // with the white ground it is drawn on
  Line,           // other strokes: endings' brackets, the line joining a system's staves
  Sign,           // other glyphs
};

struct DrawnMark {
  Mark kind;
  QRectF box;  // in page units, 50 to the distance of two staff lines at the default size
  // Where the mark does not fill its box (glyphs, beams, curves, slanting strokes), its ink.
  QPainterPath ink;
  int staff;              // in the page's drawing order from 0; -1 for a page without staves
  std::string what;       // the glyph's code or the text, for messages
  unsigned int code = 0;  // a glyph's code in the music font
  std::string text;       // a text's characters
  QPointF at;             // where a glyph or a text was drawn: its reference point
  // The date of the note a head, stem, flag, dot, sign, articulation or ledger line is drawn
  // for, by the symbol map; -1 for other marks.
  float date = -1;
  int order = -1;  // when it was drawn: marks drawn later have higher numbers
  // The note or chord a head, stem, flag, dot, sign, articulation or ledger line is drawn for,
  // by the order the engine draws them: the drawing order of its first head; -1 for others.
  int event = -1;
  // The beams a beam is drawn with, or a stem ends in: the drawing order of the group's first
  // beam; -1 for other marks.
  int beams = -1;
};

// Where a note of the page has its head, and its date, by the symbol map.
struct NoteHead {
  QPointF point;
  float date;
};
std::vector<NoteHead> NoteHeads(QRazidPainter& score, int page);

// Where the lines of a staff lie on the page.
struct StaffBand {
  qreal left, top, right, bottom;
};

// The page's staves, in drawing order: the staff numbers of the marks.
std::vector<StaffBand> StaffBands(QRazidPainter& score, int page);

// What the page of the score (1 .. page count) shows: its glyphs, texts, strokes and filled
// shapes, each in the order they are drawn.
std::vector<DrawnMark> DrawnMarks(QRazidPainter& score, int page);

const char* Name(Mark kind);

// Whether the stem stands at the head's side, along it: an edge of the head lies in the stem's
// width (a head pushed to the other side of a chord's stem has its other edge there).
bool StemOnHead(const DrawnMark& stem, const DrawnMark& head);

// The end of a stem away from its head.
qreal StemTip(const DrawnMark& stem);

}  // namespace ScoreOverlaps
