#include "src/ui/controls/console_exercise_control/reference_printing.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QWidget>

#include "src/core/telemetry/service_endpoint.h"
#include "src/ui/controls/console_exercise_control/reference_page_breaks.h"

namespace UI::ReferencePrint {

namespace {
// Where the header's baseline and the content's top sit on every page.
constexpr QPoint HeaderOrigin(5, 13);
constexpr int ContentTop = 17;
}  // namespace

QString Header() {
  QString site = Core::ServiceUrl(QString()).host();
  if (site.isEmpty()) site = QStringLiteral("www.quorvale.com");
  return QCoreApplication::translate("UI::ConsoleExerciseControl", "Quorvale Melvarin Studio | %1")
      .arg(site);
}

QList<Slice> Slices(const QWidget& content, int pageHeight) {
  const int step = pageHeight - HeaderBand;
  const int height = content.height();
  if (step <= 0 || height <= 0) return {};
  const auto* label = qobject_cast<const QLabel*>(&content);
  const QList<int> bounds = label ? PieceBounds(*label) : QList<int>();
  QList<Slice> slices;
  for (int top = 0; top < height;) {
    int bottom = std::min(top + step, height);
    // The piece the page's foot would cut goes whole to the next page when it fits on one and
    // begins below this page's top; a piece taller than a page is cut where the page ends. Below
    // the last piece there is only the label's empty rest.
    if (bottom < height) {
      const auto next = std::upper_bound(bounds.begin(), bounds.end(), bottom);
      if (next != bounds.begin() && next != bounds.end()) {
        const int start = *std::prev(next);
        if (start > top && *next - start <= step) bottom = start;
      }
    }
    slices.append({top, bottom});
    top = bottom;
  }
  return slices;
}

void PaintPage(QPainter& painter, QWidget& content, Slice slice, QSize pageSize,
               const QString& header, const QString& title) {
  // The content only, without the window's background behind it, which would lie over the page
  // as a grey wash: the paper's own white is behind it, as the white panel is on the screen.
  QPixmap picture(pageSize.width(), pageSize.height() - HeaderBand);
  picture.fill(Qt::white);
  content.render(&picture, QPoint(),
                 QRegion(0, slice.top, pageSize.width(), slice.bottom - slice.top),
                 QWidget::DrawChildren);
  painter.drawPixmap(QPoint(0, ContentTop), picture);
  painter.setPen(Qt::red);
  painter.drawText(HeaderOrigin, header);
  if (title.isEmpty()) return;
  painter.save();
  painter.setPen(Qt::black);
  QFont bold = painter.font();
  bold.setBold(true);
  painter.setFont(bold);
  // On the header's line, as far from the page's right edge as the header is from its left.
  const int width = QFontMetrics(bold, painter.device()).horizontalAdvance(title);
  painter.drawText(QPoint(pageSize.width() - HeaderOrigin.x() - width, HeaderOrigin.y()), title);
  painter.restore();
}

Result Print(QPagedPaintDevice& device, QWidget& content, const QString& header,
             const QString& title) {
  const QSize pageSize(device.width(), device.height());
  const QList<Slice> slices = Slices(content, pageSize.height());
  if (slices.isEmpty()) return Result::NoRoom;
  QPainter painter;
  if (!painter.begin(&device)) return Result::CannotBegin;
  for (qsizetype page = 0; page < slices.size(); ++page) {
    if (page > 0 && !device.newPage()) return Result::PageFailed;  // the painter ends with it
    PaintPage(painter, content, slices[page], pageSize, header, title);
  }
  painter.end();
  return Result::Printed;
}

}  // namespace UI::ReferencePrint
