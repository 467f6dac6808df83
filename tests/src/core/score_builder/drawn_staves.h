#pragma once

// What a reader of the page meets on each staff of each line of a score: note heads with the
// signs in front of them, bar lines, clefs, key signatures, octava marks and ties, from the
// glyphs, texts and curves drawn and the symbol map's notes. The engine's own notion of pitch plays
// no part: a note is where its head is drawn.

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <string>
#include <vector>

class QRazidPainter;

namespace ScoreOverlaps {

struct DrawnNote {
  double date;   // when it is played, in whole notes from the start
  bool grace;    // drawn before the note it leads to, taking no time
  QPointF head;  // the head glyph's reference point: its left end, on its line or space
  qreal headWidth;
  std::vector<unsigned int> signs;  // accidental glyphs drawn for it, left to right
  unsigned int code = 0;            // of the head glyph: filled, hollow or whole
  QRectF box;                       // around the head's ink
  QPainterPath ink;                 // the head's
  std::vector<QPainterPath> signInks;
};

// A stem, from its glyphs: the head sits at its lower end when it points up.
struct DrawnStem {
  QRectF box;
  bool up;
};

// A glyph with its ink's box: a flag, a dot, a rest.
struct DrawnGlyph {
  QRectF box;
  unsigned int code;  // 0 for a rest drawn as a filled bar
  QPainterPath ink;
};

// A glyph or text at its reference point.
struct DrawnSign {
  QPointF at;
  unsigned int code;  // of a glyph
  std::string text;   // of a text
};

// The tips of a tie's curve.
struct DrawnTie {
  QPointF from, to;
};

struct DrawnStaff {
  int page, system;              // the system counts on across pages, from 0
  int number;                    // from 1, the top staff of its system
  qreal top, spacing;            // the top line and the distance of two lines
  std::vector<DrawnNote> notes;  // left to right
  std::vector<qreal> bars;       // where bar lines stand
  std::vector<DrawnSign> clefs;
  // The signs of key signatures, a key's signs in a row; a note's own signs are not among them.
  std::vector<std::vector<DrawnSign>> keys;
  std::vector<DrawnSign> octavas;  // the octava texts: "8", "8ba", and the empty one that ends it
  std::vector<DrawnTie> ties;      // and slurs, or their parts on the line
  // The stems, flags, beams and dots of the whole page, of this staff's heads and others'.
  std::vector<DrawnStem> stems;
  std::vector<DrawnGlyph> flags;
  std::vector<QPainterPath> beams;
  std::vector<DrawnGlyph> dots;  // of lengths and of staccatos alike
  std::vector<DrawnGlyph> rests;  // of this staff
};

struct DrawnText {
  int page;
  // The line of the nearest staff over the text, which a syllable is sung in, however many rows
  // of words stand under that staff; the nearest staff's line for a text over the first staff.
  int system;
  QRectF box;
  std::string text;
};

struct DrawnScore {
  std::vector<DrawnStaff> staves;  // line by line, top down within a line
  std::vector<DrawnText> texts;    // every other text
  bool complete = true;            // false when a page's symbol map lost records
};

DrawnScore ReadDrawnScore(QRazidPainter& score);

}  // namespace ScoreOverlaps
