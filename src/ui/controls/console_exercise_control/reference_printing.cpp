#include "src/ui/controls/console_exercise_control/reference_printing.h"

#include <QCoreApplication>
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

void PaintPage(QPainter& painter, QWidget& content, int page, QSize pageSize,
               const QString& header) {
  const int step = pageSize.height() - HeaderBand;
  painter.setPen(Qt::red);
  painter.drawPixmap(QPoint(0, ContentTop),
                     content.grab(QRect(0, page * step, pageSize.width(), step)));
  painter.drawText(HeaderOrigin, header);
}

Result Print(QPagedPaintDevice& device, QWidget& content, const QString& header) {
  const QSize pageSize(device.width(), device.height());
  const int pages = PageCount(content.height(), pageSize.height());
  if (pages == 0) return Result::NoRoom;
  QPainter painter;
  if (!painter.begin(&device)) return Result::CannotBegin;
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) return Result::PageFailed;  // the painter ends with it
    PaintPage(painter, content, page, pageSize, header);
  }
  painter.end();
  return Result::Printed;
}

}  // namespace UI::ReferencePrint
