// The on-screen piano's key images: every key shape in six looks (normal, under the pointer,
// pressed, and the green, blue and red of an answer), one pixel per design unit, and the two glows
// that frame the octave under the pointer in the statistics view.
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Folder = QStringLiteral("pixmap/GKC/");
constexpr int WhiteWidth = 35;
constexpr int WhiteHeight = 180;
constexpr int BlackWidth = 19;
constexpr int BlackHeight = 108;
constexpr int NotchDepth = 108;  // black keys reach this far down the white ones

struct KeyShape {
  const char* name;
  bool white;
  int upperLeft;  // the part of a white key between its black neighbours
  int upperWidth;
};

// In the piano's pixmap-index order.
const KeyShape Shapes[14] = {
    {"Afirst", true, 0, 30},  {"C", true, 0, 21},       {"C_sharp", false, 0, 0},
    {"D", true, 5, 25},       {"D_sharp", false, 0, 0}, {"E", true, 14, 21},
    {"F", true, 0, 21},       {"F_sharp", false, 0, 0}, {"G", true, 5, 20},
    {"G_sharp", false, 0, 0}, {"A", true, 10, 20},      {"A_sharp", false, 0, 0},
    {"B", true, 14, 21},      {"Clast", true, 0, 35},
};

struct Look {
  const char* folder;  // also the file-name suffix, except for the normal look
  QColor white;        // body of a white key
  QColor black;        // body of a black key
  bool pressed;
};

// `colour` laid over ivory at `strength` (0..1): answer colours that still read as key tops.
QColor Tint(const QColor& colour, qreal strength) {
  const QColor ivory(0xfb, 0xfb, 0xf8);
  auto mix = [&](int key, int tint) { return int(key + (tint - key) * strength); };
  return QColor(mix(ivory.red(), colour.red()), mix(ivory.green(), colour.green()),
                mix(ivory.blue(), colour.blue()));
}

const Look Looks[6] = {
    {"normal", QColor(0xfb, 0xfb, 0xf8), QColor(0x1c, 0x1d, 0x22), false},
    {"hover", Tint(Palette::Amber, 0.3), QColor(0x3a, 0x40, 0x52), false},
    {"pressed", QColor(0xd9, 0xdd, 0xe4), QColor(0x08, 0x08, 0x0a), true},
    {"green", Tint(Palette::Green, 0.6), Palette::Green.darker(150), false},
    {"blue", Tint(Palette::Blue, 0.55), Palette::Blue.darker(150), false},
    {"red", Tint(Palette::Red, 0.6), Palette::Red.darker(150), false},
};

QPainterPath WhiteOutline(const KeyShape& shape) {
  QPainterPath lower =
      RoundedRect(QRectF(0.5, NotchDepth - 6, WhiteWidth - 1, WhiteHeight - NotchDepth + 5.5), 4);
  QPainterPath upper;
  upper.addRect(QRectF(shape.upperLeft + 0.5, 0, shape.upperWidth - 1, NotchDepth + 1));
  QPainterPath square;  // only the bottom corners are round
  square.addRect(QRectF(0.5, NotchDepth - 6, WhiteWidth - 1, 12));
  return upper.united(lower).united(square).simplified();
}

void WhiteKey(QPainter& painter, const KeyShape& shape, const Look& look) {
  const QPainterPath outline = WhiteOutline(shape);
  const QRectF all(0, 0, WhiteWidth, WhiteHeight);
  QLinearGradient body(all.topLeft(), all.bottomLeft());
  body.setColorAt(0, look.white.darker(look.pressed ? 112 : 104));
  body.setColorAt(0.85, look.white);
  body.setColorAt(1, look.white.darker(look.pressed ? 104 : 112));
  painter.fillPath(outline, body);
  painter.save();
  painter.setClipPath(outline);
  // The shadow of the key cover, deeper on a key that is down.
  const QRectF shade(0, 0, WhiteWidth, look.pressed ? 14 : 8);
  painter.fillRect(shade, VerticalGradient(shade, QColor(0, 0, 0, 90), QColor(0, 0, 0, 0)));
  painter.restore();
  painter.setPen(QPen(QColor(0x8a, 0x8e, 0x98), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
}

void BlackKey(QPainter& painter, const Look& look) {
  const QRectF rect(0.5, -3, BlackWidth - 1, BlackHeight + 2.5);
  const QPainterPath outline = RoundedRect(rect, 2.5);
  painter.fillPath(outline, VerticalGradient(rect, look.black.lighter(130), look.black));
  // The lighter top face of the key, shorter on a key that is down.
  const qreal faceBottom = BlackHeight - (look.pressed ? 5 : 11);
  const QRectF face(3, 0, BlackWidth - 6, faceBottom);
  painter.fillPath(RoundedRect(face, 2),
                   VerticalGradient(face, look.black.lighter(125), look.black.lighter(150)));
  painter.setPen(QPen(look.black.darker(160), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(outline);
}

void OctaveGlow(QPainter& painter, QSizeF size, bool left) {
  QLinearGradient glow(QPointF(left ? size.width() : 0, 0), QPointF(left ? 0 : size.width(), 0));
  glow.setColorAt(0, WithAlpha(Palette::Amber, 170));
  glow.setColorAt(0.18, WithAlpha(Palette::Orange, 90));
  glow.setColorAt(1, WithAlpha(Palette::Orange, 0));
  painter.fillRect(QRectF(QPointF(0, 0), size), glow);
  painter.fillRect(QRectF(left ? size.width() - 2 : 0, 0, 2, size.height()), Palette::Amber);
}

}  // namespace

void AddKeyboardPictures(PictureSet& set) {
  for (const Look& look : Looks) {
    const QString folder = QLatin1String(look.folder);
    const QString suffix = folder == "normal" ? QString() : "_" + folder;
    for (const KeyShape& shape : Shapes) {
      const QString path = Folder + folder + "/" + shape.name + suffix + ".png";
      if (shape.white) {
        set.Add(path, {WhiteWidth, WhiteHeight},
                [shape, look](QPainter& p, QSizeF) { WhiteKey(p, shape, look); });
      } else {
        set.Add(path, {BlackWidth, BlackHeight},
                [look](QPainter& p, QSizeF) { BlackKey(p, look); });
      }
    }
  }
  set.Add(Folder + "highlightL.png", {52, 127},
          [](QPainter& p, QSizeF s) { OctaveGlow(p, s, true); });
  set.Add(Folder + "highlightR.png", {52, 127},
          [](QPainter& p, QSizeF s) { OctaveGlow(p, s, false); });
}

}  // namespace Pictures
