#include "tools/pictures/icons.h"

#include "tools/pictures/paint_kit.h"

#include <QPainterPath>

#include <cmath>

namespace Pictures::Icons {

namespace {

// Coordinates in icons are fractions of the box.
struct Frame {
  QRectF box;
  QPointF operator()(qreal x, qreal y) const {
    return {box.left() + x * box.width(), box.top() + y * box.height()};
  }
  QRectF Rect(qreal x, qreal y, qreal w, qreal h) const {
    return {(*this)(x, y), QSizeF(w * box.width(), h * box.height())};
  }
  qreal Size(qreal fraction) const { return fraction * box.width(); }
};

void UsePen(QPainter& painter, const Frame& f, const QColor& colour, qreal width) {
  painter.setPen(QPen(colour, f.Size(width), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
}

}  // namespace

void Envelope(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.07);
  painter.drawRoundedRect(f.Rect(0.1, 0.22, 0.8, 0.56), f.Size(0.06), f.Size(0.06));
  QPainterPath flap;
  flap.moveTo(f(0.13, 0.27));
  flap.lineTo(f(0.5, 0.55));
  flap.lineTo(f(0.87, 0.27));
  painter.drawPath(flap);
}

void PianoKeys(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.06);
  painter.drawRoundedRect(f.Rect(0.12, 0.16, 0.76, 0.68), f.Size(0.05), f.Size(0.05));
  for (qreal x : {0.31, 0.5, 0.69}) painter.drawLine(f(x, 0.55), f(x, 0.84));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  for (qreal x : {0.25, 0.44, 0.63}) painter.drawRoundedRect(f.Rect(x, 0.16, 0.12, 0.42), 1, 1);
}

void Book(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.065);
  QPainterPath pages;
  pages.moveTo(f(0.5, 0.28));
  pages.cubicTo(f(0.38, 0.18), f(0.2, 0.18), f(0.1, 0.22));
  pages.lineTo(f(0.1, 0.8));
  pages.cubicTo(f(0.2, 0.76), f(0.38, 0.76), f(0.5, 0.86));
  pages.cubicTo(f(0.62, 0.76), f(0.8, 0.76), f(0.9, 0.8));
  pages.lineTo(f(0.9, 0.22));
  pages.cubicTo(f(0.8, 0.18), f(0.62, 0.18), f(0.5, 0.28));
  pages.lineTo(f(0.5, 0.86));
  painter.drawPath(pages);
}

void BarChart(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.06);
  painter.drawLine(f(0.12, 0.86), f(0.88, 0.86));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  const qreal heights[] = {0.32, 0.52, 0.22, 0.64};
  for (int i = 0; i < 4; ++i) {
    const qreal x = 0.17 + i * 0.18;
    painter.drawRoundedRect(f.Rect(x, 0.8 - heights[i], 0.12, heights[i]), f.Size(0.03),
                            f.Size(0.03));
  }
}

void Gear(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  const QPointF centre = f(0.5, 0.5);
  QPainterPath teeth;
  const int count = 8;
  for (int i = 0; i < count * 4; ++i) {
    const qreal angle = i * M_PI * 2 / (count * 4) - M_PI / (count * 4);
    const qreal radius = f.Size((i % 4 == 1 || i % 4 == 2) ? 0.42 : 0.33);
    const QPointF point(centre.x() + radius * std::cos(angle),
                        centre.y() + radius * std::sin(angle));
    if (i == 0) {
      teeth.moveTo(point);
    } else {
      teeth.lineTo(point);
    }
  }
  teeth.closeSubpath();
  QPainterPath hole;
  hole.addEllipse(centre, f.Size(0.13), f.Size(0.13));
  painter.fillPath(teeth.subtracted(hole), colour);
}

void Question(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.065);
  painter.drawEllipse(f.Rect(0.1, 0.1, 0.8, 0.8));
  QPainterPath hook;
  hook.moveTo(f(0.38, 0.4));
  hook.cubicTo(f(0.38, 0.22), f(0.64, 0.22), f(0.63, 0.38));
  hook.cubicTo(f(0.62, 0.5), f(0.5, 0.48), f(0.5, 0.6));
  painter.drawPath(hook);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(f(0.5, 0.72), f.Size(0.05), f.Size(0.05));
}

void Info(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.065);
  painter.drawEllipse(f.Rect(0.1, 0.1, 0.8, 0.8));
  painter.setPen(QPen(colour, f.Size(0.09), Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(f(0.5, 0.46), f(0.5, 0.7));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(f(0.5, 0.31), f.Size(0.055), f.Size(0.055));
}

void Exclamation(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  painter.setPen(QPen(colour, f.Size(0.14), Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(f(0.5, 0.18), f(0.5, 0.58));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawEllipse(f(0.5, 0.8), f.Size(0.085), f.Size(0.085));
}

void Plus(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.16);
  painter.drawLine(f(0.5, 0.18), f(0.5, 0.82));
  painter.drawLine(f(0.18, 0.5), f(0.82, 0.5));
}

void BackArrow(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.1);
  painter.drawLine(f(0.28, 0.5), f(0.74, 0.5));
  QPainterPath head;
  head.moveTo(f(0.48, 0.28));
  head.lineTo(f(0.26, 0.5));
  head.lineTo(f(0.48, 0.72));
  painter.drawPath(head);
}

void Cross(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.1);
  painter.drawLine(f(0.3, 0.3), f(0.7, 0.7));
  painter.drawLine(f(0.7, 0.3), f(0.3, 0.7));
}

void Minimise(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.1);
  painter.drawLine(f(0.3, 0.64), f(0.7, 0.64));
}

void FullScreen(QPainter& painter, const QRectF& box, const QColor& colour, bool enter) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.08);
  // One corner mark per quadrant; entering points them outwards, leaving inwards.
  const qreal inner = 0.42, outer = 0.26, arm = 0.14;
  for (int sx : {-1, 1}) {
    for (int sy : {-1, 1}) {
      const qreal cornerX = 0.5 + sx * (enter ? outer : inner - 0.28);
      const qreal cornerY = 0.5 + sy * (enter ? outer : inner - 0.28);
      const qreal dir = enter ? -1 : 1;
      QPainterPath mark;
      mark.moveTo(f(cornerX + dir * sx * arm, cornerY));
      mark.lineTo(f(cornerX, cornerY));
      mark.lineTo(f(cornerX, cornerY + dir * sy * arm));
      painter.drawPath(mark);
    }
  }
}

void EighthNote(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  QPainterPath head;
  head.addEllipse(QPointF(0, 0), f.Size(0.17), f.Size(0.12));
  QTransform tilt;
  tilt.translate(f(0.36, 0.74).x(), f(0.36, 0.74).y());
  tilt.rotate(-22);
  painter.fillPath(tilt.map(head), colour);
  painter.setPen(QPen(colour, f.Size(0.065), Qt::SolidLine, Qt::FlatCap));
  painter.drawLine(f(0.5, 0.72), f(0.5, 0.14));
  QPainterPath flag;
  flag.moveTo(f(0.5, 0.14));
  flag.cubicTo(f(0.56, 0.3), f(0.78, 0.34), f(0.72, 0.58));
  flag.cubicTo(f(0.72, 0.42), f(0.6, 0.36), f(0.5, 0.34));
  flag.closeSubpath();
  painter.fillPath(flag, colour);
}

void Ear(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.07);
  QPainterPath outer;
  outer.moveTo(f(0.3, 0.42));
  outer.cubicTo(f(0.28, 0.16), f(0.72, 0.08), f(0.76, 0.38));
  outer.cubicTo(f(0.78, 0.56), f(0.6, 0.6), f(0.58, 0.74));
  outer.cubicTo(f(0.56, 0.88), f(0.4, 0.92), f(0.34, 0.82));
  painter.drawPath(outer);
  QPainterPath inner;
  inner.moveTo(f(0.42, 0.44));
  inner.cubicTo(f(0.42, 0.28), f(0.62, 0.26), f(0.62, 0.4));
  inner.cubicTo(f(0.62, 0.5), f(0.52, 0.52), f(0.5, 0.6));
  painter.drawPath(inner);
  // Sound arriving from the right.
  painter.setPen(QPen(WithAlpha(colour, 150), f.Size(0.05), Qt::SolidLine, Qt::RoundCap));
  painter.drawArc(f.Rect(0.72, 0.3, 0.2, 0.4), -50 * 16, 100 * 16);
}

void Accidentals(QPainter& painter, const QRectF& box, const QColor& colour) {
  DrawText(painter, QRectF(box.left(), box.top(), box.width() * 0.5, box.height()),
           QStringLiteral("\u266D"), SymbolFont(box.height() * 0.8), colour);
  DrawText(painter, QRectF(box.center().x(), box.top(), box.width() * 0.5, box.height()),
           QStringLiteral("\u266F"), SymbolFont(box.height() * 0.8), colour);
}

void Loudspeaker(QPainter& painter, const QRectF& box, const QColor& colour, int waves) {
  const Frame f{box};
  QPainterPath body;
  body.moveTo(f(0.12, 0.38));
  body.lineTo(f(0.28, 0.38));
  body.lineTo(f(0.48, 0.18));
  body.lineTo(f(0.48, 0.82));
  body.lineTo(f(0.28, 0.62));
  body.lineTo(f(0.12, 0.62));
  body.closeSubpath();
  painter.setPen(QPen(colour, f.Size(0.04), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(colour);
  painter.drawPath(body);
  painter.setBrush(Qt::NoBrush);
  for (int i = 0; i < waves; ++i) {
    const qreal r = 0.14 + i * 0.12;
    painter.setPen(QPen(colour, f.Size(0.055), Qt::SolidLine, Qt::RoundCap));
    painter.drawArc(QRectF(f(0.5 - r, 0.5 - r), QSizeF(f.Size(2 * r), f.Size(2 * r))), -45 * 16,
                    90 * 16);
  }
}

void MidiPlug(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.06);
  painter.drawEllipse(f.Rect(0.1, 0.1, 0.8, 0.8));
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  // The five pins of a DIN socket on the upper half circle, the key notch at the bottom.
  for (int i = 0; i < 5; ++i) {
    const qreal angle = M_PI * i / 4;
    painter.drawEllipse(f(0.5 - 0.24 * std::cos(angle), 0.54 - 0.24 * std::sin(angle)),
                        f.Size(0.055), f.Size(0.055));
  }
  painter.drawRoundedRect(f.Rect(0.44, 0.74, 0.12, 0.08), 1, 1);
}

void PlayTriangle(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  QPainterPath triangle;
  triangle.moveTo(f(0.3, 0.2));
  triangle.lineTo(f(0.82, 0.5));
  triangle.lineTo(f(0.3, 0.8));
  triangle.closeSubpath();
  painter.setPen(QPen(colour, f.Size(0.06), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(colour);
  painter.drawPath(triangle);
}

void Repeat(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  UsePen(painter, f, colour, 0.1);
  painter.drawArc(f.Rect(0.18, 0.18, 0.64, 0.64), 60 * 16, 280 * 16);
  QPainterPath head;
  head.moveTo(f(0.56, 0.08));
  head.lineTo(f(0.7, 0.23));
  head.lineTo(f(0.52, 0.32));
  painter.drawPath(head);
}

void Sliders(QPainter& painter, const QRectF& box, const QColor& colour) {
  const Frame f{box};
  const qreal knobs[] = {0.62, 0.3, 0.5};
  for (int i = 0; i < 3; ++i) {
    const qreal x = 0.25 + i * 0.25;
    UsePen(painter, f, colour, 0.06);
    painter.drawLine(f(x, 0.14), f(x, 0.86));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRoundedRect(f.Rect(x - 0.09, knobs[i] - 0.06, 0.18, 0.12), f.Size(0.03),
                            f.Size(0.03));
  }
}

}  // namespace Pictures::Icons
