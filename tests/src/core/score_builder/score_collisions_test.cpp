// The learner pieces and generated music, laid out on their own pages as the render tool lays
// them out unshrunk: no two marks collide as collision_rules.h tells (any two whose inks meet,
// unless a rule names the pair and how they belong together).
//
// The suite checks every learner piece and a fixed slice of the generated pieces, and lets the
// collisions the engine is known still to draw pass, counted apart; the sweep program built from
// this file (score_overlaps_sweep) checks the seeds MELVARIN_SWEEP_SEEDS names ("first-last",
// 0-1999 when not set), with every mark a piece may carry, reports every collision, and says how
// many pieces each pair of marks collided in.

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

#ifndef MELVARIN_SWEEP_EVERY_SCORE
// Collisions the engine still draws, each an open fault of its own awaiting its mend: the suite
// counts them apart and lets them pass, the sweep reports them with every other. A row names a
// mark and, unless it stands for any mark, the other one, and words the marks' message holds.
struct OpenFault {
  Mark mark;
  bool withAny;
  Mark other;
  const char* fault;
  const char* words = "";
} const OpenFaults[] = {
    {Mark::Bowing, false, Mark::Wedge, "a tie placed clear of the notes meets a wedge"},
    {Mark::Accidental, false, Mark::Dot, "the sign of a note runs into the note before"},
    {Mark::Accidental, false, Mark::Accidental, "neighbouring columns of a chord's signs touch"},
    {Mark::Accidental, false, Mark::Rest, "the sign of a note runs into a rest"},
    {Mark::Accidental, false, Mark::Bowing, "a tie or slur runs through the sign of a note"},
    {Mark::Accidental, false, Mark::Wedge, "a wedge runs through the sign of a note"},
    {Mark::Flag, true, {}, "a flag runs into the next note"},
    {Mark::Bar, true, {}, "a bar line written after a grace group stands on its neighbours"},
    {Mark::Stem, false, Mark::Beam, "a stem meets a beam of another group"},
};

// The pairs the suite has always asked to keep apart are never excused: heads and ledger lines
// of neighbouring notes, a wedge and a dynamic mark, a tuplet's bracket or number and a text, a
// beam and a head.
bool KeptApartBefore(const Found& found) {
  auto pair = [&](Mark a, Mark b) { return found.first == a && found.second == b; };
  const bool otherDates = found.firstMark.date != found.secondMark.date;
  return ((pair(Mark::Head, Mark::Head) || pair(Mark::LedgerLine, Mark::LedgerLine)) &&
          otherDates) ||
         pair(Mark::Dynamic, Mark::Wedge) || pair(Mark::Text, Mark::TupletBracket) ||
         pair(Mark::Text, Mark::TupletNumber) || pair(Mark::Head, Mark::Beam);
}

bool Open(const Found& found) {
  if (KeptApartBefore(found)) return false;
  return std::any_of(std::begin(OpenFaults), std::end(OpenFaults), [&](const OpenFault& open) {
    auto is = [&](Mark a, Mark b) { return a == open.mark && (open.withAny || b == open.other); };
    return (is(found.first, found.second) || is(found.second, found.first)) &&
           found.what.find(open.words) != std::string::npos;
  });
}

#endif

class ScoreCollisionsTest : public RazidQtTesting::EngineFixture {
 protected:
  // The piece on the page it asks for, or the engine's default page, but for the pairs of marks
  // the piece is not asked to keep apart.
  void CheckPiece(const std::string& source, const QString& rmn,
                  bool (*excused)(const Found&) = nullptr) {
    Painter score = NewPainter();
    score->setResizePageToMusic(false);
    ASSERT_TRUE(score->setRMNCode(rmn))
        << source << ": " << score->getLastErrorMessage().toStdString();
    ++pieces;
    std::map<std::string, int> inPiece;
    for (int page = 1; page <= score->pageCount(); ++page) {
      for (const Found& found : Collisions(DrawnMarks(*score, page))) {
        if (excused && excused(found)) continue;
#ifndef MELVARIN_SWEEP_EVERY_SCORE
        if (Open(found)) {
          ++openFaults[PairName(found)];
          continue;
        }
#endif
        if (++inPiece[PairName(found)] == 1) ++piecesWith[PairName(found)];
        if (++faults <= ExamplesShown)
          examples << source << " page " << page << ": " << found.what << "\n";
      }
    }
  }

  // How many pieces hold each pair of marks that collide; no collision anywhere.
  void ExpectNoCollisions() {
    std::ostringstream counts;
    for (const auto& [pair, count] : piecesWith)
      counts << "  " << count << " of " << pieces << " pieces: " << pair << "\n";
    for (const auto& [pair, count] : openFaults)
      counts << "  open, " << count << " times: " << pair << "\n";
    std::cout << counts.str();
    EXPECT_EQ(faults, 0) << counts.str() << "the first collisions:\n" << examples.str();
  }

  int pieces = 0;
  int faults = 0;
  std::map<std::string, int> piecesWith;
  std::map<std::string, int> openFaults;
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

// The sweep draws every mark a piece may carry: jumps, tempo marks and changes, ornaments,
// octavas over two voices.
MusicFeatures SweepFeatures() {
  return EveryFeature();
}

// The suite's slice leaves out the other tags, among whose marks the sweep still finds
// collisions of many kinds.
MusicFeatures CheckedFeatures() {
#ifdef MELVARIN_SWEEP_EVERY_SCORE
  return SweepFeatures();
#else
  return {};
#endif
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
  // squeezes its notes together as it must. There the marks of neighbouring notes (heads, stems,
  // flags, beams, signs, dots, rests, articulations and ledger lines) are not asked to keep
  // apart.
  auto squeezed = [](const Found& found) {
    auto packed = [](Mark kind) {
      return kind == Mark::Head || kind == Mark::LedgerLine || kind == Mark::Beam ||
             kind == Mark::Stem || kind == Mark::Flag || kind == Mark::Accidental ||
             kind == Mark::Dot || kind == Mark::Rest || kind == Mark::Articulation;
    };
    return packed(found.first) && packed(found.second);
  };
  // Pieces beyond the slice whose collisions were mended, one of each: the sign of a note on
  // the stem of a beamed note before it, and on the ledger line of the last note of the slice
  // before across another staff's note; a grace note's flag on another voice's sign; a text
  // on a rest of the lower voice; a ledger line on the stem of the note before, risen to the
  // beam over both; a chord's sign on the sharp of a key changed before a dynamic; a steep beam
  // through the ledger line of the chord it rises to.
  constexpr unsigned MendedSeeds[] = {3698, 7120, 4298, 9617, 6021, 8625, 8358};
  const auto [first, last] = Seeds();
  std::vector<unsigned> seeds;
  for (unsigned seed = first; seed <= last; ++seed) seeds.push_back(seed);
  for (unsigned seed : MendedSeeds)
    if (seed < first || seed > last) seeds.push_back(seed);
  for (unsigned seed : seeds) {
    const GeneratedPiece piece = GenerateMusic(seed, CheckedFeatures());
    CheckPiece("seed " + std::to_string(seed), QString::fromStdString(piece.rmn),
               piece.narrowPage ? +squeezed : nullptr);
  }
  ExpectNoCollisions();
}

// A note's words and an octava's figure keep clear of the slurs and ties along their staff:
// words over a curve's tip stand over it, a figure under the notes stands under a curve there.
TEST_F(ScoreCollisionsTest, WordsAndFiguresKeepClearOfCurves) {
  const char* const pieces[] = {
      // Words at the note a slur over the beam ends at.
      "[ \\meter<\"6/8\"> \\slurBegin g1/8 {a1/8, f#1/8} \\turn( g1/8 \\slurEnd ) {f#1/4, d1/4} "
      "{e1/8, c1/8} ]",
      // The figure an octava down opens the next line with, under the slur going on there.
      "[ \\meter<\"4/4\"> \\oct<-1> g-1/4 \\slur( {e&-1/4, g-1/4, h&-1/4} d&-1/2 \\newSystem "
      "e-1/4 ) \\oct<0> c0/4 c0/2 ]",
  };
  for (const char* rmn : pieces) CheckPiece(rmn, rmn);
  ExpectNoCollisions();
}

// A slur inside another is placed first: the one around it passes over it.
TEST_F(ScoreCollisionsTest, NestedSlursKeepApart) {
  const char* const pieces[] = {
      "[ \\meter<\"4/4\"> \\slur( e2/8 \\slur( g2/16 e2/16 ) c2/8 d2/8 f2/8 g2 a2 h2 ) ]",
  };
  for (const char* rmn : pieces) CheckPiece(rmn, rmn);
  ExpectNoCollisions();
}

// The pieces the sweep checks carry every kind of mark over the music, so that each meets the
// others: jumps, tempo marks and changes, ornaments, octavas, texts and dynamics.
TEST(CollisionSweepPieces, CarryEveryMarkOverTheMusic) {
  std::string written;
  for (unsigned seed = 0; seed < 200; ++seed) written += GenerateMusic(seed, SweepFeatures()).rmn;
  for (const char* tag :
       {"\\daCapo", "\\dalSegno", "\\fine", "\\coda", "\\segno", "\\ritBegin", "\\accelBegin",
        "\\tempo<", "\\trill(", "\\oct<", "\\text<", "\\intens<", "\\volta<"})
    EXPECT_NE(written.find(tag), std::string::npos) << tag;
}

// The check itself: a page the engine draws clean shows no collision until one of its marks is
// moved against another.
class CollisionCheckTest : public ScoreCollisionsTest {};

void Move(DrawnMark& mark, QPointF by) {
  mark.box.translate(by);
  mark.ink.translate(by);
}

// Where a mark is moved against another: to stand a unit right of it, with its middle on the
// other's, or with its middle on the end of the other, a stem.
enum class Place { Beside, OnMiddle, OnStemTip };

TEST_F(CollisionCheckTest, FindsEachCollisionOnceAMarkIsMovedAgainstAnother) {
  constexpr Place Beside = Place::Beside, OnMiddle = Place::OnMiddle;
  struct Case {
    const char* rmn;
    Mark moved, still;  // the last mark of its kind is moved against the first of the other
    Place place;
  } const cases[] = {
      {"[ \\meter<\"2/4\"> c2/4 d2/4 ]", Mark::Head, Mark::Head, Beside},
      {"[ \\meter<\"2/4\"> c1/4 c1/4 ]", Mark::LedgerLine, Mark::LedgerLine, Beside},
      {"[ \\meter<\"4/4\"> \\cresc( c2/4 d2 e2 ) \\intens<\"f\"> f2/4 ]", Mark::Dynamic,
       Mark::Wedge, Beside},
      {"[ \\meter<\"2/4\"> \\lyrics<\"one two three\">( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) f2/4 ]",
       Mark::Text, Mark::TupletBracket, OnMiddle},
      {"[ \\meter<\"2/4\"> \\lyrics<\"one two\">( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) f2/4 ]",
       Mark::Text, Mark::TupletNumber, OnMiddle},
      {"[ \\meter<\"2/4\"> e1/8 f1 ]", Mark::Head, Mark::Beam, OnMiddle},
      {"[ \\meter<\"2/4\"> \\intens<\"f\"> e1/8 f1 ]", Mark::Dynamic, Mark::Stem, OnMiddle},
      {"[ \\meter<\"2/4\"> \\lyrics<\"one two\">( \\lyrics<\"three four\", dy=-6>( c2/4 d2 ) ) ]",
       Mark::Text, Mark::Text, OnMiddle},
      {"[ \\meter<\"2/4\"> \\cresc( e1/4 f1 ) \\tuplet<\"-3-\">( e1/6 f1 g1 ) a1/4 ]", Mark::Wedge,
       Mark::TupletNumber, OnMiddle},
      {"[ \\meter<\"2/4\"> \\tie( c2/4 c2/4 ) ]", Mark::Bowing, Mark::Meter, OnMiddle},
      // A stem crossed by a beam far from its end or ending in another note's beam, a ledger line
      // of another note through a head, another note's sign, stem or flag on a head or stem, a tie
      // through a head away from its ends: the owner rules do not hold.
      {"[ \\meter<\"2/4\"> {c1/4, c2} e1/8 f1 ]", Mark::Beam, Mark::Stem, OnMiddle},
      {"[ \\meter<\"2/4\"> {c1/4, c2} e1/8 f1 ]", Mark::Beam, Mark::Stem, Place::OnStemTip},
      {"[ \\meter<\"2/4\"> e2/4 a0/4 ]", Mark::LedgerLine, Mark::Head, OnMiddle},
      {"[ \\meter<\"2/4\"> e2/4 c#2/4 ]", Mark::Accidental, Mark::Head, OnMiddle},
      {"[ \\meter<\"2/4\"> c2/4 d2/4 ]", Mark::Stem, Mark::Head, OnMiddle},
      {"[ \\meter<\"2/4\"> d2/4. c2/8 ]", Mark::Flag, Mark::Stem, OnMiddle},
      {"[ \\meter<\"3/4\"> \\tie( c2/4 c2/4 ) e2/4 ]", Mark::Bowing, Mark::Head, OnMiddle},
      // Voices resting together for one length share one rest, and a dotted one its dot; a rest
      // of another length on it is found.
      {"{ [ \\staff<1> \\meter<\"2/4\"> _/4 c2/8 d2/8 ], "
       "[ \\staff<1> \\meter<\"2/4\"> _/4 _/8 a1/8 ] }",
       Mark::Rest, Mark::Rest, OnMiddle},
      {"{ [ \\staff<1> \\meter<\"3/4\"> c2/4 _/4. d2/8 ], "
       "[ \\staff<1> \\meter<\"3/4\"> _/4 _/4. _/8 ] }",
       Mark::Rest, Mark::Rest, OnMiddle},
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
    switch (c.place) {
      case Place::Beside:
        Move(*last, QPointF(first->box.right() + 1 - last->box.left(), 0));
        break;
      case Place::OnMiddle:
        Move(*last, first->box.center() - last->box.center());
        break;
      case Place::OnStemTip:
        Move(*last, QPointF(first->box.center().x(), StemTip(*first)) - last->box.center());
        break;
    }
    const std::vector<Found> found = Collisions(marks);
    EXPECT_TRUE(std::any_of(found.begin(), found.end(),
                            [&](const Found& f) {
                              return (f.first == c.moved && f.second == c.still) ||
                                     (f.first == c.still && f.second == c.moved);
                            }))
        << Name(c.moved) << " on " << Name(c.still);
  }
}

// Pieces the engine has drawn one mark through another in: the check finds each fault as the
// pair it names, as the engine draws the piece or, where the engine keeps the two apart, once
// the last mark of the second kind is moved onto the first of the first kind on one page.
TEST_F(CollisionCheckTest, FindsMarksDrawnThroughOthers) {
  struct Case {
    const char* rmn;
    Mark first, second;  // in the order of Mark
  } const cases[] = {
      // A tuplet's bracket pushes the first verse down onto a verse written above it.
      {"[ \\key<\"F\"> \\meter<\"4/4\"> \\lyrics<\"The wa-ter is wide, I can-not\">( "
       "\\lyrics<\"A ship there is and she sails the\", dy=-6>( c1/4 f1 f1 g1 | "
       "\\tuplet<\"-3-\">( c2/6 h&1 a1 ) g1/4 f1 ) ) ]",
       Mark::Text, Mark::Text},
      // A tuplet's bracket under the staff runs through a dynamic and a hairpin.
      {"[ \\meter<\"2/4\"> \\lyrics<\"la la la la la la la la\">( \\intens<\"p\"> "
       "\\tuplet<\"-3-\">( a2/12 g2 f2 ) \\intens<\"f\"> \\tuplet<\"-3-\">( e2/12 d2 c2 ) | "
       "\\cresc( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) ) ]",
       Mark::Dynamic, Mark::TupletBracket},
      {"[ \\meter<\"2/4\"> \\lyrics<\"la la la la la la la la\">( \\intens<\"p\"> "
       "\\tuplet<\"-3-\">( a2/12 g2 f2 ) \\intens<\"f\"> \\tuplet<\"-3-\">( e2/12 d2 c2 ) | "
       "\\cresc( \\tuplet<\"-3-\">( c2/6 d2 e2 ) ) ) ]",
       Mark::Wedge, Mark::TupletBracket},
      // A stems-down tuplet's bracket crosses a verse written above the first.
      {"[ \\meter<\"2/4\"> \\lyrics<\"Hal-le-lu-jah sing\">( \\lyrics<\"Glo-ri-a in ex\", "
       "dy=-6>( \\stemsDown \\tuplet<\"-3-\">( a0/12 h0 c1 ) d1/4 | "
       "\\tuplet<\"-5-\">( c1/20 d1 e1 d1 c1 ) h0/4 ) ) ]",
       Mark::Text, Mark::TupletBracket},
      // The piece of a hairpin continued on the next line is drawn across the next dynamic.
      {"[ \\pageFormat<w=10cm, h=24cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<5> "
       "{c#2/1, a#1/1, f#1/1} g#2/2 \\dim( g#2/2 \\intens<\"f\"> _/1 d#2/4 g#2/4 {h2/4, g#2/4} "
       "a2/4 \\intens<\"ff\"> {c#2/4, a#1/4} ) \\intens<\"f\"> \\text<\"sempre\"> _/4 "
       "\\dim( a#1/4 \\stacc( g#1/4 ) e1/1 | e1/8 h1/8 a1/8 e1/8 ) a#1/16 h1/16 f#2/16 a#1/16 "
       "d#2/4 ]",
       Mark::Dynamic, Mark::Wedge},
      // A jump mark opening a line runs through the words of a tempo change at its first note.
      {"[ \\pageFormat<w=7cm, h=21cm, lm=0.5cm, tm=1cm, rm=0.5cm, bm=1cm> \\key<3> "
       "\\meter<\"4/4\"> a0/4 h0 c1 d1 \\repeatEnd \\newSystem \\dalSegnoAlFine "
       "\\ritBegin a2/4 g2 f2 \\ritEnd e2 ]",
       Mark::Text, Mark::Text},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rmn);
    Painter score = NewPainter();
    score->setResizePageToMusic(false);
    ASSERT_TRUE(score->setRMNCode(QString::fromLatin1(c.rmn)));
    auto holdsPair = [&](const std::vector<DrawnMark>& marks) {
      const std::vector<Found> found = Collisions(marks);
      return std::any_of(found.begin(), found.end(), [&](const Found& f) {
        return f.first == c.first && f.second == c.second;
      });
    };
    bool drawnThrough = false, planted = false;
    for (int page = 1; page <= score->pageCount() && !drawnThrough && !planted; ++page) {
      std::vector<DrawnMark> marks = DrawnMarks(*score, page);
      drawnThrough = holdsPair(marks);
      auto first = std::find_if(marks.begin(), marks.end(),
                                [&](const DrawnMark& m) { return m.kind == c.first; });
      auto last = std::find_if(marks.rbegin(), marks.rend(),
                               [&](const DrawnMark& m) { return m.kind == c.second; });
      if (drawnThrough || first == marks.end() || last == marks.rend()) continue;
      Move(*last, first->box.center() - last->box.center());
      planted = holdsPair(marks);
    }
    EXPECT_TRUE(drawnThrough || planted) << Name(c.first) << " and " << Name(c.second);
    if (drawnThrough)
      std::cout << "drawn through: " << Name(c.first) << " and " << Name(c.second) << "\n";
  }
}

}  // namespace
}  // namespace ScoreOverlaps
