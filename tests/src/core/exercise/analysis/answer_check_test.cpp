#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "src/core/exercise/analysis/answer_check.h"
#include "src/core/score_provider/score_provider.h"
#include "tests/src/core/exercise/analysis/played_notes.h"

namespace Core {
namespace {

using namespace Testing;

TEST(CompareChords, ChordIsJudgedNoteByNote) {
  const MidiStream expected = Notes({C4, E4, G4});
  EXPECT_EQ(CompareChords(expected, Notes({G4}), false, false), VerdictIncomplete);
  EXPECT_EQ(CompareChords(expected, Notes({G4, E4}), false, false), VerdictIncomplete);
  EXPECT_EQ(CompareChords(expected, Notes({G4, E4, C4}), false, false), VerdictRight);
  EXPECT_EQ(CompareChords(expected, Notes({G4, F4}), false, false), VerdictWrong);
  // In order: a scale started on the wrong note is wrong at once.
  EXPECT_EQ(CompareChords(expected, Notes({G4}), true, false), VerdictWrong);
  EXPECT_EQ(CompareChords(expected, Notes({C4, E4}), true, false), VerdictIncomplete);
  EXPECT_EQ(CompareChords(expected, Notes({C4, E4, G4}), true, false), VerdictRight);
}

TEST(CompareChords, OnlyAudibleNotesCount) {
  MidiStream played;
  played.AddEvent(MidiEvent(MidiMessage(MidiProgramChange, 0, 5), 0, 0.0));
  played.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, C4, 0), 0, 0.0));  // a release
  played.AddEvent(MidiEvent(MidiMessage(MidiNoteOff, 0, F4, 0), 0, 0.0));
  played.AddEvent(MidiEvent(MidiMessage(MidiControlChange, 0, 64, 127), 0, 0.0));
  EXPECT_EQ(CompareChords(Notes({C4, E4}), played, false, false), VerdictIncomplete);
  played.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, E4, 80), 0, 0.0));
  played.AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, C4, 80), 0, 0.0));
  EXPECT_EQ(CompareChords(Notes({C4, E4}), played, false, false), VerdictRight);
  // The expected stream is filtered alike: its note-offs are not notes to play.
  EXPECT_EQ(CompareChords(Notes({}), Notes({}), false, false), VerdictRight);
  EXPECT_EQ(CompareChords(Notes({C4}), Notes({}), false, false), VerdictIncomplete);
}

TEST(CompareChords, DoubledNotesAndTooManyNotes) {
  EXPECT_EQ(CompareChords(Notes({C4, C4, E4}), Notes({C4, E4}), false, false), VerdictIncomplete);
  EXPECT_EQ(CompareChords(Notes({C4, C4, E4}), Notes({C4, E4, C4}), false, false), VerdictRight);
  EXPECT_EQ(CompareChords(Notes({C4, E4}), Notes({C4, E4, C4}), false, false), VerdictWrong);
  EXPECT_EQ(CompareChords(Notes({}), Notes({C4}), false, false), VerdictWrong);
}

TEST(CompareChords, AnyOctaveComparesPitchClasses) {
  EXPECT_EQ(CompareChords(Notes({C5}), Notes({C4}), false, true), VerdictRight);
  EXPECT_EQ(CompareChords(Notes({C5}), Notes({Cs4}), false, true), VerdictWrong);
  EXPECT_EQ(CompareChords(Notes({C5}), Notes({C4}), false, false), VerdictWrong);
  // Below the piano too: C0 (MIDI 12) is a C.
  EXPECT_EQ(CompareChords(Notes({C4}), Notes({12}), false, true), VerdictRight);
  EXPECT_EQ(CompareChords(Notes({C4}), Notes({11}), false, true), VerdictWrong);
}

Question MakeQuestion(std::initializer_list<int> expected, unsigned int type = QT_NOTE,
                      unsigned int methods = AM_NOTES | AM_VARIANT) {
  Question question;
  question.Type = type;
  question.AnswerMethods = methods;
  question.VariantData.resize(6);
  for (QuestionData& variant : question.VariantData)
    variant.Stream = std::make_shared<MidiStream>();
  question.CorrectVariant = 2;
  *question.VariantData[2].Stream = Notes(expected);
  return question;
}

Answer Played(std::initializer_list<int> notes) {
  Answer answer;
  answer.Kind = AK_NOTES;
  answer.Notes = Notes(notes);
  return answer;
}

std::vector<NoteWAnalysis> Analyse(const Question& question, const Answer& answer, bool sequence,
                                   int& firstWrong, std::string* rmn = nullptr) {
  std::vector<NoteWAnalysis> notes;
  std::string text;
  AnalyseAnswer(question, answer, text, notes, sequence, firstWrong);
  if (rmn) *rmn = text;
  return notes;
}

using N = NoteWAnalysis;

TEST(AnalyseAnswer, ChordFormListsPlayedThenMissingNotes) {
  const Question question = MakeQuestion({C4, E4, G4});
  int firstWrong = -1;
  std::string rmn;
  const auto notes = Analyse(question, Played({C4, F4}), false, firstWrong, &rmn);
  EXPECT_EQ(
      notes,
      (std::vector<N>{
          {39, N::CL_RIGHT}, {44, N::CL_WRONG}, {43, N::CL_NOT_PLAYED}, {46, N::CL_NOT_PLAYED}}));
  EXPECT_EQ(firstWrong, -1);
  EXPECT_EQ(rmn, ScoreProvider::GetQuestionScoreAnswerNotes(notes, true, false));
}

TEST(AnalyseAnswer, ChordFormHonoursOrderAndOctaveOfTheQuestion) {
  int firstWrong = 7;
  // Chord asked by name: any octave, and the played key is the one shown.
  const auto byName =
      Analyse(MakeQuestion({C4, E4}, QT_CHORD_NAME, AM_NOTES), Played({C5, E4}), false, firstWrong);
  EXPECT_EQ(byName, (std::vector<N>{{51, N::CL_RIGHT}, {43, N::CL_RIGHT}}));
  // In order: the second note matches only the next expected one.
  const auto ordered = Analyse(MakeQuestion({C4, E4, G4}, QT_EAR, AM_NOTES | AM_IN_ORDER),
                               Played({E4, C4}), false, firstWrong);
  EXPECT_EQ(
      ordered,
      (std::vector<N>{
          {43, N::CL_WRONG}, {39, N::CL_RIGHT}, {43, N::CL_NOT_PLAYED}, {46, N::CL_NOT_PLAYED}}));
  EXPECT_EQ(firstWrong, 7);
}

// A scale, played in the order it asks for.
TEST(AnalyseAnswer, SequenceFormStopsAtTheFirstWrongNote) {
  const Question question = MakeQuestion({C4, D4, E4}, QT_EAR, AM_NOTES | AM_VARIANT | AM_IN_ORDER);
  int firstWrong = -1;
  std::string rmn;
  const auto notes = Analyse(question, Played({C4, F4, E4}), true, firstWrong, &rmn);
  EXPECT_EQ(
      notes,
      (std::vector<N>{
          {39, N::CL_RIGHT}, {44, N::CL_WRONG}, {41, N::CL_NOT_PLAYED}, {43, N::CL_NOT_PLAYED}}));
  EXPECT_EQ(firstWrong, 1);
  EXPECT_EQ(rmn, ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, true, false));

  // A wrong note the clef cannot show leaves no highlight.
  Question bass = question;
  bass.GClef = false;
  firstWrong = 5;
  Analyse(bass, Played({C4, 79}), true, firstWrong);  // G5, above the bass clef
  EXPECT_EQ(firstWrong, -1);
}

// An interval is judged in any order: its notes played top first are both right, and a wrong note
// stands before the note it left unplayed.
TEST(AnalyseAnswer, SequenceFormTakesTheNotesInAnyOrderWhereTheQuestionDoes) {
  const Question interval = MakeQuestion({C4, E4});
  int firstWrong = 5;
  std::string rmn;
  const auto notes = Analyse(interval, Played({E4, C4}), true, firstWrong, &rmn);
  EXPECT_EQ(notes, (std::vector<N>{{39, N::CL_RIGHT}, {43, N::CL_RIGHT}}));
  EXPECT_EQ(firstWrong, 5);
  EXPECT_EQ(rmn, ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, true, false));
  EXPECT_EQ(Analyse(interval, Played({E4, D4}), true, firstWrong),
            (std::vector<N>{{41, N::CL_WRONG}, {39, N::CL_NOT_PLAYED}, {43, N::CL_RIGHT}}));
  EXPECT_EQ(firstWrong, 0);
}

TEST(AnalyseAnswer, NotesNotYetPlayedAreMissing) {
  int firstWrong = -1;
  const auto started = Analyse(MakeQuestion({C4, D4, E4}), Played({C4}), true, firstWrong);
  EXPECT_EQ(started,
            (std::vector<N>{{39, N::CL_RIGHT}, {41, N::CL_NOT_PLAYED}, {43, N::CL_NOT_PLAYED}}));
  EXPECT_EQ(firstWrong, -1);
  // A time-out: nothing played, in either form.
  const auto chord = Analyse(MakeQuestion({C4, E4}), Answer(), false, firstWrong);
  EXPECT_EQ(chord, (std::vector<N>{{39, N::CL_NOT_PLAYED}, {43, N::CL_NOT_PLAYED}}));
  EXPECT_EQ(Analyse(MakeQuestion({C4, E4}), Answer(), true, firstWrong), chord);
}

TEST(AnalyseAnswer, MultipleChoiceComparesTheChosenVariant) {
  Question question = MakeQuestion({C4, E4, G4});
  *question.VariantData[4].Stream = Notes({C4, Cs4, G4});
  Answer choice;
  choice.Kind = AK_VARIANT;
  choice.ChosenVariant = 4;
  choice.Notes = Notes({E4});  // ignored: the chosen variant's notes are the answer
  int firstWrong = -1;
  const auto notes = Analyse(question, choice, false, firstWrong);
  EXPECT_EQ(notes,
            (std::vector<N>{
                {39, N::CL_RIGHT}, {40, N::CL_WRONG}, {46, N::CL_RIGHT}, {43, N::CL_NOT_PLAYED}}));
}

TEST(AnalyseAnswer, KeysOffThePianoDoNotBreakTheScore) {
  // A keyboard can send notes below A0; asked by name, any C is right and is kept as played.
  int firstWrong = -1;
  std::string rmn;
  const auto notes =
      Analyse(MakeQuestion({C4}, QT_CHORD_NAME, AM_NOTES), Played({0}), false, firstWrong, &rmn);
  EXPECT_EQ(notes, (std::vector<N>{{-21, N::CL_RIGHT}}));
  EXPECT_EQ(rmn, ScoreProvider::GetQuestionScoreAnswerNotes({}, true, false));
  Analyse(MakeQuestion({C4, D4}), Played({127, 0}), true, firstWrong, &rmn);
  EXPECT_EQ(firstWrong, -1);
}

TEST(AnalyseAnswerDeathTest, VariantsMustCarryStreams) {
  Question question = MakeQuestion({C4});
  question.VariantData[2].Stream.reset();
  int firstWrong = -1;
  EXPECT_DEATH(Analyse(question, Played({C4}), false, firstWrong),
               "Assertion failed: data.Stream != nullptr");
  Answer choice;
  choice.Kind = AK_VARIANT;
  choice.ChosenVariant = 6;
  EXPECT_DEATH(Analyse(MakeQuestion({C4}), choice, false, firstWrong),
               "Assertion failed: variant < question.VariantData.size\\(\\)");
}

}  // namespace
}  // namespace Core
