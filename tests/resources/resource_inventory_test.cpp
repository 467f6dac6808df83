// Every resource the program names - in its code, its forms and its style sheets - must be in the
// compiled resources under exactly that name and must load. The sources are scanned, so the check
// grows with the screens.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTextStream>

namespace {

const QString SourceDir = QStringLiteral(MELVARIN_SOURCE_DIR);

// Resource paths in one line of source: ":/" not preceded by a scheme letter ("rc://",
// "file:///"), up to the first character a path cannot hold.
QStringList ExtractPaths(const QString& line) {
  static const QRegularExpression path(QStringLiteral(R"((?<![A-Za-z0-9_]):/[A-Za-z0-9_./%\-]+)"));
  QStringList paths;
  for (auto match = path.globalMatch(line); match.hasNext();) {
    QString found = match.next().captured();
    while (found.endsWith('.')) found.chop(1);  // the full stop of a sentence in a comment
    paths << found;
  }
  return paths;
}

bool IsPicture(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  return suffix == "png" || suffix == "gif" || suffix == "jpg";
}

// The name a path loads: itself, or with ".png" added as the image reader does for a path given
// with the format "png".
QString Resolve(const QString& path) {
  if (QFileInfo(path).isFile()) return path;
  if (QFileInfo(path + ".png").isFile()) return path + ".png";
  return {};
}

// Empty when `path` is fine; otherwise what is wrong with it. A path ending in "/" is a folder
// that code adds names to, and one with "%1" a pattern that at least one file must match.
QString Problem(const QString& path) {
  const QFileInfo info(path);
  if (path.endsWith('/')) {
    return QDir(path).isEmpty() ? QStringLiteral("no such folder, or it is empty") : QString();
  }
  if (path.contains('%')) {
    QStringList pieces = info.fileName().split(QRegularExpression(QStringLiteral(R"(%\d)")));
    for (QString& piece : pieces) piece = QRegularExpression::escape(piece);
    const QRegularExpression name(QRegularExpression::anchoredPattern(pieces.join(".+")));
    for (const QString& entry : QDir(info.path()).entryList(QDir::Files)) {
      if (name.match(entry).hasMatch()) return {};
    }
    return QStringLiteral("no file matches the pattern");
  }
  const QString file = Resolve(path);
  if (file.isEmpty()) return QStringLiteral("missing");
  // Resource names are matched exactly; a name that differs only in case is another name.
  if (!QDir(QFileInfo(file).path()).entryList(QDir::Files).contains(QFileInfo(file).fileName())) {
    return QStringLiteral("present only with another case");
  }
  if (IsPicture(file)) {
    QImageReader reader(file);
    return reader.read().isNull() ? "does not load: " + reader.errorString() : QString();
  }
  QFile content(file);
  return content.open(QIODevice::ReadOnly) && content.size() > 0 ? QString()
                                                                 : QStringLiteral("empty");
}

struct Reference {
  QString path;
  QString where;  // file:line
};

std::vector<Reference> ScanSources() {
  std::vector<Reference> references;
  const QStringList filters = {"*.cpp", "*.h", "*.ui", "*.css", "*.qss"};
  for (const char* folder : {"src", "forms", "resources"}) {
    QDirIterator files(SourceDir + "/" + folder, filters, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
      QFile file(files.next());
      if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) continue;
      QTextStream in(&file);
      for (int number = 1; !in.atEnd(); ++number) {
        const QString line = in.readLine();
        for (const QString& path : ExtractPaths(line)) {
          references.push_back({path, QDir(SourceDir).relativeFilePath(file.fileName()) + ":" +
                                          QString::number(number)});
        }
      }
    }
  }
  return references;
}

TEST(ResourceInventory, EveryPathNamedInCodeFormsAndStyleSheetsLoads) {
  const std::vector<Reference> references = ScanSources();
  ASSERT_FALSE(references.empty());
  for (const Reference& reference : references) {
    const QString problem = Problem(reference.path);
    EXPECT_TRUE(problem.isEmpty()) << qPrintable(reference.where) << ": "
                                   << qPrintable(reference.path) << ": " << qPrintable(problem);
  }
}

TEST(ResourceInventory, PathsAreFoundInEveryWayTheSourcesWriteThem) {
  const struct {
    const char* line;
    QStringList paths;
  } cases[] = {
      {R"(QPixmap(QStringLiteral(":/PIX/pixmap/play.png"));)", {":/PIX/pixmap/play.png"}},
      {"background-image: url(:/PIX/pixmap/tab_hover.PNG); image: url(:/a/b-c.png)",
       {":/PIX/pixmap/tab_hover.PNG", ":/a/b-c.png"}},
      {"<normaloff>:/PIX/pixmap/ico_news.png</normaloff>", {":/PIX/pixmap/ico_news.png"}},
      {R"(QString(":/pixmap/speaker/%1.png").arg(n))", {":/pixmap/speaker/%1.png"}},
      {"// the pieces under :/midi/.", {":/midi/"}},
      {R"(document names "rc://bg.jpg"; sheet "file:///:css/global.css")", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExtractPaths(c.line), c.paths) << c.line;
}

TEST(ResourceInventory, ANameIsFoundOnlyAsWritten) {
  const struct {
    const char* path;
    bool fine;
  } cases[] = {
      {":/PIX/pixmap/splash_bg.png", true},
      {":/PIX/pixmap/melvarin.PNG", true},
      {":/PIX/pixmap/melvarin.png", false},  // the picture's name ends in capitals
      {":/PIX/pixmap/Splash_bg.png", false},
      {":/PIX/pixmap/equalizer2.gif", true},
      {":/pixmap/GKC/highlightL", true},  // loaded with the format "png"
      {":/pixmap/GKC/normal/", true},
      {":/pixmap/GKC/nothing/", false},
      {":/pixmap/speaker/%1.png", true},
      {":/pixmap/speaker/%1.gif", false},
      {":/css/global.css", true},
  };
  for (const auto& c : cases) EXPECT_EQ(Problem(c.path).isEmpty(), c.fine) << c.path;
}

// The shell's developers keep the list of pictures their screens use, with the sizes the screens
// lay them out by ("<path> <width>x<height>" per line).
TEST(ResourceInventory, PicturesOfTheShellsListHaveTheirSizes) {
  QFile list(SourceDir + "/resources/pictures/inventory.txt");
  if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) GTEST_SKIP() << "no inventory.txt";
  static const QRegularExpression size(QStringLiteral(R"((\d+)\s*[x\x{00D7}]\s*(\d+))"));
  QTextStream in(&list);
  while (!in.atEnd()) {
    const QString line = in.readLine();
    for (const QString& path : ExtractPaths(line)) {
      const QString problem = Problem(path);
      EXPECT_TRUE(problem.isEmpty()) << qPrintable(path) << ": " << qPrintable(problem);
      const auto match = size.match(line.mid(line.indexOf(path) + path.size()));
      if (!problem.isEmpty() || !match.hasMatch() || path.contains('%') || path.endsWith('/'))
        continue;
      EXPECT_EQ(QImageReader(Resolve(path)).size(),
                QSize(match.captured(1).toInt(), match.captured(2).toInt()))
          << qPrintable(path);
    }
  }
}

}  // namespace
