// The pieces of the verdict that stand on their own: the answer's key colours, the rendered
// score (or none for text the engine refuses), and the resume check.

#include <gtest/gtest.h>

#include "src/core/score_provider/score_provider.h"
#include "src/ui/controls/console_exercise_control/answer_keys.h"
#include "src/ui/controls/console_exercise_control/exercise_score.h"
#include "src/ui/controls/console_exercise_control/resume_position.h"

namespace {

using Note = Core::NoteWAnalysis;

TEST(AnswerKeyStates, EachKeyTakesItsStrongestColourAndKeysOffThePianoAreLeftOut) {
  const KeysStateMap keys = UI::AnswerKeyStates({{40, Note::CL_RIGHT},
                                                 {44, Note::CL_NOT_PLAYED},
                                                 {47, Note::CL_NOT_PLAYED},
                                                 {47, Note::CL_WRONG},
                                                 {50, Note::CL_WRONG},
                                                 {50, Note::CL_RIGHT},
                                                 {-1, Note::CL_WRONG},
                                                 {88, Note::CL_RIGHT}});
  struct Expected {
    int key, highlight;
    bool pressed;
  };
  const Expected expected[] = {{40, KeyState::Green, false},
                               {44, KeyState::Blue, true},
                               {47, KeyState::Red, false},
                               {50, KeyState::Red, false}};
  ASSERT_EQ(keys.size(), std::size(expected));
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.key);
    const KeyState& state = keys.at(e.key);
    EXPECT_EQ(state.highlight, e.highlight);
    EXPECT_EQ(state.pressed, e.pressed);
    EXPECT_EQ(state.level, 3);
    EXPECT_TRUE(state.active && state.repaint);
  }
}

TEST(RenderExerciseScore, RendersOnePageWithItsHighlightAndGivesNothingForBadText) {
  const auto score =
      UI::RenderExerciseScore(Core::ScoreProvider::GetQuestionScoreNotes(
                                  {39, 43}, true, false, Core::ScoreProvider::ST_CHORD),
                              1);
  ASSERT_NE(score, nullptr);
  ASSERT_EQ(score->size(), 1);
  EXPECT_EQ((*score)[0].highlightIndex, 1);
  EXPECT_EQ((*score)[0].pages.size(), 1);
  EXPECT_EQ(UI::RenderExerciseScore("{ [ c1 ", -1), nullptr);
}

TEST(IsResumablePosition, RefusesTheLastTickAndAnEmptyTimeline) {
  EXPECT_TRUE(UI::IsResumablePosition(0, 100));
  EXPECT_TRUE(UI::IsResumablePosition(98, 100));
  EXPECT_FALSE(UI::IsResumablePosition(99, 100));
  EXPECT_FALSE(UI::IsResumablePosition(100, 100));
  EXPECT_FALSE(UI::IsResumablePosition(0, 0));
}

}  // namespace
