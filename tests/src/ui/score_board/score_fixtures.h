#pragma once

// Rendered scores made by hand for the board's tests: pages filled with one colour, so the tests
// can see where a page lands, and note positions.

#include <QColor>
#include <QImage>

#include "src/core/score_builder/score_records.h"

namespace ScoreBoardTesting {

inline Core::ScoresDescription SolidPages(int pages, int imageWidth, int rowHeight, int imageHeight,
                                          QColor score, QColor fingers) {
  Core::ScoresDescription description;
  description.imageWidth = imageWidth;
  description.rowHeight = rowHeight;
  description.imageHeight = imageHeight;
  for (int i = 0; i < pages; ++i) {
    description.pages.append(Core::ScorePageDescription(imageWidth, rowHeight, imageHeight));
    description.pages.last().score->fill(score);
    description.pages.last().fingers->fill(fingers);
  }
  return description;
}

inline Core::NoteDesc At(double time, double x, int page) {
  Core::NoteDesc note;
  note.time = time;
  note.x = x;
  note.page = page;
  return note;
}

inline QImage Transparent(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

}  // namespace ScoreBoardTesting
