#include "src/ui/controls/console_exercise_control/verdict_edge.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QRegularExpression>

namespace UI {

namespace {

QString Declaration(const QString& sheet, const char* property) {
  const QRegularExpression pattern(QStringLiteral("(?:^|[;{\\s])%1\\s*:\\s*([^;}]*)")
                                       .arg(QRegularExpression::escape(QLatin1String(property))));
  return pattern.match(sheet).captured(1).trimmed();
}

int PixelWidth(const QString& value) {
  static const QRegularExpression pixels(QStringLiteral("(\\d+)\\s*px"));
  const QRegularExpressionMatch match = pixels.match(value);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QColor ColourOf(const QString& value) {
  static const QRegularExpression rgb(QStringLiteral(
      "^rgba?\\(\\s*(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)$"));
  const QRegularExpressionMatch match = rgb.match(value);
  if (!match.hasMatch()) return QColor::fromString(value);
  const int alpha = match.captured(4).isEmpty() ? 255 : match.captured(4).toInt();
  return QColor(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
                alpha);
}

}  // namespace

EdgeLook EdgeLook::FromStyleSheet(const QString& sheet) {
  EdgeLook look;
  look.width = PixelWidth(Declaration(sheet, "border-width"));
  if (look.width == 0) look.width = PixelWidth(Declaration(sheet, "border"));
  look.colour = ColourOf(Declaration(sheet, "border-color"));
  if (Declaration(sheet, "border-style") == QLatin1String("none")) look.width = 0;
  return look;
}

VerdictEdge::VerdictEdge(QWidget* frame) : QWidget(frame) {
  setObjectName(QStringLiteral("VerdictEdge"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  // An opaque colour covers every pixel of the edge: the frame beneath is not painted first.
  setAttribute(Qt::WA_NoSystemBackground);
  frame->installEventFilter(this);
  hide();
}

void VerdictEdge::ShowLook(const EdgeLook& look) {
  const bool sameArea = look.width == m_look.width;
  const bool changed = sameArea ? look.colour != m_look.colour : true;
  m_look = look;
  setAttribute(Qt::WA_OpaquePaintEvent, look.colour.alpha() == 255);
  if (!look.IsVisible()) {
    hide();
    return;
  }
  if (!sameArea || isHidden()) FitFrame();
  raise();  // over the frame's children, also those made after it
  if (isHidden())
    show();
  else if (changed)
    update();
}

void VerdictEdge::FitFrame() {
  const QRect area = parentWidget()->rect();
  setGeometry(area);
  const int width = m_look.width;
  setMask(QRegion(rect()) - QRegion(rect().adjusted(width, width, -width, -width)));
}

void VerdictEdge::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.fillRect(event->rect(), m_look.colour);
}

bool VerdictEdge::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize && m_look.IsVisible())
    FitFrame();
  return QWidget::eventFilter(watched, event);
}

}  // namespace UI
