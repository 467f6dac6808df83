#include <gtest/gtest.h>

#include "src/core/score_provider/rmn_fragments.h"
#include "src/core/score_provider/score_provider.h"

namespace Core {
namespace {

const std::string kTrebleVoice = "[ \\staff<1> \\clef<\"g2\">  \\stemsAuto ";
const std::string kBassVoice = "[ \\staff<1> \\clef<\"f4\">  \\stemsAuto ";
const std::string kGreen = "  \\noteFormat<color=\"0x00996c\"> ";
const std::string kRed = "  \\noteFormat<color=\"0xdc4040\"> ";
const std::string kBlue = "  \\noteFormat<color=\"0x2789dd\"> ";

NoteWAnalysis Note(int key, NoteWAnalysis::Color color) {
  return NoteWAnalysis{key, color};
}

TEST(QuestionScore, ChordInTheTrebleClef) {
  EXPECT_EQ(
      ScoreProvider::GetQuestionScoreNotes({39, 43, 46}, true, false, ScoreProvider::ST_CHORD),
      "{ [ \\staff<1> \\clef<\"g2\">  \\stemsAuto  { c1 , e1 , g1 }  ], "
      "[ \\staff<1> \\clef<\"g2\">  \\stemsAuto  ] }");
}

TEST(QuestionScore, SequencesAndSingleNotes) {
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({39, 40}, true, false, ScoreProvider::ST_INTERVAL),
            "{ " + kTrebleVoice + " c1 c#1 ], " + kTrebleVoice + " ] }");
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({10}, false, true, ScoreProvider::ST_NOTE),
            "{ " + kBassVoice + " g-2 ], " + kBassVoice + " ] }");
  EXPECT_EQ(
      ScoreProvider::GetQuestionScoreNotes({3, 5, 6, 8}, true, true, ScoreProvider::ST_SEQUENCE),
      "{ " + kTrebleVoice + " c-2 d-2 e&-2 f-2 ], " + kTrebleVoice + " ] }");
}

TEST(QuestionScore, ChordSpellingDependsOnTheOtherChordNotes) {
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({39, 40}, true, false, ScoreProvider::ST_CHORD),
            "{ " + kTrebleVoice + " { c1 , d&1 }  ], " + kTrebleVoice + " ] }");
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({40, 41}, true, true, ScoreProvider::ST_CHORD),
            "{ " + kTrebleVoice + " { c#1 , d1 }  ], " + kTrebleVoice + " ] }");
  // A chord written earlier leaves nothing behind for the next score.
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({40}, true, false, ScoreProvider::ST_CHORD),
            "{ " + kTrebleVoice + " { c#1 }  ], " + kTrebleVoice + " ] }");
}

TEST(QuestionScore, EmptyKeysAndKeysWithoutAName) {
  const std::string empty = "{ " + kTrebleVoice + " ], " + kTrebleVoice + " ] }";
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({}, true, false, ScoreProvider::ST_CHORD), empty);
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({}, true, false, ScoreProvider::ST_NOTE), empty);
  EXPECT_EQ(ScoreProvider::GetQuestionScoreNotes({200, 0xFFFFFFFFu}, true, false,
                                                 ScoreProvider::ST_CHORD),
            empty);
}

TEST(AnswerScore, WrongNotesFormARedChordBeforeTheExpectedOnes) {
  const std::vector<NoteWAnalysis> notes = {
      Note(39, NoteWAnalysis::CL_RIGHT), Note(44, NoteWAnalysis::CL_WRONG),
      Note(43, NoteWAnalysis::CL_NOT_PLAYED), Note(46, NoteWAnalysis::CL_RIGHT)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes(notes, true, false),
            "{ " + kTrebleVoice + " { " + kRed + "f1 }  { " + kGreen + "c1 , " + kBlue + "e1 , " +
                kGreen + "g1 }  ] }");
}

TEST(AnswerScore, AllRightWritesNoRedChord) {
  const std::vector<NoteWAnalysis> notes = {Note(39, NoteWAnalysis::CL_RIGHT),
                                            Note(43, NoteWAnalysis::CL_RIGHT)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes(notes, true, false),
            "{ " + kTrebleVoice + " { " + kGreen + "c1 , " + kGreen + "e1 }  ] }");
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes({}, false, false),
            "{ " + kBassVoice + " {  }  ] }");
}

TEST(AnswerScore, WrongNotesOutsideTheClefAreLeftOut) {
  const std::vector<NoteWAnalysis> notes = {Note(10, NoteWAnalysis::CL_WRONG),
                                            Note(10, NoteWAnalysis::CL_RIGHT)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes(notes, true, false),
            "{ " + kTrebleVoice + " { " + kGreen + "g-2 }  ] }");
  // Two wrong notes a semitone apart are spelled against each other, like any chord.
  const std::vector<NoteWAnalysis> cluster = {Note(39, NoteWAnalysis::CL_WRONG),
                                              Note(40, NoteWAnalysis::CL_WRONG),
                                              Note(46, NoteWAnalysis::CL_NOT_PLAYED)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes(cluster, true, false),
            "{ " + kTrebleVoice + " { " + kRed + "c1 , d&1 }  { " + kBlue + "g1 }  ] }");
}

TEST(AnswerScore, PlayedKeysOffThePianoAreLeftOut) {
  // Any-octave answers keep the played key, which a MIDI keyboard can send from anywhere.
  const std::vector<NoteWAnalysis> notes = {
      Note(-21, NoteWAnalysis::CL_RIGHT), Note(106, NoteWAnalysis::CL_RIGHT),
      Note(120, NoteWAnalysis::CL_WRONG), Note(43, NoteWAnalysis::CL_NOT_PLAYED)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotes(notes, true, false),
            "{ " + kTrebleVoice + " { " + kBlue + "e1 }  ] }");
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, true, false),
            "{ " + kTrebleVoice + kBlue + "e1 ] }");
}

TEST(AnswerScore, SequenceInPlayingOrderWithinTheClef) {
  const std::vector<NoteWAnalysis> notes = {
      Note(39, NoteWAnalysis::CL_RIGHT), Note(44, NoteWAnalysis::CL_WRONG),
      Note(41, NoteWAnalysis::CL_NOT_PLAYED), Note(43, NoteWAnalysis::CL_NOT_PLAYED),
      Note(40, NoteWAnalysis::CL_RIGHT)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotesSequence(notes, true, true),
            "{ " + kTrebleVoice + kGreen + "c1" + kRed + "f1" + kBlue + "d1" + kBlue + "e1" +
                kGreen + "d&1 ] }");
  // Only what the bass clef can show: key 60 is above it.
  const std::vector<NoteWAnalysis> bass = {Note(30, NoteWAnalysis::CL_RIGHT),
                                           Note(60, NoteWAnalysis::CL_WRONG)};
  EXPECT_EQ(ScoreProvider::GetQuestionScoreAnswerNotesSequence(bass, false, false),
            "{ " + kBassVoice + kGreen + "d#0 ] }");
}

}  // namespace
}  // namespace Core
