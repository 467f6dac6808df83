#include "tools/pictures/reference_marks.h"

#include "tools/pictures/paint_kit.h"

#include <QFont>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <utility>

namespace Pictures {

namespace {

QFont MarkFont(qreal pixelSize, bool italic) {
  QFont font = SansFont(pixelSize, true);
  font.setItalic(italic);
  return font;
}

// The notes' common box: where a mark over or under all of them goes.
QRectF Span(const EngravedNotes& engraved) {
  QRectF span;
  for (const QRectF& note : engraved.notes) span = span.united(note);
  return span;
}

// The first note with the notes standing over and under it: the heads of a chord, which the
// symbol map lists one by one. Empty boxes are events that draw nothing.
QRectF FirstColumn(const EngravedNotes& engraved) {
  const QRectF first = engraved.notes.front();
  QRectF column = first;
  for (const QRectF& note : engraved.notes) {
    if (!note.isEmpty() && note.left() < first.right() && note.right() > first.left()) {
      column = column.united(note);
    }
  }
  return column;
}

void Arpeggio(QPainter& painter, const QRectF& chord, qreal space) {
  QPainterPath wave;
  const qreal x = chord.left() - space * 0.9;
  const qreal step = space * 0.5;
  wave.moveTo(x, chord.bottom());
  for (qreal y = chord.bottom(), side = 1; y > chord.top(); y -= step, side = -side) {
    wave.quadTo(x + side * space * 0.35, y - step / 2, x, y - step);
  }
  painter.strokePath(wave, QPen(Qt::black, space * 0.16, Qt::SolidLine, Qt::RoundCap));
}

void Tremolo(QPainter& painter, const QRectF& note, qreal space) {
  const QPointF middle(note.center().x() + space * 0.1, note.top() + note.height() * 0.35);
  for (int i = -1; i <= 1; ++i) {
    const QPointF centre = middle + QPointF(0, i * space * 0.55);
    QPainterPath slash;
    slash.moveTo(centre + QPointF(-space * 0.6, space * 0.2));
    slash.lineTo(centre + QPointF(space * 0.6, -space * 0.2));
    painter.strokePath(slash, QPen(Qt::black, space * 0.28, Qt::SolidLine, Qt::FlatCap));
  }
}

void Wedge(QPainter& painter, const QRectF& note, qreal space) {
  const qreal x = note.center().x();
  const qreal bottom = note.top() - space * 0.5;
  QPainterPath wedge;
  wedge.moveTo(x, bottom);
  wedge.lineTo(x - space * 0.22, bottom - space * 0.9);
  wedge.lineTo(x + space * 0.22, bottom - space * 0.9);
  wedge.closeSubpath();
  painter.fillPath(wedge, Qt::black);
}

void Word(QPainter& painter, const QPointF& centre, const QString& text, qreal size, bool italic) {
  const QFont font = MarkFont(size, italic);
  const qreal width = TextWidth(text, font);
  DrawText(painter, QRectF(centre.x() - width, centre.y() - size, width * 2, size * 2), text, font,
           Qt::black);
}

void ReleaseStar(QPainter& painter, const QPointF& centre, qreal space) {
  const QPen pen(Qt::black, space * 0.16, Qt::SolidLine, Qt::RoundCap);
  painter.setPen(pen);
  for (int i = 0; i < 8; ++i) {
    const qreal angle = i * M_PI / 4;
    const QPointF direction(std::cos(angle), std::sin(angle));
    painter.drawLine(centre + direction * space * 0.3, centre + direction * space * 0.8);
  }
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, space * 0.3, space * 0.3);
}

void GraceSlash(QPainter& painter, const QRectF& note, qreal space) {
  const QPointF centre(note.center().x(), note.top() + note.height() * 0.45);
  painter.setPen(QPen(Qt::black, space * 0.13, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(centre + QPointF(-space * 0.7, space * 0.5),
                   centre + QPointF(space * 0.7, -space * 0.5));
}

void OttavaLine(QPainter& painter, const QRectF& span, qreal space, bool above) {
  const qreal y = above ? span.top() - space * 1.6 : span.bottom() + space * 1.6;
  Word(painter, QPointF(span.left() + space * 0.6, y), above ? "8va" : "8vb", space * 1.3, true);
  QPen dashed(Qt::black, space * 0.12, Qt::CustomDashLine, Qt::FlatCap);
  dashed.setDashPattern({4, 4});
  painter.setPen(dashed);
  const qreal start = span.left() + space * 2.3;
  const qreal end = span.right() + space * 0.5;
  painter.drawLine(QPointF(start, y), QPointF(end, y));
  painter.setPen(QPen(Qt::black, space * 0.12));
  painter.drawLine(QPointF(end, y), QPointF(end, above ? y + space * 0.8 : y - space * 0.8));
}

void VoltaBracket(QPainter& painter, const QRectF& span, qreal space) {
  const qreal y = span.top() - space * 1.5;
  painter.setPen(QPen(Qt::black, space * 0.12, Qt::SolidLine, Qt::FlatCap));
  const QPointF left(span.left() - space * 0.5, y);
  const QPointF right(span.right() + space * 0.5, y);
  painter.drawLine(left + QPointF(0, space * 1.5), left);
  painter.drawLine(left, right);
  Word(painter, left + QPointF(space * 0.8, space * 0.8), "1.", space * 1.2, false);
}

}  // namespace

void PaintReferenceMark(QPainter& painter, ReferenceMark mark, const EngravedNotes& engraved) {
  if (mark == ReferenceMark::None || engraved.notes.empty()) return;
  const QRectF first = engraved.notes.front();
  const qreal space = engraved.staffSpace;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  switch (mark) {
    case ReferenceMark::None:
      break;
    case ReferenceMark::Arpeggio:
      Arpeggio(painter, FirstColumn(engraved), space);
      break;
    case ReferenceMark::Tremolo:
      Tremolo(painter, first, space);
      break;
    case ReferenceMark::Staccatissimo:
      Wedge(painter, first, space);
      break;
    case ReferenceMark::PedalDown:
      Word(painter, QPointF(first.center().x(), Span(engraved).bottom() + space * 2.5), "Ped.",
           space * 1.6, true);
      break;
    case ReferenceMark::PedalUp:
      ReleaseStar(painter, QPointF(first.center().x(), Span(engraved).bottom() + space * 2.5),
                  space);
      break;
    case ReferenceMark::Trill:
      Word(painter, QPointF(first.center().x(), first.top() - space * 1.2), "tr", space * 1.6,
           true);
      break;
    case ReferenceMark::Acciaccatura:
      GraceSlash(painter, first, space);
      break;
    case ReferenceMark::OttavaAlta:
    case ReferenceMark::OttavaBassa:
      OttavaLine(painter, Span(engraved), space, mark == ReferenceMark::OttavaAlta);
      break;
    case ReferenceMark::Volta:
      VoltaBracket(painter, Span(engraved), space);
      break;
  }
  painter.restore();
}

std::optional<ReferenceMark> ReferenceMarkNamed(const QString& name) {
  static const std::pair<const char*, ReferenceMark> names[] = {
      {"arpeggio", ReferenceMark::Arpeggio},
      {"tremolo", ReferenceMark::Tremolo},
      {"staccatissimo", ReferenceMark::Staccatissimo},
      {"pedal-down", ReferenceMark::PedalDown},
      {"pedal-up", ReferenceMark::PedalUp},
      {"trill", ReferenceMark::Trill},
      {"acciaccatura", ReferenceMark::Acciaccatura},
      {"ottava-alta", ReferenceMark::OttavaAlta},
      {"ottava-bassa", ReferenceMark::OttavaBassa},
      {"volta", ReferenceMark::Volta}};
  for (const auto& [text, mark] : names) {
    if (name == QLatin1String(text)) return mark;
  }
  return std::nullopt;
}

}  // namespace Pictures
