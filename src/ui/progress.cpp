#include "src/ui/progress.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "src/common/assertion.h"
#include "src/ui/fitted_font.h"

namespace {
// Room kept free beside a number in its box, and the smallest size a number is drawn at.
constexpr int NumberMargin = 2;
constexpr int SmallestNumberPixels = 7;
}  // namespace

Progress::Progress(QWidget* parent) : Progress(parent, Main) {}

Progress::Progress(QWidget* parent, Kind kind) : QProgressBar(parent) {
  init(kind);
}

void Progress::init(Kind kind) {
  m_leftValue = 0;
  m_max = -1;
  m_stepsPerValue = 1;
  setMaximum(10000);
  const char* names[3] = {"progress_thin_bg", "progress_thin_red", "progress_thin_green"};
  if (kind == Main) {
    names[0] = "progress_main_bg";
    names[1] = "progress_main_red";
    names[2] = "progress_main_green";
  } else if (kind == Score) {
    names[0] = "progress_score_bg";
    names[1] = "sausage_red";
    names[2] = "sausage_green";
  }
  auto picture = [](const char* name) {
    return QPixmap(QStringLiteral(":/PIX/pixmap/%1.png").arg(QLatin1String(name)));
  };
  m_background = picture(names[0]);
  m_red = picture(names[1]);
  m_green = picture(names[2]);
}

void Progress::setLeftValue(int value) {
  m_leftValue = value;
  update();
}

void Progress::setValues(int left, int right) {
  setLeftValue(left);
  // Scaled against its own counts the bar shows any count: the base would ignore one beyond its
  // range and go on showing the count before.
  if (m_max < 0 && right > maximum()) setMaximum(right);
  setValue(right);
}

void Progress::setMaxValue(int max) {
  m_max = max;
  setMaximum(max);
}

void Progress::setStepsPerValue(int steps) {
  MELVARIN_ASSERT(steps >= 1);
  m_stepsPerValue = steps;
}

int Progress::BarLength(int count, int halfWidth, int max) {
  if (max == 0) return 0;
  return int(qint64(count) * halfWidth / max);
}

Progress::NumberBoxes Progress::FitNumbers(const QFont& font, QSize bar, const QString& longest) {
  const int width = std::min(10 * int(longest.size()) + 7, bar.width() / 2);
  return {width, UI::FittedFont(font, longest, QSize(width - 2 * NumberMargin, bar.height()),
                                SmallestNumberPixels)};
}

void Progress::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRect area = event->rect();
  const int w = area.width();
  const int h = area.height();
  painter.drawPixmap(area, m_background);

  const int value = std::max(QProgressBar::value(), 0);
  const int max = m_max >= 0 ? m_max : std::max(value, m_leftValue);
  const NumberBoxes numbers =
      FitNumbers(font(), area.size(), QString::number(max / m_stepsPerValue));
  const int box = numbers.width;
  const int mid = (area.left() + area.right()) / 2;
  // Pictures missing: draw at the widget's own scale.
  const double ratio = m_background.isNull() ? 1.0 : m_background.width() / double(w);
  const double m = ratio * box;

  painter.drawPixmap(QRect(mid - box, 0, box, h), m_red,
                     QRect(int(m_red.width() - m), 0, int(m), m_red.height()));
  painter.drawPixmap(QRect(mid, 0, box, h), m_green, QRect(0, 0, int(m), m_green.height()));

  painter.setPen(Qt::white);
  painter.setFont(numbers.font);
  painter.drawText(QRect(mid - box, 0, box, h), Qt::AlignCenter,
                   QString::number(m_leftValue / m_stepsPerValue));
  painter.drawText(QRect(mid, 0, box, h), Qt::AlignCenter,
                   QString::number(value / m_stepsPerValue));

  const int half = w / 2 - box;
  const int green = BarLength(value, half, max);
  const int red = BarLength(m_leftValue, half, max);
  painter.drawPixmap(
      QRect(mid - box - red, 0, red, h), m_red,
      QRect(int(m_red.width() - m - red * ratio), 0, int(red * ratio), m_red.height()));
  painter.drawPixmap(QRect(mid + box, 0, green, h), m_green,
                     QRect(int(m), 0, int(green * ratio), m_green.height()));
}
