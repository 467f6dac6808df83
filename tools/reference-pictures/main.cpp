// melvarin-reference-pictures FOLDER [SHEET]: engraves the pictures of the reference pages into
// FOLDER (normally resources/Reference/pixmap/Reference) and, when SHEETS is given, a contact
// sheet of them into that file. Run through generate.sh; the pictures are committed, the sheets
// not.
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "tools/reference-pictures/reference_pictures.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

// All pictures on one white sheet, each under its name, for looking them over.
void WriteSheet(const QDir& folder, const QStringList& names, const QString& sheet) {
  const int columns = 6, cellWidth = 240, cellHeight = 120;
  QImage image(columns * cellWidth, int((names.size() + columns - 1) / columns) * cellHeight,
               QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  for (int i = 0; i < names.size(); ++i) {
    const QRect cell(i % columns * cellWidth, i / columns * cellHeight, cellWidth, cellHeight);
    painter.drawText(cell.adjusted(4, 2, -4, 0), Qt::AlignTop | Qt::AlignLeft, names[i]);
    QImage picture(folder.filePath(names[i]));
    if (picture.width() > cellWidth - 8) picture = picture.scaledToWidth(cellWidth - 8);
    painter.drawImage(cell.left() + 4, cell.top() + 20, picture);
  }
  painter.end();
  image.save(sheet);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER [SHEET.png]\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString error;
  if (!RazidQt::PrepareEngineFonts(&error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  QRazidPainter::startRazidEngine();
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QStringList written = ReferencePictures::WriteAll(folder, &error);
  QRazidPainter::stopRazidEngine();
  std::printf("%lld pictures written\n", static_cast<long long>(written.size()));
  if (!error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  if (argc == 3) {
    WriteSheet(folder, written, QString::fromLocal8Bit(argv[2]));
  }
  return 0;
}
