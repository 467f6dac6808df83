// The two range selectors of the settings panels: a keyboard of the 52 white keys and a row of
// the thirteen interval sizes. Each has a background, a lit copy that shows through the selected
// part, two handles and the edges between them; the lit copies line up with the backgrounds at
// the offsets the selectors draw them with.
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Folder = QStringLiteral("PIX/pixmap/interval/");

constexpr int WhiteKeys = 52;
constexpr qreal KeyWidth = 12;
constexpr qreal KeyboardHeight = 45;
constexpr int MiddleC = 23;  // white-key position of C4

// Bounds of a keyboard variant, in white-key positions (right end exclusive).
struct Span {
  int from;
  int to;
};

// The keyboard at `origin`; keys outside `span` are dimmed, keys inside are drawn in `tint`.
void MiniKeyboard(QPainter& painter, QPointF origin, Span span, const QColor& tint, bool lit) {
  for (int i = 0; i < WhiteKeys; ++i) {
    const QRectF key(origin.x() + i * KeyWidth + 0.5, origin.y(), KeyWidth - 1, KeyboardHeight);
    const bool inside = i >= span.from && i < span.to;
    QColor colour = inside ? tint : QColor(0x7d, 0x86, 0x99);
    painter.fillPath(RoundedRect(key, 1.5),
                     VerticalGradient(key, colour.darker(lit ? 100 : 108), colour));
  }
  for (int i = 0; i < WhiteKeys - 1; ++i) {
    const int letter = (i + 5) % 7;            // 0 = C .. 6 = B
    if (letter == 2 || letter == 6) continue;  // no black key after E or B
    const QRectF key(origin.x() + (i + 1) * KeyWidth - 4, origin.y(), 8, KeyboardHeight * 0.6);
    const bool inside = i + 1 > span.from && i + 1 < span.to;
    const QColor colour =
        lit ? Palette::Orange.darker(190) : (inside ? Palette::Night : QColor(0x3c, 0x42, 0x52));
    painter.fillPath(RoundedRect(key, 1.5), colour);
  }
}

void SelectorGround(QPainter& painter, QSizeF size) {
  const QRectF rect = QRectF(QPointF(0, 0), size).adjusted(0.5, 0.5, -0.5, -6.5);
  Panel(painter, rect, 10, Palette::Slate, Palette::Navy, WithAlpha(Palette::Steel, 220));
}

void RootBackground(QPainter& painter, QSizeF size, Span span, bool bass, bool treble) {
  SelectorGround(painter, size);
  const QPointF origin(11, 31);
  MiniKeyboard(painter, origin, span, Qt::white, false);
  // Which clef a part of the keyboard belongs to, over it; the octaves' Cs under it.
  const QFont label = SansFont(11, true);
  auto band = [&](int from, int to, const QString& text) {
    const QRectF rect(origin.x() + from * KeyWidth + 2, 8, (to - from) * KeyWidth - 4, 16);
    painter.fillPath(RoundedRect(rect, 8), WithAlpha(Palette::Steel, 150));
    DrawText(painter, rect, text, label, Qt::white);
  };
  if (bass) band(std::max(span.from, 0), treble ? MiddleC : span.to, "Bass");
  if (treble) band(bass ? MiddleC : span.from, span.to, "Treble");
  for (int octave = 1; octave <= 8; ++octave) {
    const int position = 2 + (octave - 1) * 7;
    const QRectF rect(origin.x() + position * KeyWidth - 8, 80, KeyWidth + 16, 14);
    DrawText(painter, rect, QString("C%1").arg(octave), SansFont(10),
             octave == 4 ? Palette::Amber : Palette::Mist);
  }
}

void Handle(QPainter& painter, QSizeF size) {
  const QRectF rect = QRectF(QPointF(0, 0), size).adjusted(1, 0.5, -1, -0.5);
  ButtonBody(painter, RoundedRect(rect, 3), Palette::Orange, ButtonState::Normal);
  const qreal cx = size.width() / 2;
  for (int i = -1; i <= 1; ++i) {
    painter.fillRect(QRectF(cx - 2.5, size.height() / 2 + i * 4 - 0.6, 5, 1.2),
                     QColor(255, 255, 255, 200));
  }
}

void Edge(QPainter& painter, QSizeF size, bool top) {
  const qreal thickness = std::min<qreal>(3, size.height());
  painter.fillRect(QRectF(0, top ? 0 : size.height() - thickness, size.width(), thickness),
                   Palette::Orange);
}

void AddKeyboardSelector(PictureSet& set) {
  struct Variant {
    const char* name;
    Span span;
    bool bass;
    bool treble;
  };
  const Variant variants[] = {
      {"root_bg_bass_treble", {0, 52}, true, true},
      {"root_bg_bass", {0, 32}, true, false},
      {"root_bg_treble", {15, 52}, false, true},
      {"root_bg_bass_treble_limited", {2, 44}, true, true},
      {"root_bg_bass_limited", {2, 32}, true, false},
      {"root_bg_treble_limited", {15, 44}, false, true},
  };
  for (const Variant& variant : variants) {
    set.Add(Folder + variant.name + ".png", {650, 105}, [variant](QPainter& p, QSizeF s) {
      RootBackground(p, s, variant.span, variant.bass, variant.treble);
    });
  }
  set.Add(Folder + "root_fg.png", {627, 45}, [](QPainter& p, QSizeF) {
    MiniKeyboard(p, QPointF(0, 0), {0, WhiteKeys}, Palette::Amber, true);
  });
  set.Add(Folder + "root_fg_limited.png", {627, 45}, [](QPainter& p, QSizeF) {
    MiniKeyboard(p, QPointF(0, 0), {0, WhiteKeys}, Palette::Gold, true);
  });
  set.Add(Folder + "root_left.png", {13, 53}, Handle);
  set.Add(Folder + "root_right.png", {13, 53}, Handle);
  set.Add(Folder + "root_top.png", {12, 5}, [](QPainter& p, QSizeF s) { Edge(p, s, true); });
  set.Add(Folder + "root_bottom.png", {12, 5}, [](QPainter& p, QSizeF s) { Edge(p, s, false); });
}

// The thirteen interval cells over the track x 10..640, y 5..86 of the background.
void IntervalCells(QPainter& painter, QPointF origin, bool lit) {
  const char* names[13] = {"P1", "m2", "M2", "m3", "M3", "P4", "TT",
                           "P5", "m6", "M6", "m7", "M7", "P8"};
  const qreal cell = 630.0 / 13;
  for (int i = 0; i < 13; ++i) {
    const QRectF rect(origin.x() + i * cell + 2, origin.y() + 4, cell - 4, 73);
    const QColor face = lit ? Palette::Orange : Palette::Slate.lighter(125);
    painter.fillPath(RoundedRect(rect, 6), VerticalGradient(rect, face.lighter(115), face));
    DrawText(painter, QRectF(rect.left(), rect.top() + 8, rect.width(), 24), names[i],
             SansFont(17, true), Qt::white);
    // The interval's width in semitones, as dots.
    const qreal dotsTop = rect.top() + 44;
    for (int dot = 0; dot < i; ++dot) {
      const QPointF at(rect.left() + 7 + (dot % 6) * 6, dotsTop + (dot / 6) * 6);
      painter.setPen(Qt::NoPen);
      painter.setBrush(lit ? QColor(255, 255, 255, 220) : WithAlpha(Palette::Mist, 170));
      painter.drawEllipse(at, 1.8, 1.8);
    }
  }
}

void AddIntervalSelector(PictureSet& set) {
  set.Add(Folder + "size_bg.png", {650, 109}, [](QPainter& p, QSizeF s) {
    SelectorGround(p, s);
    IntervalCells(p, QPointF(10, 5), false);
    const qreal cell = 630.0 / 13;
    for (int i = 0; i < 13; ++i) {
      DrawText(p, QRectF(10 + i * cell, 86, cell, 14), QString::number(i), SansFont(10),
               Palette::Mist);
    }
  });
  // Drawn with its origin at (5, 5) of the background.
  set.Add(Folder + "size_fg.png", {640, 81},
          [](QPainter& p, QSizeF) { IntervalCells(p, QPointF(5, 0), true); });
  set.Add(Folder + "size_left.png", {18, 81}, Handle);
  set.Add(Folder + "size_right.png", {18, 81}, Handle);
  set.Add(Folder + "size_top.png", {5, 10}, [](QPainter& p, QSizeF s) { Edge(p, s, true); });
  set.Add(Folder + "size_bottom.png", {5, 10}, [](QPainter& p, QSizeF s) { Edge(p, s, false); });
}

}  // namespace

void AddRangeSelectorPictures(PictureSet& set) {
  AddKeyboardSelector(set);
  AddIntervalSelector(set);
}

}  // namespace Pictures
