#pragma once

// The values in which a rendered score travels from the score builder to the score board: a set
// of rendered scores, one rendered score with its pages and note positions, one page with its
// pixmaps and layout values, and one note position. GUI thread only (they hold pixmaps).

#include <QChar>
#include <QPixmap>
#include <QRectF>
#include <QVector>

#include <memory>

namespace Core {

struct NoteDesc {
  int id = -1;
  double time = -1.0;  // onset in the score's time unit
  double x = 0;        // reference point in the page pixmap
  double headX = 0;
  double y = 0;
  QChar finger = QLatin1Char('1');
  QChar letter = QLatin1Char('a');
  bool flag = false;
  int page = 1;

  // By time, then by id. A time that is not a number is never less nor greater than another, so
  // this is no strict ordering once NaN times occur: sort with SortNotePositions.
  bool operator<(const NoteDesc& other) const;
  friend bool operator==(const NoteDesc&, const NoteDesc&) = default;
};

// Orders by time then id, keeping the order of equal positions and putting every position whose
// time is not a number after all others (a plain sort by operator< is undefined with NaN times).
void SortNotePositions(QVector<NoteDesc>& notes);

struct ScorePageDescription {
  ScorePageDescription() = default;
  // Three fresh fully transparent pixmaps: score and letters imageWidth x imageHeight, fingers
  // imageWidth x rowHeight.
  ScorePageDescription(int imageWidth, int rowHeight, int imageHeight);

  std::shared_ptr<QPixmap> score;
  std::shared_ptr<QPixmap> fingers;
  std::shared_ptr<QPixmap> letters;
  int reserved = 0;
  int lastMeasure = 0;  // the page ends at (lastMeasure + 1) x measureLength
  int musicStartX = 0;
  int musicEndX = 0;
  // Exercise scores: the first system's width and the first bar line's height and top; other
  // scores: the rendered music's size, staffTop 0.
  int width = 0;
  int height = 0;
  int staffTop = 0;
};

struct ScoresDescription {
  QVector<ScorePageDescription> pages;
  QVector<NoteDesc> notes;    // kept in SortNotePositions order
  QVector<QRectF> noteRects;  // single-note boxes in page-pixmap pixels, in the order found
  int highlightIndex = -1;    // first of two framed boxes of noteRects; -1 for none
  double measureLength = 0;
  int imageWidth = 0;
  int rowHeight = 0;
  int imageHeight = 0;
  int usedHeight = 0;
  int usedWidth = 0;
};

using ScoreSet = QVector<ScoresDescription>;

}  // namespace Core
