#include "src/ui/controls/console_exercise_control/reference_printing.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QWidget>

#include "src/core/telemetry/service_endpoint.h"

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

int PageCount(int contentHeight, int pageHeight) {
  const int step = pageHeight - HeaderBand;
  if (step <= 0 || contentHeight <= 0) return 0;
  return (contentHeight + step - 1) / step;
}

void PaintPage(QPainter& painter, QWidget& content, int page, QSize pageSize, const QString& header,
               const QString& title) {
  const int step = pageSize.height() - HeaderBand;
  // The content only, without the window's background behind it, which would lie over the page
  // as a grey wash: the paper's own white is behind it, as the white panel is on the screen.
  QPixmap slice(pageSize.width(), step);
  slice.fill(Qt::white);
  content.render(&slice, QPoint(), QRegion(0, page * step, pageSize.width(), step),
                 QWidget::DrawChildren);
  painter.drawPixmap(QPoint(0, ContentTop), slice);
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
  const int pages = PageCount(content.height(), pageSize.height());
  if (pages == 0) return Result::NoRoom;
  QPainter painter;
  if (!painter.begin(&device)) return Result::CannotBegin;
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return Result::PageFailed;  // the painter ends with it
    PaintPage(painter, content, page, pageSize, header, title);
  }
  painter.end();
  return Result::Printed;
}

}  // namespace UI::ReferencePrint
