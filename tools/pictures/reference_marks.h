#pragma once
// Marks of the reference pages that the notation engine does not draw (or draws only as a word):
// painted over an engraved picture next to the notes the engine placed. Every function takes the
// boxes of the notes in drawing order and the distance between two staff lines, so the marks
// scale with the music they sit on.
#include <QPainter>
#include <QRectF>
#include <QString>

#include <optional>
#include <vector>

namespace Pictures {

struct EngravedNotes {
  std::vector<QRectF> notes;  // one box per note or chord, left to right
  qreal staffSpace = 10;      // distance of two staff lines in pixels
};

enum class ReferenceMark {
  None,
  Arpeggio,       // wavy vertical line left of the first chord
  Tremolo,        // three slashes through the first note's stem
  Staccatissimo,  // a wedge above the first note
  PedalDown,      // "Ped." below the first note
  PedalUp,        // the release star below the first note
  Trill,          // "tr" above the first note
  Acciaccatura,   // a slash through the first (grace) note's stem
  OttavaAlta,     // "8va" and a dashed line above the notes
  OttavaBassa,    // "8vb" and a dashed line below the notes
  Volta,          // a bracket numbered 1 above the notes
};

void PaintReferenceMark(QPainter& painter, ReferenceMark mark, const EngravedNotes& engraved);

// The mark a picture list names in words ("arpeggio", "pedal-down", "ottava-alta", ...: the
// enumerator's name in lower case, words joined by "-"); nothing for a name no mark has.
std::optional<ReferenceMark> ReferenceMarkNamed(const QString& name);

}  // namespace Pictures
