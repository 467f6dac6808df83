// melvarin-pictures FOLDER [SHEETS]: draws every picture of the program into FOLDER (normally
// resources/pictures) and, when SHEETS is given, contact sheets of them into that folder. Run
// through tools/pictures/generate.sh; the pictures are committed, the sheets are not.
#include "tools/pictures/contact_sheet.h"
#include "tools/pictures/picture_set.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s FOLDER [SHEETS]\n", argv[0]);
    return 2;
  }
  // Drawing needs fonts but no screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  const QStringList written = Pictures::AllPictures().WriteAll(folder);
  std::printf("%lld pictures written\n", static_cast<long long>(written.size()));
  if (argc == 3) {
    const QDir sheets(QString::fromLocal8Bit(argv[2]));
    QDir().mkpath(sheets.path());
    for (const QString& sheet : Pictures::WriteContactSheets(folder, written, sheets)) {
      std::printf("contact sheet %s\n", qPrintable(sheet));
    }
  }
  return 0;
}
