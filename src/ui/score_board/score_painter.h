#pragma once

// Paints rendered pages into the rows of the score board, an exercise score placed by its first
// system and staff with its highlight frame, and the play-position mark. Made on the stack for one
// paint; owns nothing.

#include <QPoint>
#include <QRect>
#include <QRectF>

#include <optional>

#include "src/core/score_builder/score_records.h"

class QPainter;

namespace UI {

class ScorePainter {
 public:
  enum Overlay : unsigned int { Fingers = 1, Letters = 2 };

  ScorePainter(const Core::ScoresDescription* description, unsigned int overlays);

  // Page `page` in its slot among `rows` rows of the update rectangle, limited to it.
  void UpdatePage(QPainter& painter, int page, int rows, QRect update);
  void PaintPage(QPainter& painter, int page, int rows);
  // Page 0 with its first bar line's staff centred vertically in rect, and the frame round the
  // highlighted pair of notes.
  void PaintExerciseScore(QPainter& painter, QRect rect);
  QRect UpdatePositionMark(QPainter& painter, int page, int rows, float x, QRect update);

  // Where PaintExerciseScore puts the page pixmap's top-left corner.
  QPoint ExerciseScoreOrigin(const QRect& rect) const;
  // The frame round boxes highlightIndex and highlightIndex + 1, relative to the pixmap's corner;
  // none without a highlight or without both boxes.
  std::optional<QRectF> HighlightFrame() const;
  // What PaintExerciseScore draws into rect: the inked part of the page with the highlight frame;
  // empty when it draws nothing.
  QRect ExerciseScoreShownRect(const QRect& rect) const;

 private:
  int RowTop(int page, int rows, const QRect& update) const;

  const Core::ScoresDescription* description;
  unsigned int overlays;
};

}  // namespace UI
