#include "tools/pictures/contact_sheet.h"

#include "tools/pictures/paint_kit.h"

#include <QFileInfo>
#include <QImageReader>
#include <QMap>
#include <QPainter>

#include <algorithm>
#include <map>
#include <vector>

namespace Pictures {

namespace {

constexpr int CellWidth = 300;
constexpr int CellHeight = 230;
constexpr int LabelHeight = 30;
constexpr int Columns = 5;
constexpr int PerSheet = Columns * 4;  // small enough to be read at a glance

void Checkers(QPainter& painter, const QRect& rect) {
  for (int y = rect.top(); y < rect.bottom(); y += 8) {
    for (int x = rect.left(); x < rect.right(); x += 8) {
      const bool dark = ((x - rect.left()) / 8 + (y - rect.top()) / 8) % 2;
      painter.fillRect(QRect(x, y, 8, 8).intersected(rect),
                       dark ? QColor(150, 150, 150) : QColor(200, 200, 200));
    }
  }
}

QImage Sheet(const QDir& pictures, const QStringList& paths, int columns = Columns) {
  const int rows = int((paths.size() + columns - 1) / columns);
  QImage sheet(columns * CellWidth, rows * (CellHeight + LabelHeight), QImage::Format_RGB32);
  sheet.fill(QColor(60, 60, 60));
  QPainter painter(&sheet);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  for (int i = 0; i < paths.size(); ++i) {
    const QRect cell((i % columns) * CellWidth, (i / columns) * (CellHeight + LabelHeight),
                     CellWidth, CellHeight);
    const QImage picture = QImageReader(pictures.filePath(paths[i])).read();
    // Small pictures are enlarged by a whole factor so their pixels can be judged.
    QSize shown = picture.size();
    const int zoom = std::clamp(std::min((CellWidth - 10) / std::max(1, shown.width()),
                                         (CellHeight - 10) / std::max(1, shown.height())),
                                1, 4);
    shown *= zoom;
    if (shown.width() > CellWidth - 10 || shown.height() > CellHeight - 10) {
      shown.scale(CellWidth - 10, CellHeight - 10, Qt::KeepAspectRatio);
    }
    const QRect target(cell.center().x() - shown.width() / 2,
                       cell.center().y() - shown.height() / 2, shown.width(), shown.height());
    Checkers(painter, target);
    painter.drawImage(target, picture);
    const QString label = QString("%1  %2x%3")
                              .arg(QFileInfo(paths[i]).fileName())
                              .arg(picture.width())
                              .arg(picture.height());
    DrawText(painter, QRectF(cell.left() + 4, cell.bottom() + 2, CellWidth - 8, LabelHeight - 4),
             label, SansFont(12), Qt::white);
  }
  return sheet;
}

// The home screen as a 1440 x 900 display shows it under the 61-pixel toolbar: the background
// scaled by height and centred, with the buttons and bars where the screen places them.
QImage HomePreview(const QDir& pictures) {
  const QSize screen(1440, 900 - 61);
  QImage preview(screen, QImage::Format_RGB32);
  preview.fill(Qt::black);
  const QImage background(pictures.filePath("PIX/pixmap/main_bg.png"));
  const double s = double(std::min(screen.width(), screen.height())) / background.height();
  const int shownWidth = int(background.width() * s);
  const int ox = (screen.width() - shownWidth) / 2;
  QPainter painter(&preview);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  painter.drawImage(QRect(ox, 0, shownWidth, int(background.height() * s)), background);
  const double x0 = 586 * s + ox;
  const double dy = 245 * s;
  const QSize button(int(142 * s), int(54 * s));
  const int buttonsY = int(364.2 * s + dy);
  const QImage learn(pictures.filePath("PIX/pixmap/btn_learn_normal.png"));
  const QImage quiz(pictures.filePath("PIX/pixmap/btn_quiz_normal.png"));
  const QImage bar(pictures.filePath("PIX/pixmap/progress_main_bg.png"));
  const QImage red(pictures.filePath("PIX/pixmap/progress_main_red.png"));
  const QImage green(pictures.filePath("PIX/pixmap/progress_main_green.png"));
  for (int k = 0; k < 3; ++k) {
    const double bx = x0 + k * (50 * s + 340.4 * s);
    painter.drawImage(QRect(QPoint(int(bx + 28 * s), buttonsY), button), learn);
    painter.drawImage(QRect(QPoint(int(bx + 28 * s + 142 * s - s), buttonsY), button), quiz);
    const QRect barRect(int(bx + 30 * s), int(451 * s + dy), int(280 * s), int(29 * s));
    painter.drawImage(barRect, bar);
    // A bar with a few wrong and more right answers, revealed from the middle.
    const int half = barRect.width() / 2;
    painter.drawImage(
        QRect(barRect.left() + half - half / 3, barRect.top(), half / 3, barRect.height()), red,
        QRect(red.width() - red.width() / 3, 0, red.width() / 3, red.height()));
    painter.drawImage(QRect(barRect.left() + half, barRect.top(), half * 2 / 3, barRect.height()),
                      green, QRect(0, 0, green.width() * 2 / 3, green.height()));
  }
  return preview;
}

// The toolbar of an open quiz as the main window lays it out: back button, caption, the page
// buttons with Exercise chosen and Statistics under the pointer, and the window buttons.
QImage ToolbarPreview(const QDir& pictures) {
  auto picture = [&](const char* name) {
    return QImage(pictures.filePath(QString("PIX/pixmap/") + name));
  };
  QImage preview(1440, 61, QImage::Format_RGB32);
  QPainter painter(&preview);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  const QImage header = picture("header_bg.png");
  for (int x = 0; x < preview.width(); x += header.width()) painter.drawImage(x, 0, header);
  painter.drawImage(12, 0, picture("button_back_normal.PNG"));
  painter.drawImage(62, 0, picture("separator_header.png"));
  painter.drawImage(87, 6, picture("title_ear_quiz.PNG"));
  int x = 780;
  const char* pages[][2] = {{"ico_news.png", "Mail"},
                            {"ico_exercise.png", "Quiz"},
                            {"ico_statistic.png", "Statistics"},
                            {"ico_settings.png", "Settings"},
                            {"ico_help.png", "Help"},
                            {"ico_about.png", "About"}};
  for (int i = 0; i < 6; ++i) {
    const QRect button(x, 0, 80, 61);
    if (i == 1) painter.drawImage(button.center().x() - 42, 0, picture("highlight_orange.png"));
    if (i == 2) {
      const QImage hover = picture("tab_hover.PNG");
      for (int t = button.left(); t < button.right(); t += hover.width())
        painter.drawImage(t, 0, hover);
    }
    painter.drawImage(button.center().x() - 16, 6, picture(pages[i][0]));
    DrawText(painter, QRectF(button.left(), 40, button.width(), 16), pages[i][1], SansFont(14),
             Qt::white);
    x += 80;
    if (i == 0) {
      painter.drawImage(x, 0, picture("separator_header.png"));
      x += 3;
    }
  }
  painter.drawImage(x + 3, 0, picture("separator_header.png"));
  painter.drawImage(preview.width() - 5 - 3 * 36, 12, picture("exitfull_normal.png"));
  painter.drawImage(preview.width() - 5 - 2 * 36, 12, picture("button_mini_hover.png"));
  painter.drawImage(preview.width() - 5 - 36, 12, picture("button_close_normal.png"));
  return preview;
}

// The first three octaves of the on-screen piano as it lays its key pictures out (white keys
// first, then black ones), with a few keys in the looks of an answer.
QImage KeyboardPreview(const QDir& pictures) {
  const char* names[14] = {"Afirst",  "C", "C_sharp", "D", "D_sharp", "E", "F",
                           "F_sharp", "G", "G_sharp", "A", "A_sharp", "B", "Clast"};
  struct Key {
    int index;
    double x;
    bool white;
  };
  std::vector<Key> keys = {{0, 0, true}, {11, 30, false}, {12, 35, true}};
  for (int octave = 0; octave < 2; ++octave) {
    const double base = 245.0 * octave;
    const double blackOffsets[12] = {0, 21, 0, 65, 0, 0, 126, 0, 165, 0, 206, 0};
    for (int n = 0; n < 12; ++n) {
      const bool black = n == 1 || n == 3 || n == 6 || n == 8 || n == 10;
      const double x =
          black ? blackOffsets[n] + base + 70 : ((n < 5 ? n : n + 1) / 2) * 35 + base + 70;
      keys.push_back({n + 1, x, !black});
    }
  }
  const std::map<int, const char*> looks = {{4, "green"},    {6, "red"},    {9, "blue"},
                                            {14, "pressed"}, {18, "hover"}, {21, "green"}};
  QImage preview(560, 180, QImage::Format_RGB32);
  preview.fill(QColor(40, 40, 40));
  QPainter painter(&preview);
  for (bool whitePass : {true, false}) {
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (keys[k].white != whitePass) continue;
      const auto look = looks.find(int(k));
      const QString folder = look == looks.end() ? QString("normal") : QString(look->second);
      const QString suffix = look == looks.end() ? QString() : "_" + folder;
      painter.drawImage(QPointF(keys[k].x, 0),
                        QImage(pictures.filePath("pixmap/GKC/" + folder + "/" +
                                                 names[keys[k].index] + suffix + ".png")));
    }
  }
  return preview;
}

}  // namespace

QImage ContactSheet(const QDir& pictures, const QStringList& paths, int columns) {
  return Sheet(pictures, paths, columns);
}

QStringList WriteContactSheets(const QDir& pictures, const QStringList& paths, const QDir& sheets) {
  QMap<QString, QStringList> byFolder;
  for (const QString& path : paths) byFolder[QFileInfo(path).path()] << path;
  QStringList written;
  const QString home = sheets.filePath("home-preview.png");
  if (HomePreview(pictures).save(home)) written << home;
  const QString toolbar = sheets.filePath("toolbar-preview.png");
  if (ToolbarPreview(pictures).save(toolbar)) written << toolbar;
  const QString keyboard = sheets.filePath("keyboard-preview.png");
  if (KeyboardPreview(pictures).save(keyboard)) written << keyboard;
  for (auto folder = byFolder.cbegin(); folder != byFolder.cend(); ++folder) {
    QString name = folder.key() == "." ? QString("root") : folder.key();
    name.replace('/', '-');
    const QStringList& all = folder.value();
    for (qsizetype first = 0; first < all.size(); first += PerSheet) {
      const QString file =
          sheets.filePath(QString("%1-%2.png").arg(name).arg(first / PerSheet + 1));
      if (Sheet(pictures, all.mid(first, PerSheet)).save(file)) written << file;
    }
  }
  return written;
}

}  // namespace Pictures
