// The answer scores of the trainers, written by the exercise engine and drawn by the notation
// engine: a wrong note of the same letter as the right one must not change what the reader
// takes the right note to be.

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "lib-score-engine/graphic/drawn_score.h"
#include "src/core/exercise/analysis/answer_check.h"
#include "tests/src/core/exercise/analysis/played_notes.h"

namespace Core {
namespace {

using namespace Testing;

using Signs = std::vector<std::vector<unsigned int>>;
constexpr unsigned int kSharp = 35, kFlat = 98, kNatural = 110;

struct Case {
  char const* what;
  unsigned int type;
  bool sequence;  // intervals and scales are shown note after note
  bool flat;
  std::initializer_list<int> expected;
  std::initializer_list<int> played;
  Signs signs;  // per note drawn, in reading order (a chord's notes top down)
};

class AnswerScoreDrawingTest : public EngineTesting::DrawnScore {
 protected:
  std::string AnswerScore(Case const& c) {
    Question question;
    question.Type = c.type;
    question.AnswerMethods = AM_NOTES;
    question.Flat = c.flat;
    question.VariantData.resize(1);
    question.VariantData[0].Stream = std::make_shared<MidiStream>(Notes(c.expected));
    question.CorrectVariant = 0;
    Answer answer;
    answer.Kind = AK_NOTES;
    answer.Notes = Notes(c.played);
    std::string rmn;
    std::vector<NoteWAnalysis> notes;
    int firstWrong = -1;
    AnalyseAnswer(question, answer, rmn, notes, c.sequence, firstWrong);
    return rmn;
  }
};

TEST_F(AnswerScoreDrawingTest, WrongAndRightNotesOfOneLetterShowTheSignsAReaderNeeds) {
  Case const cases[] = {
      // Notes read (note trainer) and heard (ear trainer): a wrong chord, then the expected one.
      {"note, sharp for natural", QT_NOTE, false, false, {C4}, {Cs4}, {{kSharp}, {kNatural}}},
      {"note by ear, natural for sharp", QT_EAR, false, false, {Cs4}, {C4}, {{}, {kSharp}}},
      {"note, natural for flat", QT_NOTE, false, true, {Cs4}, {D4}, {{}, {kFlat}}},
      {"note, right", QT_NOTE, false, false, {Fs4}, {Fs4}, {{kSharp}}},
      // Chords read and heard.
      {"chord, flat third",
       QT_NOTE,
       false,
       true,
       {C4, E4, G4},
       {C4, Ds4, G4},
       {{kFlat}, {}, {kNatural}, {}}},
      {"chord by ear, sharp fifth",
       QT_EAR,
       false,
       false,
       {C4, E4, G4},
       {C4, E4, 68},
       {{kSharp}, {kNatural}, {}, {}}},
      // Intervals and scales, note after note: the wrong note stands before the right one.
      {"interval, flat for natural",
       QT_NOTE,
       true,
       true,
       {C4, E4},
       {C4, Ds4},
       {{}, {kFlat}, {kNatural}}},
      {"interval by ear, natural for sharp",
       QT_EAR,
       true,
       false,
       {C4, Fs4},
       {C4, F4},
       {{}, {}, {kSharp}}},
      {"scale by ear, sharp fourth",
       QT_EAR,
       true,
       false,
       {C4, D4, E4, F4, G4, A4, B4, C5},
       {C4, D4, E4, Fs4},
       {{}, {}, {}, {kSharp}, {kNatural}, {}, {}, {}, {}}},
      // Altered notes in two octaves: each has its own sign; a wrong c5 is told from c sharp.
      {"octave chord", QT_NOTE, false, false, {Cs4, Cs5}, {Cs4, Cs5}, {{kSharp}, {kSharp}}},
      {"chord by ear, f sharp twice",
       QT_EAR,
       false,
       false,
       {Fs4, A4, Fs5},
       {Fs4, A4, Fs5},
       {{kSharp}, {}, {kSharp}}},
      {"octave interval, c for c sharp",
       QT_NOTE,
       true,
       false,
       {Cs4, Cs5},
       {Cs4, C5},
       {{kSharp}, {kNatural}, {kSharp}}},
      {"scale by ear, right",
       QT_EAR,
       true,
       false,
       {G4, A4, B4, C5},
       {G4, A4, B4, C5},
       {{}, {}, {}, {}}},
  };
  for (Case const& c : cases) {
    std::string const score = AnswerScore(c);
    SCOPED_TRACE(std::string(c.what) + ": " + score);
    Draw(score);
    EXPECT_EQ(SignsOfNotes(), c.signs);
  }
}

}  // namespace
}  // namespace Core
