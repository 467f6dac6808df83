// melvarin-question-pictures TABLE FOLDER [SHEETS]: engraves the music-symbols trainer's question
// pictures listed in TABLE (normally tools/question-pictures/questions.txt) into FOLDER (normally
// resources/engine_pictures/pixmap/exercise) and, when SHEETS is given, contact sheets of them
// into that folder. Run through generate.sh; the pictures are committed, the sheets not.
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "tools/pictures/contact_sheet.h"
#include "tools/question-pictures/question_pictures.h"

#include <QGuiApplication>

#include <cstdio>

namespace {

// Four rows of six to a sheet, in the table's order: small enough to be read at a glance.
void WriteSheets(const QDir& folder, const QStringList& written, const QDir& sheets) {
  constexpr int Columns = 6, PerSheet = 24;
  QDir().mkpath(sheets.path());
  for (qsizetype first = 0; first < written.size(); first += PerSheet) {
    const QString file = sheets.filePath(QString("questions-%1.png").arg(first / PerSheet + 1));
    if (Pictures::ContactSheet(folder, written.mid(first, PerSheet), Columns).save(file)) {
      std::printf("contact sheet %s\n", qPrintable(file));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s TABLE FOLDER [SHEETS]\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  QString error;
  const auto questions = QuestionPictures::ReadTable(QString::fromLocal8Bit(argv[1]), &error);
  if (questions.empty()) {
    std::fprintf(stderr, "%s\n",
                 error.isEmpty() ? "the table lists no picture" : qPrintable(error));
    return 1;
  }
  if (!RazidQt::PrepareEngineFonts(&error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  QRazidPainter::startRazidEngine();
  const QDir folder(QString::fromLocal8Bit(argv[2]));
  const QStringList written = QuestionPictures::WriteAll(questions, folder, &error);
  QRazidPainter::stopRazidEngine();
  std::printf("%lld pictures written\n", static_cast<long long>(written.size()));
  if (!error.isEmpty()) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return 1;
  }
  if (argc == 4) WriteSheets(folder, written, QDir(QString::fromLocal8Bit(argv[3])));
  return 0;
}
