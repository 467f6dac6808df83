// The exercise screen: the six answer buttons in their three verdict looks, the footer with its
// groove, played part, grip and section separators, the keyboard area's gloss, wood and damper
// strips, the statistics frame's separator, buttons and time-out clock, and the question picture.
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Pix = QStringLiteral("PIX/pixmap/");

QRectF Whole(QSizeF size) {
  return {QPointF(0, 0), size};
}

void PillButton(QPainter& painter, QSizeF size, const QColor& base, ButtonState state) {
  const QRectF rect = Whole(size).adjusted(1, 1, -1, -1);
  ButtonBody(painter, RoundedRect(rect, rect.height() / 2), base, state);
}

void AddAnswerButtons(PictureSet& set) {
  const QSize size(131, 29);
  const std::pair<const char*, ButtonState> looks[] = {{"btn_multy_normal", ButtonState::Normal},
                                                       {"btn_multy_hover", ButtonState::Hover},
                                                       {"btn_multy_pressed", ButtonState::Pressed}};
  for (const auto& [name, state] : looks)
    set.Add(Pix + name + ".png", size,
            [state = state](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Steel, state); });
  set.Add(Pix + "btn_multy_red.png", size,
          [](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Red, ButtonState::Normal); });
  set.Add(Pix + "btn_multy_green.png", size,
          [](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Green, ButtonState::Normal); });
  const std::pair<const char*, ButtonState> states[] = {{"normal", ButtonState::Normal},
                                                        {"hover", ButtonState::Hover},
                                                        {"pressed", ButtonState::Pressed}};
  for (const auto& [suffix, state] : states) {
    set.Add(Pix + "print_btn_" + suffix + ".png", {55, 30},
            [state = state](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Orange, state); });
    set.Add(Pix + "statistic_btn_" + suffix + ".png", {161, 30},
            [state = state](QPainter& p, QSizeF s) { PillButton(p, s, Palette::Orange, state); });
  }
}

void AddFooter(PictureSet& set) {
  set.Add(Pix + "bottom_bg.png", {64, 47}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s), VerticalGradient(Whole(s), Palette::Slate, Palette::Night));
  });
  set.Add(Pix + "footer_bg.png", {64, 39}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s), VerticalGradient(Whole(s), Palette::Night, Palette::Navy));
    p.fillRect(QRectF(0, 0, s.width(), 1), QColor(0, 0, 0, 160));
  });
  set.Add(Pix + "footer_orange.png", {64, 39}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s), VerticalGradient(Whole(s), Palette::Amber, Palette::Orange.darker(130)));
  });
  set.Add(Pix + "grip.png", {20, 39}, [](QPainter& p, QSizeF s) {
    const QRectF body = Whole(s).adjusted(3, 4, -3, -4);
    ButtonBody(p, RoundedRect(body, 4), Palette::Mist, ButtonState::Normal);
    for (int i = -1; i <= 1; ++i)
      p.fillRect(QRectF(s.width() / 2 + i * 3 - 0.5, 13, 1, 13), WithAlpha(Palette::Ink, 200));
  });
  set.Add(Pix + "separator_footer.png", {8, 39}, [](QPainter& p, QSizeF s) {
    p.fillRect(QRectF(3, 4, 1, s.height() - 8), QColor(0, 0, 0, 150));
    p.fillRect(QRectF(4, 4, 1, s.height() - 8), QColor(255, 255, 255, 60));
  });
}

void AddKeyboardArea(PictureSet& set) {
  set.Add(Pix + "piano_gloss.png", {64, 60}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s),
               VerticalGradient(Whole(s), QColor(255, 255, 255, 40), QColor(255, 255, 255, 0)));
  });
  set.Add(Pix + "wood_tile.png", {64, 16}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s),
               VerticalGradient(Whole(s), QColor(0x8a, 0x4b, 0x22), QColor(0x4e, 0x26, 0x0e)));
    for (int y = 3; y < 16; y += 4) p.fillRect(QRectF(0, y, s.width(), 1), QColor(0, 0, 0, 30));
  });
  set.Add(Pix + "demper_tile.png", {64, 6}, [](QPainter& p, QSizeF s) {
    p.fillRect(Whole(s),
               VerticalGradient(Whole(s), QColor(0x9c, 0x1c, 0x24), QColor(0x52, 0x0a, 0x10)));
  });
}

void AddStatisticsFrame(PictureSet& set) {
  set.Add(Pix + "statistic_separator.png", {650, 3},
          [](QPainter& p, QSizeF s) { FadingLine(p, QRectF(0, 1, s.width(), 1), Palette::Ink); });
  set.Add(Pix + "time.png", {28, 28}, [](QPainter& p, QSizeF s) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = Whole(s).adjusted(3, 3, -3, -3);
    p.setBrush(Palette::Paper);
    p.setPen(QPen(Palette::Red, 2.5));
    p.drawEllipse(face);
    p.setPen(QPen(Palette::Ink, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = face.center();
    p.drawLine(centre, centre + QPointF(0, -7));
    p.drawLine(centre, centre + QPointF(5, 0));
  });
  // The statistics header's mark after a hovered octave: a small arrow pointing down at the piano.
  set.Add(Pix + "pointer.png", {18, 18}, [](QPainter& p, QSizeF s) {
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(s.width() / 2, s.height() - 2);
    arrow.lineTo(2, s.height() / 2 - 1);
    arrow.lineTo(s.width() / 2 - 3, s.height() / 2 - 1);
    arrow.lineTo(s.width() / 2 - 3, 2);
    arrow.lineTo(s.width() / 2 + 3, 2);
    arrow.lineTo(s.width() / 2 + 3, s.height() / 2 - 1);
    arrow.lineTo(s.width() - 2, s.height() / 2 - 1);
    arrow.closeSubpath();
    p.fillPath(arrow, Palette::Blue);
  });
  // The question area's placeholder while an unseen question waits: a large question mark.
  set.Add(QStringLiteral("pixmap/exercise/question.png"), {200, 200}, [](QPainter& p, QSizeF s) {
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF disc = Whole(s).adjusted(10, 10, -10, -10);
    QPainterPath circle;
    circle.addEllipse(disc);
    ButtonBody(p, circle, Palette::Orange, ButtonState::Normal);
    DrawText(p, disc, QStringLiteral("?"), SansFont(130, true), Qt::white);
  });
}

}  // namespace

void AddExercisePictures(PictureSet& set) {
  AddAnswerButtons(set);
  AddFooter(set);
  AddKeyboardArea(set);
  AddStatisticsFrame(set);
}

}  // namespace Pictures
