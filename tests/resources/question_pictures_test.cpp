// The committed question pictures of the music-symbols trainer are what the engraving tool makes
// of its table, byte for byte; no two of them look alike, and the marks the engine does not draw
// are painted beside their notes.
#include "tools/question-pictures/question_pictures.h"
#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"
#include "support/sanitizers.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QTemporaryDir>

namespace {

using Pictures::ReferenceMark;
using QuestionPictures::Question;

const QString Table = QStringLiteral(MELVARIN_SOURCE_DIR "/tools/question-pictures/questions.txt");
const QString Committed =
    QStringLiteral(MELVARIN_SOURCE_DIR "/resources/engine_pictures/pixmap/exercise");

QByteArray Read(const QString& file) {
  QFile in(file);
  return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// The smallest rectangle of the pixels in which two pictures of one size differ.
QRect Difference(const QImage& a, const QImage& b) {
  QRect changed;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) != b.pixel(x, y)) changed |= QRect(x, y, 1, 1);
    }
  }
  return changed;
}

class QuestionPicturesTest : public testing::Test {
 protected:
  void SetUp() override {
    if (Testing::UnderThreadSanitizer)
      GTEST_SKIP() << "the raster engine paints on Qt's own threads";
    QString error;
    ASSERT_TRUE(RazidQt::PrepareEngineFonts(&error)) << qPrintable(error);
    QRazidPainter::startRazidEngine();
    started = true;
    questions = QuestionPictures::ReadTable(Table, &error);
    ASSERT_FALSE(questions.empty()) << qPrintable(error);
  }
  void TearDown() override {
    if (started) QRazidPainter::stopRazidEngine();
  }

  bool started = false;
  std::vector<Question> questions;
};

TEST_F(QuestionPicturesTest, ARerunEngravesTheCommittedPicturesByteForByte) {
  QTemporaryDir rerun;
  ASSERT_TRUE(rerun.isValid());
  QString error;
  const QStringList written = QuestionPictures::WriteAll(questions, QDir(rerun.path()), &error);
  EXPECT_TRUE(error.isEmpty()) << qPrintable(error);
  EXPECT_EQ(size_t(written.size()), questions.size());
  EXPECT_GE(written.size(), 82);
  for (const QString& file : written) {
    EXPECT_TRUE(Read(rerun.filePath(file)) == Read(Committed + "/" + file))
        << qPrintable(file) << " differs; run tools/question-pictures/generate.sh and commit";
  }
  for (const QString& file : QDir(Committed).entryList(QDir::Files)) {
    EXPECT_TRUE(written.contains(file)) << qPrintable(file) << " is not in the table";
  }
}

// Each picture answers another question, so none may look like another: a mark the engine
// ignores, or a key it reads as another, leaves two pictures the same.
TEST_F(QuestionPicturesTest, NoTwoPicturesAreAlike) {
  QHash<QByteArray, QString> seen;
  for (const Question& question : questions) {
    const QByteArray bytes = Read(Committed + "/" + question.file);
    ASSERT_FALSE(bytes.isEmpty()) << qPrintable(question.file);
    const auto same = seen.constFind(bytes);
    EXPECT_TRUE(same == seen.constEnd())
        << qPrintable(question.file) << " looks like " << qPrintable(same.value());
    seen.insert(bytes, question.file);
  }
}

// Where the painted mark lies: the pixels its picture has beyond the plain engraving.
QRect MarkOf(const Question& question, const QuestionPictures::Engraving& engraving) {
  return Difference(engraving.picture, QuestionPictures::Engrave({"", question.rmn}).picture);
}

// A painted mark changes the engraving near the notes it belongs to. The acciaccatura's slash,
// all that tells it from the appoggiatura, crosses the grace note and not the main note; the
// arpeggio's wave runs along every head of the chord, which the map lists one by one.
TEST_F(QuestionPicturesTest, MarksArePaintedBesideTheirNotes) {
  int marked = 0;
  for (const Question& question : questions) {
    if (question.mark == ReferenceMark::None) continue;
    ++marked;
    const QuestionPictures::Engraving engraving = QuestionPictures::Engrave(question);
    ASSERT_FALSE(engraving.notes.notes.empty()) << qPrintable(question.file);
    const QRect mark = MarkOf(question, engraving);
    EXPECT_FALSE(mark.isEmpty()) << qPrintable(question.file) << " shows no mark";
    QRectF notes;
    for (const QRectF& note : engraving.notes.notes) notes |= note;
    const qreal room = 4 * engraving.notes.staffSpace;
    EXPECT_TRUE(notes.adjusted(-room, -room, room, room).contains(QRectF(mark)))
        << qPrintable(question.file) << ": the mark lies away from the notes";

    const qreal space = engraving.notes.staffSpace;
    if (question.file == "acciaccatura.png") {
      ASSERT_EQ(engraving.notes.notes.size(), 2u);
      const QRectF grace = engraving.notes.notes[0];
      EXPECT_TRUE(grace.adjusted(-space, -space, space, space).contains(QRectF(mark)));
      EXPECT_LT(mark.right(), engraving.notes.notes[1].left());
      const QImage appoggiatura(Committed + "/appoggiatura.png");
      EXPECT_TRUE(QuestionPictures::Engrave({"", question.rmn}).picture ==
                  appoggiatura.convertToFormat(engraving.picture.format()))
          << "the acciaccatura's notes are not the appoggiatura's";
    }
    if (question.file == "arpeggio.png") {
      QRectF heads;
      for (const QRectF& head : engraving.notes.notes)
        if (!head.isEmpty()) heads |= head;
      EXPECT_LE(mark.top(), heads.top() + space / 2);
      EXPECT_GE(mark.bottom(), heads.bottom() - space / 2);
    }
  }
  EXPECT_GE(marked, 9);
}

// A table line the tool cannot follow stops it with the line named, rather than giving a picture
// without its mark or one written outside the picture folder.
TEST(QuestionTable, LinesNotOfItsFormAreRefusedWithTheirLine) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath("questions.txt");
  auto read = [&](const QByteArray& text, QString* error) {
    QFile table(path);
    EXPECT_TRUE(table.open(QIODevice::WriteOnly | QIODevice::Truncate));
    table.write(text);
    table.close();
    return QuestionPictures::ReadTable(path, error);
  };
  QString error;
  const auto good = read("# comment\n\nok.png\t[ c1/4 ]\nup.png\t[ c1/4 ]\tpedal-up\n", &error);
  ASSERT_EQ(good.size(), 2u) << qPrintable(error);
  EXPECT_EQ(good[0].mark, ReferenceMark::None);
  EXPECT_EQ(good[1].mark, ReferenceMark::PedalUp);

  for (const char* line :
       {"a.png\t[ c1/4 ]\tswirl", "a.png [ c1/4 ]", "a.png\t[ c1/4 ]\ttrill\tx", "a.png\t",
        "../a.png\t[ c1/4 ]", "a.gif\t[ c1/4 ]", "ok.png\t[ d1/4 ]"}) {
    error.clear();
    EXPECT_TRUE(read(QByteArray("ok.png\t[ c1/4 ]\n") + line, &error).empty()) << line;
    EXPECT_TRUE(error.contains(":2:")) << line << " gives " << qPrintable(error);
  }
}

}  // namespace
