#include "src/core/score_builder/score_records.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cmath>
#include <limits>

namespace {

using Core::NoteDesc;

NoteDesc Note(int id, double time) {
  NoteDesc note;
  note.id = id;
  note.time = time;
  return note;
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(NotePositions, OrderByTimeThenIdAndNeverAgainstNaN) {
  struct Case {
    NoteDesc a, b;
    bool less;
  };
  const Case cases[] = {
      {Note(5, 1.0), Note(1, 2.0), true},  {Note(2, 1.0), Note(1, 1.0), false},
      {Note(1, 1.0), Note(2, 1.0), true},  {Note(1, 1.0), Note(1, 1.0), false},
      {Note(1, NaN), Note(2, 1.0), false}, {Note(1, 1.0), Note(2, NaN), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.a < c.b, c.less) << c.a.id << "@" << c.a.time;
}

TEST(NotePositions, SortPutsNaNTimesLastAndKeepsEqualOnesInOrder) {
  QVector<NoteDesc> notes = {Note(3, NaN), Note(2, 2.0), Note(7, 1.0),
                             Note(4, NaN), Note(1, 2.0), Note(7, 1.0)};
  notes[5].x = 99;  // equal to notes[2] in time and id: must stay behind it
  Core::SortNotePositions(notes);
  const int ids[] = {7, 7, 1, 2, 3, 4};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(notes[i].id, ids[i]) << i;
  EXPECT_EQ(notes[1].x, 99);
  EXPECT_TRUE(std::isnan(notes[5].time));
}

TEST(ScorePages, NewPagesHaveThreeTransparentPixmapsSharedByCopies) {
  Core::ScoresDescription score;
  score.pages.append(Core::ScorePageDescription(40, 30, 20));
  const Core::ScorePageDescription& page = score.pages[0];
  EXPECT_EQ(page.score->size(), QSize(40, 20));
  EXPECT_EQ(page.letters->size(), QSize(40, 20));
  EXPECT_EQ(page.fingers->size(), QSize(40, 30));
  EXPECT_NE(page.score, page.letters);
  for (const auto& pixmap : {page.score, page.fingers, page.letters}) {
    const QImage image = pixmap->toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(image.pixel(39, 19)), 0);
  }

  const Core::ScoresDescription copy = score;
  {
    QPainter painter(copy.pages[0].score.get());
    painter.fillRect(0, 0, 40, 20, Qt::red);
  }
  EXPECT_EQ(score.pages[0].score->toImage().pixel(5, 5), QColor(Qt::red).rgba());
}

}  // namespace
