#include "tools/question-pictures/question_pictures.h"

#include "lib-razid-qt/QRazidPainter.h"
#include "tools/reference-pictures/reference_pictures.h"

#include <QFile>
#include <QPainter>
#include <QSet>

#include <algorithm>

namespace QuestionPictures {

namespace {

// The pictures' width in pixels; the height follows the page.
constexpr int Width = 400;
// The engine's distance of two staff lines, in its own units.
constexpr qreal EngineStaffSpace = 50;

// A file name the table may give: a picture in the folder itself, nowhere else.
bool PlainPictureName(const QString& file) {
  return file.endsWith(".png") && file.size() > 4 && !file.contains('/') && !file.contains('\\') &&
         !file.startsWith('.');
}

}  // namespace

std::vector<Question> ReadTable(const QString& path, QString* error) {
  QFile table(path);
  if (!table.open(QIODevice::ReadOnly | QIODevice::Text)) {
    *error = path + ": cannot be read";
    return {};
  }
  std::vector<Question> questions;
  QSet<QString> files;
  const QStringList lines = QString::fromUtf8(table.readAll()).split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines[i];
    if (line.trimmed().isEmpty() || line.startsWith('#')) continue;
    const QStringList fields = line.split('\t');
    const QString where = QString("%1:%2: ").arg(path).arg(i + 1);
    if (fields.size() < 2 || fields.size() > 3 || fields[1].trimmed().isEmpty()) {
      *error = where + "expected a file name, a tab, the RMN and optionally a tab and a mark";
      return {};
    }
    Question question{fields[0], fields[1]};
    if (!PlainPictureName(question.file) || files.contains(question.file)) {
      *error = where + "\"" + question.file + "\" is not a new picture name ending in .png";
      return {};
    }
    if (fields.size() == 3) {
      const auto mark = Pictures::ReferenceMarkNamed(fields[2].trimmed());
      if (!mark) {
        *error = where + "no mark is called \"" + fields[2] + "\"";
        return {};
      }
      question.mark = *mark;
    }
    files.insert(question.file);
    questions.push_back(question);
  }
  return questions;
}

Engraving Engrave(const Question& question) {
  QRazidPainter score;
  score.setResizePageToMusic(true);
  if (!score.setRMNCode(question.rmn)) return {};
  RazidPageFormat format;
  RazidGetPageFormat(score.grHandle(), 1, &format);
  if (format.width <= 0 || format.height <= 0) return {};
  QImage picture(Width, std::max(1, score.heightForWidth(Width, 1)),
                 QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  score.draw(&painter, 1, picture.rect(), picture.rect());
  const Pictures::EngravedNotes notes{ReferencePictures::EventBoxes(score),
                                      EngineStaffSpace * Width / format.width};
  Pictures::PaintReferenceMark(painter, question.mark, notes);
  painter.end();
  return {picture, notes};
}

QStringList WriteAll(const std::vector<Question>& questions, const QDir& folder, QString* error) {
  return ReferencePictures::SaveEach(
      questions, folder, [](const Question& question) { return Engrave(question).picture; }, error);
}

}  // namespace QuestionPictures
