// Pictures of the shared widgets: the three looks of the score bar, the play symbol of the pause
// overlay, the loudspeaker's animation frames, the mail bubble and the loading equaliser.
#include "tools/pictures/icons.h"
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

#include <cmath>

namespace Pictures {

namespace {

const QString Pix = QStringLiteral("PIX/pixmap/");

// A score bar is a groove with a red half growing leftwards and a green half growing rightwards
// from the middle, so each half is rounded only at its outer end.
void BarGroove(QPainter& painter, QSizeF size) {
  const QRectF rect = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = rect.height() / 2;
  painter.fillPath(RoundedRect(rect, radius),
                   VerticalGradient(rect, Palette::Night, Palette::Slate));
  painter.setPen(QPen(QColor(0, 0, 0, 120), 1));
  painter.drawPath(RoundedRect(rect, radius));
  painter.fillRect(QRectF(size.width() / 2 - 0.5, 3, 1, size.height() - 6),
                   QColor(255, 255, 255, 40));
}

void BarHalf(QPainter& painter, QSizeF size, const QColor& colour, bool left) {
  const QRectF rect =
      QRectF(QPointF(0, 0), size).adjusted(left ? 0.5 : 0, 0.5, left ? 0 : -0.5, -0.5);
  const QPainterPath path = HalfRoundedRect(rect, rect.height() / 2, left);
  painter.fillPath(path, VerticalGradient(rect, colour.lighter(125), colour.darker(115)));
  painter.save();
  painter.setClipPath(path);
  const QRectF sheen(rect.left(), rect.top(), rect.width(), rect.height() * 0.45);
  painter.fillRect(sheen,
                   VerticalGradient(sheen, QColor(255, 255, 255, 80), QColor(255, 255, 255, 10)));
  painter.restore();
}

void AddScoreBars(PictureSet& set) {
  struct Bar {
    const char* background;
    const char* red;
    const char* green;
    int width;
    int height;
    int halfWidth;
  };
  const Bar bars[] = {
      {"progress_main_bg", "progress_main_red", "progress_main_green", 280, 29, 138},
      {"progress_thin_bg", "progress_thin_red", "progress_thin_green", 342, 19, 171},
      {"progress_score_bg", "sausage_red", "sausage_green", 322, 20, 161},
  };
  for (const Bar& bar : bars) {
    set.Add(Pix + bar.background + ".png", {bar.width, bar.height}, BarGroove);
    set.Add(Pix + bar.red + ".png", {bar.halfWidth, bar.height},
            [](QPainter& p, QSizeF s) { BarHalf(p, s, Palette::Red, true); });
    set.Add(Pix + bar.green + ".png", {bar.halfWidth, bar.height},
            [](QPainter& p, QSizeF s) { BarHalf(p, s, Palette::Green, false); });
  }
}

void AddPlaySymbol(PictureSet& set) {
  set.Add(Pix + "play.png", {160, 160}, [](QPainter& p, QSizeF s) {
    const QRectF circle = QRectF(QPointF(0, 0), s).adjusted(8, 8, -8, -8);
    SoftShadow(p, circle, circle.width() / 2, 6, 70);
    QPainterPath disc;
    disc.addEllipse(circle);
    p.fillPath(disc, QColor(255, 255, 255, 45));
    p.setPen(QPen(Qt::white, 6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(circle.adjusted(3, 3, -3, -3));
    Icons::PlayTriangle(p, circle.adjusted(30, 28, -24, -28), Qt::white);
  });
}

// Frame `frame` of the loudspeaker: three waves that swell outwards in turn.
void Speaker(QPainter& painter, QSizeF size, int frame, int frames) {
  const QRectF all(QPointF(0, 0), size);
  const QRectF disc = all.adjusted(14, 14, -14, -14);
  QPainterPath circle;
  circle.addEllipse(disc);
  painter.fillPath(circle, VerticalGradient(disc, Palette::Slate, Palette::Navy));
  painter.setPen(QPen(WithAlpha(Palette::Steel, 220), 2));
  painter.drawEllipse(disc.adjusted(1, 1, -1, -1));
  const qreal phase = qreal(frame) / frames;
  // The ring that leaves the disc as the sound goes out.
  const qreal ring = disc.width() / 2 + 3 + 9 * phase;
  painter.setPen(QPen(WithAlpha(Palette::Amber, int(150 * (1 - phase))), 2.5));
  painter.drawEllipse(all.center(), ring, ring);
  const QRectF icon = disc.adjusted(34, 34, -34, -34);
  Icons::Loudspeaker(painter, icon, Qt::white, 0);
  for (int wave = 0; wave < 3; ++wave) {
    const qreal strength = 0.5 + 0.5 * std::cos(2 * M_PI * (phase - wave / 3.0));
    const qreal r = (0.14 + wave * 0.12) * icon.width();
    const QPointF centre(icon.left() + icon.width() * 0.5, icon.center().y());
    painter.setPen(QPen(WithAlpha(Palette::Amber, int(70 + 185 * strength)), icon.width() * 0.055,
                        Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), -45 * 16, 90 * 16);
  }
}

void AddSpeaker(PictureSet& set) {
  constexpr int Frames = 14;
  for (int frame = 0; frame < Frames; ++frame) {
    set.Add(QString("pixmap/speaker/%1.png").arg(frame + 1), {220, 220},
            [frame](QPainter& p, QSizeF s) { Speaker(p, s, frame, Frames); });
  }
}

// The mail bubble; its arrow points at x 110, where the bubble is anchored.
void Bubble(QPainter& painter, QSizeF size, bool arrowUp) {
  const qreal arrowX = 110;
  const QRectF body = arrowUp ? QRectF(3, 11, size.width() - 6, size.height() - 15)
                              : QRectF(3, 3, size.width() - 6, size.height() - 15);
  QPainterPath arrow;
  if (arrowUp) {
    arrow.moveTo(arrowX - 9, body.top() + 1);
    arrow.lineTo(arrowX, 1.5);
    arrow.lineTo(arrowX + 9, body.top() + 1);
  } else {
    arrow.moveTo(arrowX - 9, body.bottom() - 1);
    arrow.lineTo(arrowX, size.height() - 1.5);
    arrow.lineTo(arrowX + 9, body.bottom() - 1);
  }
  arrow.closeSubpath();
  const QPainterPath outline = RoundedRect(body, 10).united(arrow).simplified();
  painter.fillPath(outline.translated(0, 1.5), QColor(0, 0, 0, 60));
  painter.fillPath(outline, VerticalGradient(body, Qt::white, Palette::Paper));
  painter.setPen(QPen(Palette::Orange, 2));
  painter.drawPath(outline);
}

void AddTooltipAndLoading(PictureSet& set) {
  set.Add(Pix + "bouncing_tooltip_up.png", {150, 52},
          [](QPainter& p, QSizeF s) { Bubble(p, s, true); });
  set.Add(Pix + "bouncing_tooltip_down.png", {150, 52},
          [](QPainter& p, QSizeF s) { Bubble(p, s, false); });
  set.AddAnimation(
      Pix + "equalizer2.gif", {48, 48}, 12, 80, [](QPainter& p, QSizeF s, int frame, int frames) {
        const qreal phase = 2 * M_PI * frame / frames;
        for (int bar = 0; bar < 5; ++bar) {
          const qreal level = 0.55 + 0.45 * std::sin(phase * (bar % 2 ? 1 : 2) + bar * 1.3);
          const qreal height = 8 + level * (s.height() - 14);
          const QRectF rect(4 + bar * 8.4, s.height() - 4 - height, 6, height);
          p.fillPath(RoundedRect(rect, 2), VerticalGradient(rect, Palette::Amber, Palette::Orange));
        }
      });
}

}  // namespace

void AddWidgetPictures(PictureSet& set) {
  AddScoreBars(set);
  AddPlaySymbol(set);
  AddSpeaker(set);
  AddTooltipAndLoading(set);
}

}  // namespace Pictures
