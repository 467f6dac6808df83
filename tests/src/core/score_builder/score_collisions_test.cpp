// The learner pieces and generated music, laid out on their own pages as the render tool lays
// them out unshrunk: no two marks collide as collision_rules.h tells (heads and ledger lines of
// neighbouring notes, a wedge and a dynamic mark, a tuplet's bracket and a text, a beam and a
// head).
//
// The suite checks every learner piece and a fixed slice of the generated pieces; the sweep
// program built from this file (score_overlaps_sweep) checks the seeds MELVARIN_SWEEP_SEEDS names
// ("first-last", 0-1999 when not set), and says how many pieces each kind of collision was found
// in.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <algorithm>
#include <iostream>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "lib-razid-qt/engine_fixture.h"
#include "tests/src/core/score_builder/collision_rules.h"
#include "tests/src/core/score_builder/drawn_marks.h"
#include "tests/src/core/score_builder/generated_music.h"

namespace ScoreOverlaps {
namespace {

// The sweep lists every collision it finds, the suite the first few.
#ifdef MELVARIN_SWEEP_EVERY_SCORE
constexpr int ExamplesShown = std::numeric_limits<int>::max();
#else
constexpr int ExamplesShown = 12;
#endif

class ScoreCollisionsTest : public RazidQtTesting::EngineFixture {
 protected:
  // The piece on the page it asks for, or the engine's default page, but for the collisions
  // left out.
  void CheckPiece(const std::string& source, const QString& rmn,
                  const std::vector<Collision>& leftOut = {}) {
    Painter score = NewPainter();
    score->setResizePageToMusic(false);
    ASSERT_TRUE(score->setRMNCode(rmn))
        << source << ": " << score->getLastErrorMessage().toStdString();
    ++pieces;
    std::map<Collision, int> inPiece;
    for (int page = 1; page <= score->pageCount(); ++page) {
      for (const Found& found : Collisions(DrawnMarks(*score, page))) {
        if (std::find(leftOut.begin(), leftOut.end(), found.collision) != leftOut.end()) continue;
        if (++inPiece[found.collision] == 1) ++piecesWith[found.collision];
        if (++faults <= ExamplesShown)
          examples << source << " page " << page << ": " << Name(found.collision) << ": "
                   << found.what << "\n";
      }
    }
  }

  // How many pieces hold each kind of collision; no collision anywhere.
  void ExpectNoCollisions() {
    std::ostringstream counts;
    for (Collision collision : AllCollisions)
      counts << "  " << piecesWith[collision] << " of " << pieces << " pieces: " << Name(collision)
             << "\n";
    std::cout << counts.str();
    EXPECT_EQ(faults, 0) << counts.str() << "the first collisions:\n" << examples.str();
  }

  int pieces = 0;
  int faults = 0;
  std::map<Collision, int> piecesWith;
  std::ostringstream examples;
};

TEST_F(ScoreCollisionsTest, LearnerPiecesKeepTheirMarksApart) {
  const QDir folder(MELVARIN_SOURCE_DIR "/tests/src/core/score_builder/learner_pieces");
  const QStringList files = folder.entryList({"*.rmn"}, QDir::Files, QDir::Name);
  ASSERT_GE(files.size(), 46);
  for (const QString& name : files) {
    QFile file(folder.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    CheckPiece(name.toStdString(), QString::fromUtf8(file.readAll()));
  }
  ExpectNoCollisions();
}

// The generated pieces of a fixed slice of seeds, or of the seeds the sweep is given.
std::pair<unsigned, unsigned> Seeds() {
#ifdef MELVARIN_SWEEP_EVERY_SCORE
  const QByteArray range = qgetenv("MELVARIN_SWEEP_SEEDS");
  const qsizetype dash = range.indexOf('-');
  if (dash > 0) return {range.left(dash).toUInt(), range.mid(dash + 1).toUInt()};
  return {0, 1999};
#else
  return {0, 99};
#endif
}

TEST_F(ScoreCollisionsTest, GeneratedMusicKeepsItsMarksApart) {
  // A line breaks only at a bar line, and music without bar lines between events a whole note
  // apart: on a narrow page a bar, or such a stretch, may be wider than the line, which then
  // squeezes its notes together as it must. There the heads and ledger lines of neighbouring
  // notes, and the beams over them, are not asked to keep apart.
  const std::vector<Collision> squeezed = {Collision::HeadsTouch, Collision::LedgerLinesMerge,
                                           Collision::BeamThroughHead};
  const auto [first, last] = Seeds();
  for (unsigned seed = first; seed <= last; ++seed) {
    const GeneratedPiece piece = GenerateMusic(seed);
    CheckPiece("seed " + std::to_string(seed), QString::fromStdString(piece.rmn),
               piece.narrowPage ? squeezed : std::vector<Collision>{});
  }
  ExpectNoCollisions();
}

// The check itself: a page the engine draws clean shows no collision until one of its marks is
// moved against another.
class CollisionCheckTest : public ScoreCollisionsTest {};

void Move(DrawnMark& mark, QPointF by) {
  mark.box.translate(by);
  mark.ink.translate(by);
}

TEST_F(CollisionCheckTest, FindsEachCollisionOnceAMarkIsMovedAgainstAnother) {
  struct Case {
    const char* rmn;
    Mark moved, still;  // the last mark of its kind is moved against the first of the other
    bool across;        // to stand a unit right of it, else on its middle
    Collision found;
  } const cases[] = {
      {"[ \\meter<\"2/4\"> c2/4 d2/4 ]", Mark::Head, Mark::Head, true, Collision::HeadsTouch},
      {"[ \\meter<\"2/4\"> c1/4 c1/4 ]", Mark::LedgerLine, Mark::LedgerLine, true,
       Collision::LedgerLinesMerge},
      {"[ \\meter<\"4/4\"> \\cresc( c2/4 d2 e2 ) \\intens<\"f\"> f2/4 ]", Mark::Dynamic,
       Mark::Wedge, true, Collision::WedgeTouchesDynamic},
      {"[ \\meter<\"2/4\"> \\lyrics<\"one two three\">( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) f2/4 ]",
       Mark::Text, Mark::TupletBracket, false, Collision::BracketCrossesText},
      {"[ \\meter<\"2/4\"> \\lyrics<\"one two\">( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) f2/4 ]",
       Mark::Text, Mark::TupletNumber, false, Collision::BracketCrossesText},
      {"[ \\meter<\"2/4\"> e1/8 f1 ]", Mark::Head, Mark::Beam, false, Collision::BeamThroughHead},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rmn);
    Painter painter = QuestionPainter(QString::fromLatin1(c.rmn));
    std::vector<DrawnMark> marks = DrawnMarks(*painter, 1);
    for (const Found& found : Collisions(marks)) ADD_FAILURE() << found.what;
    auto last = std::find_if(marks.rbegin(), marks.rend(),
                             [&](const DrawnMark& m) { return m.kind == c.moved; });
    auto first = std::find_if(marks.begin(), marks.end(),
                              [&](const DrawnMark& m) { return m.kind == c.still; });
    ASSERT_TRUE(last != marks.rend() && first != marks.end());
    Move(*last, c.across ? QPointF(first->box.right() + 1 - last->box.left(), 0)
                         : QPointF(0, first->box.center().y() - last->box.center().y()));
    const std::vector<Found> found = Collisions(marks);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(), [&](const Found& f) {
      return f.collision == c.found;
    })) << Name(c.found);
  }
}

}  // namespace
}  // namespace ScoreOverlaps
