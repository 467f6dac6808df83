#include "src/core/score_builder/score_records.h"

#include <gtest/gtest.h>

#include <QImage>

#include <limits>

namespace {

Core::NoteDesc Note(int id, double time) {
  Core::NoteDesc note;
  note.id = id;
  note.time = time;
  return note;
}

const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(NotePositions, OrderByTimeThenIdWithNaNTimesUnorderedAndSortedLast) {
  EXPECT_TRUE(Note(5, 1.0) < Note(1, 2.0));
  EXPECT_TRUE(Note(1, 1.0) < Note(2, 1.0));
  EXPECT_FALSE(Note(1, 1.0) < Note(1, 1.0));
  EXPECT_FALSE(Note(1, NaN) < Note(2, 1.0));
  EXPECT_FALSE(Note(1, 1.0) < Note(2, NaN));

  QVector<Core::NoteDesc> notes = {Note(3, NaN), Note(2, 2.0), Note(7, 1.0),
                                   Note(4, NaN), Note(1, 2.0), Note(7, 1.0)};
  notes[5].x = 99;  // equal to notes[2]: must stay behind it
  Core::SortNotePositions(notes);
  const int ids[] = {7, 7, 1, 2, 3, 4};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(notes[i].id, ids[i]) << i;
  EXPECT_EQ(notes[1].x, 99);
}

TEST(ScorePages, NewPagesHaveThreeDistinctTransparentPixmaps) {
  Core::ScoresDescription score;
  score.pages.append(Core::ScorePageDescription(40, 30, 20));
  const Core::ScorePageDescription& page = score.pages[0];
  EXPECT_EQ(page.score->size(), QSize(40, 20));
  EXPECT_EQ(page.letters->size(), QSize(40, 20));
  EXPECT_EQ(page.fingers->size(), QSize(40, 30));
  EXPECT_NE(page.score, page.letters);
  for (const auto& pixmap : {page.score, page.fingers, page.letters})
    EXPECT_EQ(qAlpha(pixmap->toImage().pixel(39, 19)), 0);
}

}  // namespace
