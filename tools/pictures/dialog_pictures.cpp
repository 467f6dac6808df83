// The overlay dialogs: the splash (also the About panel), the news mail, the MIDI warning, the
// section end, the difficulty choice and the rating stars. Each panel leaves free the places where
// its form puts labels and buttons.
#include "tools/pictures/icons.h"
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Pix = QStringLiteral("PIX/pixmap/");
const QString Plain = QStringLiteral("pixmap/");

const std::pair<ButtonState, const char*> ThreeStates[] = {{ButtonState::Normal, "normal"},
                                                           {ButtonState::Hover, "hover"},
                                                           {ButtonState::Pressed, "pressed"}};

QRectF Whole(QSizeF size) {
  return {QPointF(0, 0), size};
}

// The program's mark: three piano keys under a note, on an orange disc.
void Logo(QPainter& painter, const QRectF& disc) {
  QPainterPath circle;
  circle.addEllipse(disc);
  ButtonBody(painter, circle, Palette::Orange, ButtonState::Normal);
  Icons::PianoKeys(painter,
                   disc.adjusted(disc.width() * 0.2, disc.height() * 0.22, -disc.width() * 0.2,
                                 -disc.height() * 0.18),
                   Qt::white);
}

void DarkPanel(QPainter& painter, QSizeF size) {
  const QRectF rect = Whole(size).adjusted(1, 1, -1, -1);
  Panel(painter, rect, 16, Palette::Slate, Palette::Night, WithAlpha(Palette::Steel, 230));
  FadingLine(painter, QRectF(rect.left() + 40, rect.top() + 1, rect.width() - 80, 2),
             Palette::Orange);
}

void PillButton(QPainter& painter, QSizeF size, const QColor& colour, ButtonState state) {
  const QRectF rect = Whole(size).adjusted(1, 1, -1, -1);
  ButtonBody(painter, RoundedRect(rect, rect.height() / 2), colour, state);
}

void AddSplashAndAbout(PictureSet& set) {
  set.Add(Pix + "splash_bg.png", {462, 386}, [](QPainter& p, QSizeF s) {
    DarkPanel(p, s);
    Logo(p, QRectF(s.width() / 2 - 48, 38, 96, 96));
    DrawText(p, QRectF(0, 152, s.width(), 44), "Melvarin Studio", SansFont(40, true), Qt::white);
    DrawText(p, QRectF(0, 200, s.width(), 24), "for Piano", SansFont(20), Palette::Amber);
    FadingLine(p, QRectF(60, 236, s.width() - 120, 1), WithAlpha(Palette::Steel, 200));
    // The version line of the About dialog goes at (40, 250); its Close button at (336, 319).
    DrawText(p, QRectF(40, 330, 260, 20), "Notes \u00B7 Ear \u00B7 Symbols", SansFont(14),
             WithAlpha(Palette::Mist, 200), Qt::AlignLeft | Qt::AlignVCenter);
  });
  for (const auto& [state, name] : ThreeStates) {
    set.Add(Pix + QString("splash_btn_%1.png").arg(name), {86, 29},
            [state](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Orange, state); });
  }
}

void AddMail(PictureSet& set) {
  // The form bounds the panel between 526 and 525 pixels wide; Qt lays it out 525 wide.
  set.Add(Pix + "news_wnd_bg.PNG", {525, 403}, [](QPainter& p, QSizeF s) {
    const QRectF rect = Whole(s).adjusted(1, 1, -1, -1);
    Panel(p, rect, 14, Palette::Paper, Palette::Mist, Palette::Steel);
    // Header with the envelope over the news text.
    QPainterPath header = RoundedRect(rect, 14).intersected(
        RoundedRect(QRectF(rect.left(), rect.top(), rect.width(), 40), 0));
    p.fillPath(header, VerticalGradient(QRectF(0, 0, 1, 40), Palette::Slate, Palette::Navy));
    FadingLine(p, QRectF(rect.left(), 40, rect.width(), 2), Palette::Orange);
    Icons::Envelope(p, QRectF(20, 6, 28, 28), Qt::white);
    DrawText(p, QRectF(56, 0, 300, 40), "News", SansFont(18, true), Qt::white,
             Qt::AlignLeft | Qt::AlignVCenter);
    // The text area at (25, 47, 480, 290).
    p.fillPath(RoundedRect(QRectF(22, 46, 486, 294), 6), Qt::white);
    p.setPen(QPen(Palette::Mist, 1));
    p.drawRoundedRect(QRectF(22.5, 46.5, 485, 293), 6, 6);
  });
  for (const auto& [state, name] : ThreeStates) {
    set.Add(Pix + QString("btn_news_close_%1.png").arg(name), {90, 34},
            [state](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Steel, state); });
  }
  // The news scroll bar: a rail tiled down the groove, a grip whose 14-pixel caps stay whole while
  // its middle stretches, and ridges on the grip's centre.
  set.Add(Pix + "scroll_body_news.PNG", {14, 16},
          [](QPainter& p, QSizeF) { p.fillRect(QRectF(5, 0, 4, 16), Palette::Mist); });
  set.Add(Pix + "scroll_grip_news.PNG", {14, 40}, [](QPainter& p, QSizeF s) {
    const QRectF rect = Whole(s).adjusted(2, 1, -2, -1);
    ButtonBody(p, RoundedRect(rect, 5), Palette::Steel, ButtonState::Normal);
  });
  set.Add(Pix + "scroll_grip_center.PNG", {14, 14}, [](QPainter& p, QSizeF) {
    for (int i = 0; i < 3; ++i)
      p.fillRect(QRectF(4, 3.5 + i * 3, 6, 1.2), QColor(255, 255, 255, 170));
  });
}

void AddMidiWarning(PictureSet& set) {
  set.Add(Pix + "midi_bg.png", {526, 250}, [](QPainter& p, QSizeF s) {
    DarkPanel(p, s);
    // Title and message are at x 70..470 from y 82; the MIDI socket sits above them.
    const QRectF disc(s.width() / 2 - 30, 14, 60, 60);
    QPainterPath circle;
    circle.addEllipse(disc);
    ButtonBody(p, circle, Palette::Orange, ButtonState::Normal);
    Icons::MidiPlug(p, disc.adjusted(10, 10, -10, -10), Qt::white);
    FadingLine(p, QRectF(40, 176, s.width() - 80, 1), WithAlpha(Palette::Steel, 200));
  });
  // The notice about the learner's files has the warning's look, an exclamation mark in place of
  // the socket, and room for a few paragraphs between the title at y 82 and the Close button at
  // y 326.
  set.Add(Pix + "notice_bg.png", {526, 380}, [](QPainter& p, QSizeF s) {
    DarkPanel(p, s);
    const QRectF disc(s.width() / 2 - 30, 14, 60, 60);
    QPainterPath circle;
    circle.addEllipse(disc);
    ButtonBody(p, circle, Palette::Orange, ButtonState::Normal);
    Icons::Exclamation(p, disc.adjusted(12, 12, -12, -12), Qt::white);
    FadingLine(p, QRectF(40, 312, s.width() - 80, 1), WithAlpha(Palette::Steel, 200));
  });
}

void AddSectionEnd(PictureSet& set) {
  // Score panels: green for 90 % and more, red below, neutral while counting. The ground stays
  // dark, so the score, written in the verdict's own colour, reads on it; the rim and a glow
  // behind the number carry the verdict.
  const std::pair<const char*, QColor> panels[] = {{"green_bg.png", Palette::Green},
                                                   {"red_bg.png", Palette::Red},
                                                   {"white_bg.png", Palette::Steel}};
  for (const auto& [name, colour] : panels) {
    set.Add(Pix + name, {512, 350}, [colour](QPainter& p, QSizeF s) {
      const QRectF rect = Whole(s).adjusted(1, 1, -1, -1);
      Panel(p, rect, 20, Palette::Slate, Palette::Night, colour.lighter(120));
      QRadialGradient light(QPointF(s.width() / 2, 140), 260);
      light.setColorAt(0, WithAlpha(colour, 70));
      light.setColorAt(1, WithAlpha(colour, 0));
      p.fillPath(RoundedRect(rect, 20), light);
      // A bed for the score bar at (96, 208).
      p.fillPath(RoundedRect(QRectF(90, 204, 334, 28), 14), QColor(0, 0, 0, 60));
    });
  }
  for (const auto& [state, name] : ThreeStates) {
    if (state == ButtonState::Pressed) continue;  // the form has no pressed look
    set.Add(Pix + QString("btn_repeat_%1.png").arg(name), {200, 65},
            [state](QPainter& p, QSizeF s) {
              PillButton(p, s, Palette::Orange, state);
              Icons::Repeat(p, QRectF(18, 16, 32, 32), Qt::white);
            });
  }
}

// One item of the difficulty choice: its level as a number over a five-step meter, or the custom
// settings as sliders.
void LevelButton(QPainter& painter, QSizeF size, int level, ButtonState state) {
  const QRectF rect = Whole(size).adjusted(1.5, 1.5, -1.5, -1.5);
  const QPainterPath path = RoundedRect(rect, 10);
  QColor face = Qt::white;
  QColor ink = Palette::Navy;
  QColor border = Palette::Mist;
  if (state == ButtonState::Hover) border = Palette::Orange;
  if (state == ButtonState::Pressed) {
    face = Palette::Orange;
    ink = Qt::white;
    border = Palette::Orange.darker(120);
  }
  if (state == ButtonState::Disabled) {
    face = Palette::Paper;
    ink = WithAlpha(Palette::Ink, 90);
  }
  painter.fillPath(
      path, VerticalGradient(rect, face, face.darker(state == ButtonState::Pressed ? 115 : 104)));
  painter.setPen(QPen(border, state == ButtonState::Hover ? 2 : 1));
  painter.drawPath(path);
  const QRectF top(rect.left(), rect.top() + 6, rect.width(), 40);
  if (level == 0) {
    Icons::Sliders(painter, QRectF(rect.center().x() - 18, top.top() + 2, 36, 36), ink);
  } else {
    DrawText(painter, top, QString::number(level), SansFont(32, true), ink);
  }
  for (int i = 0; i < 5; ++i) {
    const qreal h = 4 + i * 3;
    const QRectF bar(rect.left() + 12 + i * 9, rect.bottom() - 10 - h, 6, h);
    const bool lit = level == 0 || i < level;
    QColor colour = lit ? (state == ButtonState::Pressed ? QColor(Qt::white) : Palette::Orange)
                        : WithAlpha(Palette::Ink, 50);
    if (state == ButtonState::Disabled) colour = WithAlpha(Palette::Ink, lit ? 80 : 35);
    painter.fillPath(RoundedRect(bar, 1.5), colour);
  }
}

void AddDifficulty(PictureSet& set) {
  set.Add(Plain + "window_bg.png", {642, 304}, [](QPainter& p, QSizeF s) {
    const QRectF rect = Whole(s).adjusted(1, 1, -1, -1);
    Panel(p, rect, 16, Qt::white, Palette::Paper, Palette::Mist);
    FadingLine(p, QRectF(40, 1, s.width() - 80, 3), Palette::Orange);
    FadingLine(p, QRectF(40, 84, s.width() - 80, 1), Palette::Mist);
    FadingLine(p, QRectF(20, 266, s.width() - 40, 1), Palette::Mist);
  });
  const std::pair<ButtonState, const char*> fourStates[] = {{ButtonState::Normal, "normal"},
                                                            {ButtonState::Hover, "hover"},
                                                            {ButtonState::Pressed, "pressed"},
                                                            {ButtonState::Disabled, "disable"}};
  for (int level = 0; level <= 5; ++level) {
    const QString item = level == 0 ? QString("previous") : QString::number(level);
    for (const auto& [state, name] : fourStates) {
      set.Add(Plain + QString("btn_reset_%1_%2.png").arg(item, name), {69, 77},
              [level, state](QPainter& p, QSizeF s) { LevelButton(p, s, level, state); });
    }
  }
  for (const auto& [state, name] : ThreeStates) {
    set.Add(Plain + QString("d_btn_close_%1.png").arg(name), {28, 28},
            [state](QPainter& p, QSizeF s) {
              const QRectF circle = Whole(s).adjusted(2, 2, -2, -2);
              QPainterPath path;
              path.addEllipse(circle);
              if (state == ButtonState::Normal) {
                p.fillPath(path, WithAlpha(Palette::Mist, 120));
                Icons::Cross(p, circle, Palette::Ink);
              } else {
                ButtonBody(p, path, Palette::Red, state);
                Icons::Cross(p, circle, Qt::white);
              }
            });
  }
}

void AddRatingStars(PictureSet& set) {
  // The outline is always shown; the gold star lies under it while the pointer is over.
  set.Add(Pix + "star_1.png", {84, 84}, [](QPainter& p, QSizeF s) {
    const QPainterPath star = StarPath(Whole(s).adjusted(6, 6, -6, -6));
    p.fillPath(star, QColor(255, 255, 255, 30));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(star);
  });
  set.Add(Pix + "star_2.png", {84, 84}, [](QPainter& p, QSizeF s) {
    QRadialGradient glow(QPointF(s.width() / 2, s.height() * 0.54), s.width() / 2);
    glow.setColorAt(0, WithAlpha(Palette::Gold, 120));
    glow.setColorAt(1, WithAlpha(Palette::Gold, 0));
    p.fillRect(Whole(s), glow);
    const QPainterPath star = StarPath(Whole(s).adjusted(6, 6, -6, -6));
    p.fillPath(star, VerticalGradient(Whole(s), Palette::Gold.lighter(120), Palette::Orange));
  });
}

}  // namespace

void AddDialogPictures(PictureSet& set) {
  AddSplashAndAbout(set);
  AddMail(set);
  AddMidiWarning(set);
  AddSectionEnd(set);
  AddDifficulty(set);
  AddRatingStars(set);
}

}  // namespace Pictures
