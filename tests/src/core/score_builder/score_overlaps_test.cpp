// Every score the trainers and the reference pages draw, laid out and drawn as the program does
// it: no symbol of a staff lies on another beyond what engraving means (overlap_rules.cpp says
// what it means), and every note head outside its staff has its ledger lines across it.
//
// The suite checks every picture and a fixed sample of the trainers' many thousand scores; the
// sweep program built from this file (score_overlaps_sweep) checks every one of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "lib-razid-qt/engine_fixture.h"
#include "tests/src/core/score_builder/drawn_marks.h"
#include "tests/src/core/score_builder/ledger_rules.h"
#include "tests/src/core/score_builder/overlap_rules.h"
#include "tests/src/core/score_builder/trainer_scores.h"
#include "tools/question-pictures/question_pictures.h"
#include "tools/reference-pictures/reference_pictures.h"

namespace ScoreOverlaps {
namespace {

class ScoreOverlapsTest : public RazidQtTesting::EngineFixture {
 protected:
  // A reference picture or a music-symbols question, engraved on a page shrunk to the music.
  void CheckPicture(const std::string& source, const QString& rmn) {
    Painter score = NewPainter();
    ASSERT_TRUE(score->setRMNCode(rmn)) << source << ": " << rmn.toStdString();
    Check(source, *score);
  }
  // A question or answer score, on the exercise screen's page.
  void CheckExerciseScore(const TrainerScore& score) {
    Painter painter = QuestionPainter(QString::fromStdString(score.rmn));
    Check(score.source, *painter);
  }

  void Check(const std::string& source, QRazidPainter& score) {
    ++scores;
    for (int page = 1; page <= score.pageCount(); ++page) {
      const std::vector<DrawnMark> marks = DrawnMarks(score, page);
      for (const Overlap& overlap : Overlaps(marks)) Found(source, Describe(overlap), score);
      for (const std::string& missing : MissingLedgerLines(score, page, marks))
        Found(source, missing, score);
    }
  }

  void ExpectNoFaults() {
    EXPECT_EQ(faults, 0) << "of " << scores << " scores, the first faults:\n" << found.str();
  }

  int scores = 0;
  int faults = 0;
  std::ostringstream found;

 private:
  void Found(const std::string& source, const std::string& fault, QRazidPainter& score) {
    if (++faults > 12) return;
    found << source << ": " << fault << "\n    " << score.rmnCode().toStdString() << "\n";
  }
};

TEST_F(ScoreOverlapsTest, ReferencePicturesLayNoSymbolOnAnother) {
  for (const ReferencePictures::Picture& picture : ReferencePictures::AllPictures()) {
    const QStringList pieces = picture.cells.isEmpty() ? QStringList{picture.rmn} : picture.cells;
    for (const QString& piece : pieces)
      if (!piece.isEmpty()) CheckPicture(picture.file.toStdString(), piece);
  }
  EXPECT_GE(scores, 96);
  ExpectNoFaults();
}

// The pictures of the music-symbols trainer are engraved from the table their generator reads
// (the marks it paints over them are not the engine's).
TEST_F(ScoreOverlapsTest, MusicSymbolQuestionsLayNoSymbolOnAnother) {
  QString error;
  const auto questions = QuestionPictures::ReadTable(
      MELVARIN_SOURCE_DIR "/tools/question-pictures/questions.txt", &error);
  ASSERT_FALSE(questions.empty()) << qPrintable(error);
  for (const QuestionPictures::Question& question : questions) {
    CheckPicture(question.file.toStdString(), question.rmn);
  }
  EXPECT_GE(scores, 80);
  ExpectNoFaults();
}

struct Group {
  Section section;
  bool answers;
};

std::string Name(const Group& group) {
  const char* sections[] = {"SingleNotes", "Intervals", "Chords", "Scales"};
  return std::string(sections[int(group.section)]) + (group.answers ? "Answers" : "Questions");
}

void PrintTo(const Group& group, std::ostream* os) {
  *os << Name(group);
}

class TrainerScoresTest : public ScoreOverlapsTest, public testing::WithParamInterface<Group> {};

#ifdef MELVARIN_SWEEP_EVERY_SCORE
constexpr size_t SampleSize = std::numeric_limits<size_t>::max();
#else
constexpr size_t SampleSize = 1500;
#endif

// Every score, or as many as the sample takes spread evenly over all of them (every clef,
// spelling and kind of question): the same ones on every run.
std::vector<TrainerScore> Sample(std::vector<TrainerScore> all) {
  if (all.size() <= SampleSize) return all;
  const size_t stride = (all.size() + SampleSize - 1) / SampleSize;
  std::vector<TrainerScore> sample;
  for (size_t i = 0; i < all.size(); i += stride) sample.push_back(std::move(all[i]));
  return sample;
}

TEST_P(TrainerScoresTest, LayNoSymbolOnAnother) {
  const Group group = GetParam();
  const std::vector<TrainerScore> all =
      Sample(group.answers ? AnswerScores(group.section) : QuestionScores(group.section));
  ASSERT_FALSE(all.empty());
  for (const TrainerScore& score : all) CheckExerciseScore(score);
  ExpectNoFaults();
}

INSTANTIATE_TEST_SUITE_P(
    Trainers, TrainerScoresTest,
    testing::Values(Group{Section::SingleNotes, false}, Group{Section::SingleNotes, true},
                    Group{Section::Intervals, false}, Group{Section::Intervals, true},
                    Group{Section::Chords, false}, Group{Section::Chords, true},
                    Group{Section::Scales, false}, Group{Section::Scales, true}),
    [](const testing::TestParamInfo<Group>& group) { return Name(group.param); });

// The check itself: it tells apart what a page draws, leaves alone what engraving lays together
// and finds a symbol moved onto another.
class OverlapCheckTest : public ScoreOverlapsTest {
 protected:
  std::vector<DrawnMark> Marks(const char* rmn) {
    Painter painter = QuestionPainter(QString::fromLatin1(rmn));
    return DrawnMarks(*painter, 1);
  }
};

TEST_F(OverlapCheckTest, MarksAreToldApartByWhatTheyDraw) {
  const std::vector<DrawnMark> marks =
      Marks("[ \\clef<\"f4\"> \\meter<\"4/4\"> c#-1/8 d-1/8 _/4 \\intens<\"f\"> {c0/2, e0} ]");
  std::vector<Mark> kinds;
  for (const DrawnMark& mark : marks) {
    EXPECT_FALSE(mark.box.isEmpty()) << Name(mark.kind) << " " << mark.what;
    EXPECT_EQ(mark.staff, 0) << Name(mark.kind) << " " << mark.what;
    kinds.push_back(mark.kind);
  }
  for (Mark kind : {Mark::StaffLine, Mark::Clef, Mark::Meter, Mark::Accidental, Mark::Head,
                    Mark::Stem, Mark::Beam, Mark::LedgerLine, Mark::Rest, Mark::Dynamic, Mark::Bar})
    EXPECT_NE(std::count(kinds.begin(), kinds.end(), kind), 0) << Name(kind);
  EXPECT_EQ(std::count(kinds.begin(), kinds.end(), Mark::Sign), 0);
  EXPECT_TRUE(Overlaps(marks).empty());
}

TEST_F(OverlapCheckTest, SymbolsMovedOntoOthersAreFound) {
  struct Case {
    const char* rmn;
    Mark first, second;
  } const cases[] = {
      {"[ \\acc<dx=2hs>(c#2/4) ]", Mark::Head, Mark::Accidental},
      // A tempo mark keeps the height it is written at.
      {"[ \\tempo<\"XX\", dy=-8hs> b1/4 ]", Mark::Head, Mark::Text},
      {"[ \\intens<\"ff\", dy=6hs> b1/4 ]", Mark::Dynamic, Mark::Stem},
      {"{ [ \\staff<1> \\stemsUp c2/4 ], [ \\staff<1> \\stemsDown c2/4 ] }", Mark::Head,
       Mark::Head},
  };
  for (const Case& c : cases) {
    const std::vector<Overlap> found = Overlaps(Marks(c.rmn));
    ASSERT_FALSE(found.empty()) << c.rmn;
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [&](const Overlap& o) {
                              return (o.first.kind == c.first && o.second.kind == c.second) ||
                                     (o.first.kind == c.second && o.second.kind == c.first);
                            }))
        << c.rmn << ": " << Describe(found.front());
  }
}

// Ledger lines are asked of the heads of notes outside the staff (a tempo mark's head needs
// none), and each line a chord's heads need is found missing when it is not drawn.
TEST_F(OverlapCheckTest, LedgerLinesAreAskedOfEveryNoteHeadOutsideTheStaff) {
  Painter painter = QuestionPainter("[ \\tempo<\"[1/4] = 60\"> {h0/4, c1} {c3/4, d3} g1/4 ]");
  std::vector<DrawnMark> marks = DrawnMarks(*painter, 1);
  EXPECT_TRUE(MissingLedgerLines(*painter, 1, marks).empty());
  const auto ledgerLine = [](const DrawnMark& mark) { return mark.kind == Mark::LedgerLine; };
  ASSERT_NE(std::count_if(marks.begin(), marks.end(), ledgerLine), 0);
  marks.erase(std::remove_if(marks.begin(), marks.end(), ledgerLine), marks.end());
  EXPECT_EQ(MissingLedgerLines(*painter, 1, marks).size(), 3u);
}

}  // namespace
}  // namespace ScoreOverlaps
