// The main window's toolbar: its background, separators, the page buttons' icons and looks, the
// window buttons and the captions that name the open trainer.
#include "tools/pictures/icons.h"
#include "tools/pictures/paint_kit.h"
#include "tools/pictures/palette.h"
#include "tools/pictures/picture_set.h"

namespace Pictures {

namespace {

const QString Folder = QStringLiteral("PIX/pixmap/");
constexpr int BarHeight = 61;

using IconPainter = void (*)(QPainter&, const QRectF&, const QColor&);

const char* StateName(ButtonState state) {
  switch (state) {
    case ButtonState::Hover:
      return "hover";
    case ButtonState::Pressed:
      return "pressed";
    default:
      return "normal";
  }
}

// A round window button: a quiet ring at rest, filled in `accent` under the pointer.
void RoundButton(QPainter& painter, QSizeF size, ButtonState state, const QColor& accent,
                 const std::function<void(QPainter&, const QRectF&, const QColor&)>& icon) {
  const qreal diameter = std::min(size.width(), size.height()) - 6;
  const QRectF circle((size.width() - diameter) / 2, (size.height() - diameter) / 2, diameter,
                      diameter);
  QPainterPath path;
  path.addEllipse(circle);
  if (state == ButtonState::Normal) {
    painter.fillPath(path, QColor(255, 255, 255, 22));
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1.2));
    painter.drawEllipse(circle.adjusted(0.6, 0.6, -0.6, -0.6));
  } else {
    ButtonBody(painter, path, accent, state);
  }
  icon(painter,
       circle.adjusted(diameter * 0.16, diameter * 0.16, -diameter * 0.16, -diameter * 0.16),
       Qt::white);
}

void AddWindowButtons(PictureSet& set) {
  const ButtonState states[] = {ButtonState::Normal, ButtonState::Hover, ButtonState::Pressed};
  for (ButtonState state : states) {
    const QString suffix = QString("_%1").arg(StateName(state));
    set.Add(Folder + "button_back" + suffix + ".PNG", {38, 60}, [state](QPainter& p, QSizeF s) {
      RoundButton(p, s, state, Palette::Orange, Icons::BackArrow);
    });
    set.Add(Folder + "button_close" + suffix + ".png", {36, 36}, [state](QPainter& p, QSizeF s) {
      RoundButton(p, s, state, Palette::Red, Icons::Cross);
    });
    set.Add(Folder + "button_mini" + suffix + ".png", {36, 36}, [state](QPainter& p, QSizeF s) {
      RoundButton(p, s, state, Palette::Steel, Icons::Minimise);
    });
    // Shown while full screen: the way out of it; and the way back in.
    set.Add(Folder + "exitfull" + suffix + ".png", {36, 36}, [state](QPainter& p, QSizeF s) {
      RoundButton(p, s, state, Palette::Steel, [](QPainter& q, const QRectF& box, const QColor& c) {
        Icons::FullScreen(q, box, c, false);
      });
    });
    set.Add(Folder + "backtofull" + suffix + ".png", {36, 36}, [state](QPainter& p, QSizeF s) {
      RoundButton(p, s, state, Palette::Steel, [](QPainter& q, const QRectF& box, const QColor& c) {
        Icons::FullScreen(q, box, c, true);
      });
    });
  }
}

void AddPageIcons(PictureSet& set) {
  const std::pair<const char*, IconPainter> icons[] = {
      {"ico_news.png", Icons::Envelope},  {"ico_exercise.png", Icons::PianoKeys},
      {"ico_reference.png", Icons::Book}, {"ico_statistic.png", Icons::BarChart},
      {"ico_settings.png", Icons::Gear},  {"ico_help.png", Icons::Question},
      {"ico_about.png", Icons::Info},
  };
  for (const auto& [name, icon] : icons) {
    set.Add(Folder + name, {32, 32}, [icon](QPainter& p, QSizeF s) {
      // A faint drop shadow keeps the white icon readable on the lighter hover glow.
      icon(p, QRectF(QPointF(0, 1), s), QColor(0, 0, 0, 90));
      icon(p, QRectF(QPointF(0, 0), s), Qt::white);
    });
  }
  set.Add("add_16x16.png", {16, 16},
          [](QPainter& p, QSizeF s) { Icons::Plus(p, QRectF(QPointF(0, 0), s), Palette::Green); });
}

// A caption: the trainer's icon on an orange disc, its name, and for a quiz an orange badge.
void Caption(QPainter& painter, QSizeF size, IconPainter icon, const QString& title, bool quiz) {
  const qreal disc = 38;
  const QRectF circle(2, (size.height() - disc) / 2, disc, disc);
  QPainterPath path;
  path.addEllipse(circle);
  ButtonBody(painter, path, Palette::Orange, ButtonState::Normal);
  icon(painter, circle.adjusted(7, 7, -7, -7), Qt::white);
  const QFont font = SansFont(22, true);
  const QRectF text = DrawText(painter, QRectF(disc + 14, 0, size.width(), size.height()), title,
                               font, Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
  if (!quiz) return;
  const QFont badgeFont = SansFont(13, true);
  const qreal badgeWidth = TextWidth("QUIZ", badgeFont) + 20;
  const QRectF badge(text.right() + 12, size.height() / 2 - 11, badgeWidth, 22);
  const QPainterPath pill = RoundedRect(badge, 11);
  painter.fillPath(pill, Palette::Amber);
  DrawText(painter, badge, "QUIZ", badgeFont, Palette::Navy);
}

void AddCaptions(PictureSet& set) {
  struct CaptionPicture {
    const char* file;
    IconPainter icon;
    const char* title;
    bool quiz;
  };
  const CaptionPicture captions[] = {
      {"melvarin.PNG", Icons::PianoKeys, "Melvarin Studio", false},
      {"title_note.PNG", Icons::EighthNote, "Note Trainer", false},
      {"title_ear.PNG", Icons::Ear, "Ear Trainer", false},
      {"title_symbol.PNG", Icons::Accidentals, "Music Symbols Trainer", false},
      {"title_note_quiz.PNG", Icons::EighthNote, "Note Trainer", true},
      {"title_ear_quiz.PNG", Icons::Ear, "Ear Trainer", true},
      {"title_symbol_quiz.PNG", Icons::Accidentals, "Music Symbols Trainer", true},
  };
  for (const CaptionPicture& caption : captions) {
    set.Add(Folder + caption.file, {400, 48}, [caption](QPainter& p, QSizeF s) {
      Caption(p, s, caption.icon, caption.title, caption.quiz);
    });
  }
}

void AddBarPictures(PictureSet& set) {
  set.Add(Folder + "header_bg.png", {16, BarHeight}, [](QPainter& p, QSizeF s) {
    const QRectF all(QPointF(0, 0), s);
    QLinearGradient body(all.topLeft(), all.bottomLeft());
    body.setColorAt(0, Palette::Slate);
    body.setColorAt(0.55, Palette::Navy);
    body.setColorAt(1, Palette::Night);
    p.fillRect(all, body);
    p.fillRect(QRectF(0, 0, s.width(), 1), QColor(255, 255, 255, 45));
    p.fillRect(QRectF(0, s.height() - 2, s.width(), 1), QColor(0, 0, 0, 150));
    p.fillRect(QRectF(0, s.height() - 1, s.width(), 1), WithAlpha(Palette::Orange, 110));
  });
  set.Add(Folder + "separator_header.png", {3, BarHeight}, [](QPainter& p, QSizeF s) {
    FadingLine(p, QRectF(0, 6, 1, s.height() - 12), QColor(0, 0, 0, 140));
    FadingLine(p, QRectF(1, 6, 1, s.height() - 12), QColor(255, 255, 255, 55));
  });
  // Tiled across a page button under the pointer: a glow rising from the bottom edge.
  set.Add(Folder + "tab_hover.PNG", {8, BarHeight}, [](QPainter& p, QSizeF s) {
    const QRectF all(QPointF(0, 0), s);
    p.fillRect(all, VerticalGradient(all, QColor(255, 255, 255, 0), QColor(255, 255, 255, 46)));
    p.fillRect(QRectF(0, s.height() - 3, s.width(), 2), QColor(255, 255, 255, 110));
  });
  // Centred behind the chosen page button.
  set.Add(Folder + "highlight_orange.png", {84, BarHeight}, [](QPainter& p, QSizeF s) {
    QRadialGradient glow(QPointF(s.width() / 2, s.height()), s.height() * 0.95);
    glow.setColorAt(0, WithAlpha(Palette::Amber, 150));
    glow.setColorAt(0.6, WithAlpha(Palette::Orange, 60));
    glow.setColorAt(1, WithAlpha(Palette::Orange, 0));
    p.fillRect(QRectF(QPointF(0, 0), s), glow);
    FadingLine(p, QRectF(0, s.height() - 4, s.width(), 3), Palette::Amber);
  });
}

}  // namespace

void AddToolbarPictures(PictureSet& set) {
  AddBarPictures(set);
  AddPageIcons(set);
  AddWindowButtons(set);
  AddCaptions(set);
}

}  // namespace Pictures
