// The home screen: the two background pictures with the three trainer cards, and the Learn and
// Quiz buttons that sit on the cards. The home screen scales a background to the window and
// places its buttons and bars by fixed positions in the picture, so the cards are drawn exactly
// where those positions fall.
#include "tools/pictures/icons.h"
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

#include <cmath>

namespace Pictures {

namespace {

const QString Folder = QStringLiteral("PIX/pixmap/");

// Positions the home screen lays its widgets out by (picture pixels).
constexpr qreal CardLeft = 586;
constexpr qreal CardWidth = 340.4;
constexpr qreal CardPitch = 390.4;
constexpr qreal BarTop = 451;
constexpr int Width = 2293;  // centres the three cards

struct Card {
  void (*icon)(QPainter&, const QRectF&, const QColor&);
  const char* title;
  const char* lines[2];
};

// Left to right: the music-symbols trainer, the note trainer, the ear trainer.
const Card Cards[3] = {
    {Icons::Accidentals,
     "Music Symbols",
     {"Note lengths, key signatures,", "loudness and tempo marks"}},
    {Icons::EighthNote, "Note Trainer", {"Read notes, intervals and", "chords from the staff"}},
    {Icons::Ear, "Ear Trainer", {"Hear notes, intervals, chords,", "scales and tempo"}},
};

// Five staff lines swinging gently across the picture.
void Staff(QPainter& painter, qreal width, qreal middle) {
  painter.save();
  for (int line = 0; line < 5; ++line) {
    QPainterPath path;
    for (int x = 0; x <= int(width); x += 8) {
      const qreal y = middle + (line - 2) * 14 + 38 * std::sin(x / 420.0) + 12 * std::sin(x / 97.0);
      if (x == 0) {
        path.moveTo(x, y);
      } else {
        path.lineTo(x, y);
      }
    }
    painter.setPen(QPen(QColor(255, 255, 255, 16), 1.4));
    painter.drawPath(path);
  }
  painter.restore();
}

// A quiet keyboard along the bottom edge.
void KeyboardBand(QPainter& painter, qreal width, qreal top, qreal height) {
  const QRectF band(0, top, width, height);
  painter.save();
  painter.setClipRect(band);
  const qreal key = 46;
  for (int i = 0; i * key < width; ++i) {
    const QRectF white(i * key + 1, top, key - 2, height + 8);
    painter.fillPath(RoundedRect(white, 5), QColor(255, 255, 255, 14));
    const int step = i % 7;
    if (step != 2 && step != 6) {
      painter.fillPath(RoundedRect(QRectF((i + 1) * key - 13, top, 26, height * 0.6), 4),
                       QColor(0, 0, 0, 70));
    }
  }
  painter.fillRect(
      band, VerticalGradient(band, WithAlpha(Palette::Night, 170), WithAlpha(Palette::Night, 0)));
  painter.restore();
  // The felt strip above the keys.
  FadingLine(painter, QRectF(0, top - 3, width, 3), WithAlpha(QColor(0x8c, 0x2a, 0x2a), 200));
}

void DrawCard(QPainter& painter, const Card& card, const QRectF& rect) {
  SoftShadow(painter, rect, 18, 16, 120);
  Panel(painter, rect, 18, Palette::Slate, Palette::Navy, WithAlpha(Palette::Steel, 200));
  const qreal cx = rect.center().x();
  const QRectF disc(cx - 52, rect.top() + 36, 104, 104);
  QPainterPath circle;
  circle.addEllipse(disc);
  SoftShadow(painter, disc, 52, 8, 80);
  ButtonBody(painter, circle, Palette::Orange, ButtonState::Normal);
  card.icon(painter, disc.adjusted(22, 22, -22, -22), Qt::white);
  DrawText(painter, QRectF(rect.left(), rect.top() + 158, rect.width(), 40), card.title,
           SansFont(30, true), Qt::white);
  for (int i = 0; i < 2; ++i) {
    DrawText(painter, QRectF(rect.left(), rect.top() + 212 + i * 26, rect.width(), 24),
             card.lines[i], SansFont(18), Palette::Mist);
  }
  FadingLine(painter, QRectF(rect.left() + 24, rect.top() + 330, rect.width() - 48, 1),
             WithAlpha(Palette::Steel, 220));
  // A sunken bed for the progress bar.
  painter.fillPath(RoundedRect(QRectF(rect.left() + 26, rect.top() + BarTop - 4, 288, 37), 9),
                   QColor(0, 0, 0, 70));
}

void HomeBackground(QPainter& painter, QSizeF size, qreal cardsTop, qreal headlineTop) {
  const QRectF all(QPointF(0, 0), size);
  QLinearGradient ground(all.topLeft(), all.bottomLeft());
  ground.setColorAt(0, Palette::Slate);
  ground.setColorAt(0.45, Palette::Navy);
  ground.setColorAt(1, Palette::Night);
  painter.fillRect(all, ground);
  const qreal centre = CardLeft + CardPitch + CardWidth / 2;
  QRadialGradient glow(QPointF(centre, cardsTop + 200), 1100);
  glow.setColorAt(0, QColor(0x5a, 0x74, 0xa8, 90));
  glow.setColorAt(1, QColor(0x5a, 0x74, 0xa8, 0));
  painter.fillRect(all, glow);
  Staff(painter, size.width(), headlineTop + 40);
  KeyboardBand(painter, size.width(), size.height() - 120, 120);

  DrawText(painter, QRectF(0, headlineTop, size.width(), 70), "Melvarin Studio", SansFont(62, true),
           Qt::white);
  DrawText(painter, QRectF(0, headlineTop + 78, size.width(), 30),
           "Read, hear and understand music at the piano", SansFont(24),
           WithAlpha(Palette::Mist, 230));
  FadingLine(painter, QRectF(centre - 160, headlineTop + 124, 320, 3), Palette::Orange);

  const qreal cardHeight = size.height() - cardsTop - 130 > 520 ? 520 : 500;
  for (int k = 0; k < 3; ++k) {
    DrawCard(painter, Cards[k], QRectF(CardLeft + k * CardPitch, cardsTop, CardWidth, cardHeight));
  }
}

void LearnQuizButton(QPainter& painter, QSizeF size, bool learn, ButtonState state) {
  const QRectF rect = QRectF(QPointF(0, 0), size).adjusted(1, 2, -1, -2);
  const QPainterPath path = HalfRoundedRect(rect, rect.height() / 2, learn);
  ButtonBody(painter, path, learn ? Palette::Green : Palette::Orange, state);
  const qreal shift = state == ButtonState::Pressed ? 1 : 0;
  const QRectF label = rect.translated(0, shift);
  const QString text = learn ? "Learn" : "Quiz";
  DrawText(painter, label.translated(0, 1), text, SansFont(21, true), QColor(0, 0, 0, 70));
  DrawText(painter, label, text, SansFont(21, true), Qt::white);
}

}  // namespace

void AddHomePictures(PictureSet& set) {
  set.Add(Folder + "main_bg.png", {Width, 900},
          [](QPainter& p, QSizeF s) { HomeBackground(p, s, 245, 62); });
  set.Add(Folder + "main_bg_big.png", {Width, 1200},
          [](QPainter& p, QSizeF s) { HomeBackground(p, s, 516, 250); });
  const std::pair<ButtonState, const char*> states[] = {{ButtonState::Normal, "normal"},
                                                        {ButtonState::Hover, "hover"},
                                                        {ButtonState::Pressed, "pressed"}};
  for (const auto& [state, name] : states) {
    for (bool learn : {true, false}) {
      set.Add(Folder + QString("btn_%1_%2.png").arg(learn ? "learn" : "quiz", name), {142, 54},
              [learn, state](QPainter& p, QSizeF s) { LearnQuizButton(p, s, learn, state); });
    }
  }
}

}  // namespace Pictures
