#pragma once

// What a reader of the page meets on each staff of each line of a score: note heads with the
// signs in front of them, bar lines, clefs, key signatures, octava marks and ties, from the
// glyphs, texts and curves drawn and the symbol map's notes. The engine's own notion of pitch plays
// no part: a note is where its head is drawn.

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
};

// A glyph or text at its reference point.
struct DrawnSign {
  QPointF at;
  unsigned int code;  // of a glyph
  std::string text;   // of a text
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
  std::vector<QRectF> ties;        // the curves of ties and slurs, or of their parts on the line
};

struct DrawnText {
  int page, system;
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
