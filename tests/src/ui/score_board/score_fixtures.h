#pragma once

// Rendered scores made by hand for the board's tests: pages filled with one colour, or marked with
// a line where the staff's middle is, so the tests can see where a page lands.

#include <QColor>
#include <QImage>
#include <QPainter>

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

inline QImage Transparent(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

inline bool IsColour(const QImage& image, int x, int y, QColor colour) {
  return image.pixelColor(x, y) == colour;
}

}  // namespace ScoreBoardTesting
