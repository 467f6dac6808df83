#include "src/ui/score_board/score_painter.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>

#include "src/common/assertion.h"

namespace UI {

namespace {
// Pages sit 15 pixels in from the left; the score band starts 20 below the row's top (the
// fingers overlay above it) and ends 20 above its bottom.
constexpr int PageLeft = 15;
constexpr int ScoreInset = 20;
}  // namespace

ScorePainter::ScorePainter(const Core::ScoresDescription* description, unsigned int overlays)
    : description(description), overlays(overlays) {
  MELVARIN_ASSERT(description != nullptr);
}

int ScorePainter::RowTop(int page, int rows, const QRect& update) const {
  MELVARIN_ASSERT(rows > 0);
  const int slot = page % rows;
  const int band = update.height() / rows;
  return slot * description->rowHeight + (band - description->rowHeight) / 2;
}

void ScorePainter::UpdatePage(QPainter& painter, int page, int rows, QRect update) {
  if (page < 0 || page >= description->pages.size()) return;
  const Core::ScorePageDescription& source = description->pages[page];
  const int rowTop = RowTop(page, rows, update);
  const int rowBottom = rowTop + description->rowHeight;

  const int x1 = std::max(update.left(), PageLeft);
  const int w = std::min(update.right() + 1 - x1, description->imageWidth);
  int top = update.top(), bottom = update.bottom();
  if (bottom >= rowTop && top <= rowBottom) {
    top = std::max(top, rowTop);
    bottom = std::min(bottom, rowBottom);
  }

  if (bottom >= rowTop + ScoreInset && top <= rowBottom - ScoreInset) {
    const int t = std::max(top, rowTop + ScoreInset);
    const int b = std::min(bottom, rowBottom - ScoreInset);
    const QRect target(x1, t, w, b - t + 1);
    const QRect from(x1 - PageLeft, t - rowTop - ScoreInset, w, b - t + 1);
    if (source.score) painter.drawPixmap(target, *source.score, from);
    if ((overlays & Letters) && source.letters) {
      painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
      painter.drawPixmap(target, *source.letters, from);
    }
  }
  if ((overlays & Fingers) && source.fingers) {
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const int h = bottom - top + 1;
    painter.drawPixmap(QRect(x1, top, w, h), *source.fingers,
                       QRect(x1 - PageLeft, top - rowTop, w, h));
  }
}

void ScorePainter::PaintPage(QPainter& painter, int page, int rows) {
  UpdatePage(
      painter, page, rows,
      QRect(0, rows * description->rowHeight, description->imageWidth, description->rowHeight));
}

QPoint ScorePainter::ExerciseScoreOrigin(const QRect& rect) const {
  const Core::ScorePageDescription& page = description->pages.first();
  return QPoint((rect.width() - page.width) / 2,
                rect.height() / 2 - page.staffTop - page.height / 2);
}

std::optional<QRectF> ScorePainter::HighlightFrame() const {
  const int index = description->highlightIndex;
  if (index < 0 || index + 1 >= description->noteRects.size()) return std::nullopt;
  const QRectF& a = description->noteRects[index];
  const QRectF& b = description->noteRects[index + 1];
  const double left = a.x(), right = b.x() + b.width();
  const double top = std::min(a.y(), b.y());
  const double bottom = std::max(a.y() + a.height(), b.y() + b.height());
  return QRectF(left - 10, top - 10, right - left + 20, bottom - top + 20);
}

QRect ScorePainter::ExerciseScoreShownRect(const QRect& rect) const {
  if (description->pages.isEmpty() || !description->pages.first().score) return {};
  // Ledger lines, accidentals and chords reach past the staff by as much as their notes need: the
  // page's own ink tells how far.
  const QImage page =
      description->pages.first().score->toImage().convertToFormat(QImage::Format_ARGB32);
  QRect inked;
  for (int y = 0; y < page.height(); ++y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(page.constScanLine(y));
    int left = -1, right = -1;
    for (int x = 0; x < page.width(); ++x)
      if (qAlpha(line[x]) != 0) {
        if (left < 0) left = x;
        right = x;
      }
    if (left >= 0) inked |= QRect(left, y, right - left + 1, 1);
  }
  if (const std::optional<QRectF> frame = HighlightFrame()) inked |= frame->toAlignedRect();
  return inked.translated(ExerciseScoreOrigin(rect));
}

void ScorePainter::PaintExerciseScore(QPainter& painter, QRect rect) {
  if (description->pages.isEmpty() || !description->pages.first().score) return;
  painter.save();
  const QPoint origin = ExerciseScoreOrigin(rect);
  painter.drawPixmap(origin, *description->pages.first().score);
  if (const std::optional<QRectF> frame = HighlightFrame()) {
    painter.setBrush(QColor(0, 0, 0, 0));
    painter.setPen(QPen(QColor(255, 0, 0, 255), 1, Qt::DashLine));
    painter.drawRect(frame->translated(origin));
  }
  painter.restore();
}

QRect ScorePainter::UpdatePositionMark(QPainter& painter, int page, int rows, float x,
                                       QRect update) {
  const QColor colour(255, 255, 255, 122);
  painter.setBrush(colour);
  painter.setPen(QPen(colour, 2));
  const int rowTop = RowTop(page, rows, update);
  const QPolygonF triangle({QPointF(x - 3, rowTop + 20), QPointF(x + 3, rowTop + 20),
                            QPointF(x, rowTop + 27), QPointF(x - 3, rowTop + 20)});
  painter.drawPolygon(triangle, Qt::OddEvenFill);
  painter.drawLine(QPointF(x, rowTop + 25), QPointF(x, rowTop + description->rowHeight - 20));
  return QRect();
}

}  // namespace UI
