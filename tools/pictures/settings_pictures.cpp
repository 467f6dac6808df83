// Pictures of the settings panels: the small step arrows of the spin boxes and the device box,
// the drop-down lists, the tab strip, the panel that carries the quiz-lock message, and the
// MIDI, music and sound marks of the device box.
#include "tools/pictures/icons.h"
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Pix = QStringLiteral("PIX/pixmap/");

// A filled triangle pointing up or down, centred in the picture.
void Arrow(QPainter& painter, QSizeF size, bool up, const QColor& colour, qreal drop = 0) {
  const qreal w = size.width() * 0.7;
  const qreal h = size.height() * 0.42;
  const qreal x = (size.width() - w) / 2;
  const qreal y = (size.height() - h) / 2 + drop;
  QPainterPath path;
  if (up) {
    path.moveTo(x, y + h);
    path.lineTo(x + w / 2, y);
    path.lineTo(x + w, y + h);
  } else {
    path.moveTo(x, y);
    path.lineTo(x + w / 2, y + h);
    path.lineTo(x + w, y);
  }
  path.closeSubpath();
  painter.fillPath(path, colour);
}

void AddArrows(PictureSet& set) {
  struct Look {
    const char* up;
    const char* down;
    QColor colour;
  };
  const Look looks[] = {{"up_16x16", "down_16x16", Qt::white},
                        {"up_arrow_16x16", nullptr, Qt::white},
                        {"up_over_16x16", "down_over_16x16", Palette::Amber},
                        {"up_disabled_16x16", "down_disabled_16x16", QColor(255, 255, 255, 70)}};
  for (const Look& look : looks) {
    const QColor colour = look.colour;
    set.Add(Pix + look.up + ".png", {16, 16},
            [colour](QPainter& p, QSizeF s) { Arrow(p, s, true, colour); });
    if (!look.down) continue;
    set.Add(Pix + look.down + ".png", {16, 16},
            [colour](QPainter& p, QSizeF s) { Arrow(p, s, false, colour); });
  }
}

void AddDropDowns(PictureSet& set) {
  const ButtonState states[] = {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed,
                                ButtonState::Disabled};
  const char* names[] = {"normal", "hover", "pressed", "disable"};
  for (int i = 0; i < 4; ++i) {
    const ButtonState state = states[i];
    set.Add(QString("pixmap/drop_down_%1.png").arg(names[i]), {183, 29},
            [state](QPainter& p, QSizeF s) {
              const QRectF body = QRectF(QPointF(0, 0), s).adjusted(0.5, 0.5, -0.5, -0.5);
              ButtonBody(p, RoundedRect(body, 6), Palette::Slate, state);
              // The list's own arrow, in a well at the right end.
              const QRectF well(s.width() - 28, 4, 22, s.height() - 8);
              p.fillPath(RoundedRect(well, 4), QColor(0, 0, 0, 60));
              p.save();
              p.translate(well.topLeft());
              const QColor arrow = state == ButtonState::Pressed    ? Palette::Amber
                                   : state == ButtonState::Disabled ? QColor(255, 255, 255, 70)
                                                                    : QColor(Qt::white);
              Arrow(p, well.size(), false, arrow);
              p.restore();
            });
  }
}

// The tabs of a panel's strip: the first rounded on its left, the last on its right.
void AddTabs(PictureSet& set) {
  const char* kinds[] = {"main", "middle", "end"};
  const char* names[] = {"normal", "hover", "pressed"};
  for (int kind = 0; kind < 3; ++kind) {
    for (int look = 0; look < 3; ++look) {
      set.Add(
          Pix + QString("settings_%1_%2.png").arg(kinds[kind], names[look]), {200, 48},
          [kind, look](QPainter& p, QSizeF s) {
            const QRectF rect = QRectF(QPointF(0, 0), s).adjusted(0, 0.5, 0, 0);
            QPainterPath path;
            if (kind == 1) {
              path.addRect(rect);
            } else {
              path = HalfRoundedRect(rect.adjusted(0, 0, 0, 14), 12, kind == 0);
              QPainterPath clip;
              clip.addRect(rect);
              path = path.intersected(clip);
            }
            const QColor top = look == 2 ? Palette::Slate : Palette::Navy;
            const QColor bottom = look == 2 ? Palette::Steel : Palette::Night;
            p.fillPath(path, VerticalGradient(rect, look == 1 ? top.lighter(130) : top, bottom));
            if (look == 2) p.fillRect(QRectF(0, s.height() - 3, s.width(), 3), Palette::Orange);
            // A divider on the right of every tab but the last.
            if (kind != 2)
              p.fillRect(QRectF(s.width() - 1, 10, 1, s.height() - 20), QColor(255, 255, 255, 50));
          });
    }
  }
}

// The soft panel behind the quiz-lock message: light at its middle, fading out to its edges.
void AddLockPanel(PictureSet& set) {
  set.Add(Pix + "disable_blur.png", {800, 368}, [](QPainter& p, QSizeF s) {
    // A round glow squeezed to the picture's height.
    QRadialGradient glow(QPointF(s.width() / 2, s.width() / 2), s.width() / 2);
    glow.setColorAt(0.0, QColor(255, 255, 255, 38));
    glow.setColorAt(0.6, QColor(255, 255, 255, 16));
    glow.setColorAt(1.0, QColor(255, 255, 255, 0));
    p.save();
    p.scale(1, s.height() / s.width());
    p.fillRect(QRectF(0, 0, s.width(), s.width()), glow);
    p.restore();
    // A padlock above the message.
    const QRectF body(s.width() / 2 - 22, 64, 44, 34);
    p.setPen(QPen(QColor(255, 255, 255, 150), 6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(body.left() + 8, body.top() - 24, body.width() - 16, 44), 0, 180 * 16);
    p.setPen(Qt::NoPen);
    p.fillPath(RoundedRect(body, 5), QColor(255, 255, 255, 150));
  });
}

void AddDeviceMarks(PictureSet& set) {
  set.Add(Pix + "usb_x_x.png", {57, 27}, [](QPainter& p, QSizeF s) {
    Icons::MidiPlug(p, QRectF(15, 0, 27, 27), QColor(0xc7, 0xc7, 0xc7));
  });
  set.Add(Pix + "music_16x16.png", {16, 16}, [](QPainter& p, QSizeF s) {
    Icons::EighthNote(p, QRectF(QPointF(0, 0), s), Palette::Steel);
  });
  set.Add(Pix + "sound_16x16.png", {16, 16}, [](QPainter& p, QSizeF s) {
    Icons::Loudspeaker(p, QRectF(QPointF(0, 0), s), Palette::Steel, 2);
  });
}

}  // namespace

void AddSettingsPictures(PictureSet& set) {
  AddArrows(set);
  AddDropDowns(set);
  AddTabs(set);
  AddLockPanel(set);
  AddDeviceMarks(set);
}

}  // namespace Pictures
