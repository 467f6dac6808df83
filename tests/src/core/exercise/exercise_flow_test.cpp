// The question flow of an exercise, driven by a hand-cranked timer: time-outs, sections, played
// questions, key and button answers, and how an exercise ends.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>

#include "exercise_test_support.h"
#include "src/core/exercise/ex_store/exercise_statistics.h"
#include "src/core/midi/timeline.h"
#include "src/core/midi/timer.h"
#include "support/temp_environment.h"

namespace {

using Core::ES_AWAITING_ANSWER;
using Core::ES_FINISHED;
using Core::ES_PLAYING;
using Core::ES_READY;
using Core::ES_STOPPED;
using Testing::NoteOff;
using Testing::NoteOn;
using Testing::TestSection;
using Testing::TestTrainer;
using Strings = std::vector<std::string>;

constexpr auto Variant = Testing::VariantAnswer;

class ExerciseFlowTest : public ::testing::Test {
 protected:
  void Make(std::vector<TestSection> sections) {
    exercise = std::make_unique<TestTrainer>(std::move(sections));
    notices.Attach(*exercise);
  }
  void TearDown() override {
    if (exercise) notices.Detach(*exercise);
    exercise.reset();
  }
  void AttachStatistics() {
    statistics = std::make_shared<Core::ExerciseStatistics>(env.Root() + "/stats.xml",
                                                            env.Root() + "/statsLocal.xml");
    exercise->SetStatistics(statistics, 0);
  }
  void Begin() {
    exercise->Pause(false);
    exercise->NextQuestion();
  }
  // Lets time go by in timer periods until `done` holds; false when it never did.
  bool RunUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    for (int t = 0; t < milliseconds && !done(); t += Core::Timer::PeriodMs)
      timer.Run(Core::Timer::PeriodMs);
    return done();
  }
  bool RunUntilState(Core::ExerciseState state) {
    return RunUntil([&] { return exercise->GetState() == state; });
  }
  // Asks and answers questions until the exercise stops or finishes.
  void RunToEnd(const std::function<void()>& answer) {
    for (int guard = 0; guard < 100; ++guard) {
      const Core::ExerciseState state = exercise->GetState();
      if (state == ES_STOPPED || state == ES_FINISHED) break;
      if (state == ES_READY) {
        exercise->NextQuestion();
        continue;
      }
      if (state == ES_PLAYING) RunUntil([&] { return exercise->GetState() != ES_PLAYING; });
      if (exercise->GetState() == ES_AWAITING_ANSWER) answer();
    }
  }

  Core::ManualTimer timer;  // before the exercise: no real timer pass ever reaches it
  Testing::TempEnvironment env;
  std::shared_ptr<Core::ExerciseStatistics> statistics;
  std::unique_ptr<TestTrainer> exercise;
  Testing::NoticeRecorder notices;
};

TEST_F(ExerciseFlowTest, TimeOutJudgesWrongThenCompletesRecordsAndTicks) {
  Make({TestSection{}});
  exercise->Configure(3, 100);  // two ticks per question
  AttachStatistics();
  Begin();
  EXPECT_EQ(notices.Take(), (Strings{"playback 1", "state 3"}));

  ASSERT_TRUE(RunUntil([&] { return notices.Count("answer wrong kind 0") == 1; }));
  Strings seen = notices.Take();
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(Strings(seen.end() - 4, seen.end()),
            (Strings{"answer wrong kind 0", "state 1", "state 1", "tick"}));
  EXPECT_EQ(exercise->GetState(), ES_READY);
  EXPECT_EQ(exercise->GetProgress().Answered, 1);
  EXPECT_EQ(exercise->GetProgress().RightAnswers, 0);

  std::vector<Core::ExStat> records;
  statistics->GetLocalSummary(0, 0, records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Id, 2);  // the correct variant's id
  EXPECT_EQ(records[0].Wrong, 1);
  EXPECT_EQ(records[0].Correct, 0);
}

TEST_F(ExerciseFlowTest, TimedExerciseFinishesAfterItsLastTimeOutAndRefusesPause) {
  Make({TestSection{}, TestSection{}});
  exercise->Configure(2, 100);
  Begin();
  RunToEnd([&] { RunUntil([&] { return exercise->GetState() != ES_AWAITING_ANSWER; }); });
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 4);
  EXPECT_EQ(exercise->GetState(), ES_FINISHED);
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_STOPPED);
  EXPECT_EQ(notices.Count("answer wrong kind 0"), 4);
  const Strings seen = notices.TakeWithoutTicks();
  ASSERT_GE(seen.size(), 4u);
  EXPECT_EQ(Strings(seen.end() - 4, seen.end()),
            (Strings{"answer wrong kind 0", "state 1", "state 4", "playback 0"}));
  EXPECT_FALSE(exercise->Pause(true));
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_STOPPED);
}

TEST_F(ExerciseFlowTest, SectionChosenAfterTheLastTimeOutAsksAgain) {
  Make({TestSection{}, TestSection{}});
  exercise->Configure(1, 100);
  Begin();
  RunToEnd([&] { RunUntil([&] { return exercise->GetState() != ES_AWAITING_ANSWER; }); });
  ASSERT_EQ(exercise->GetState(), ES_FINISHED);
  // The timeline stands at 0 again after its end, yet the exercise is still in its last section.
  exercise->BeginSeek();
  exercise->MoveToSection(0);
  exercise->EndSeek();
  EXPECT_EQ(exercise->GetState(), ES_READY);
  exercise->NextQuestion();
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(exercise->GetCurrentSection(), 0u);
}

// The timer thread hands a tick to the exercise once the timeline's own lock is free; that notice
// may then wait for the lesson lock while the screen ends the question and asks the next. The
// late tick (a plain one, or the one that ended the last question's time on the slot where the
// next now waits) belongs to a question that is over: the next keeps its whole time.
TEST_F(ExerciseFlowTest, ALateTickLeavesTheNextQuestionItsWholeTime) {
  struct Case {
    int answerAfterTicks;
    int lateTick;
  };
  for (const Case& c : {Case{5, 5}, Case{19, 20}}) {
    TearDown();
    notices.Take();
    Make({TestSection{}});
    exercise->Configure(5, 1000);  // twenty ticks per question
    Begin();
    const Core::TimeLine& timeline = exercise->GetTimeline();
    ASSERT_TRUE(RunUntil([&] { return timeline.GetPosition() == c.answerAfterTicks; }));
    exercise->ProvideAnswer(Variant(2));
    exercise->NextQuestion();
    ASSERT_EQ(timeline.GetPosition(), 20);
    exercise->OnTimeLinePositionChanged(c.lateTick);
    EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER) << c.lateTick;
    EXPECT_EQ(notices.Count("answer wrong kind 0"), 0) << c.lateTick;
    ASSERT_TRUE(RunUntil([&] { return notices.Count("answer wrong kind 0") == 1; }));
    EXPECT_EQ(timeline.GetPosition(), 40) << c.lateTick;
  }
}

// However the question falls between the timer's passes, its time runs out no earlier than
// its whole time after it was asked.
TEST_F(ExerciseFlowTest, ATimedQuestionHasItsWholeTime) {
  Make({TestSection{}});
  exercise->Configure(5, 1000);  // twenty ticks of 50 ms per question
  timer.Advance(1237);
  Begin();
  for (int question = 0; question < 2; ++question) {
    timer.Run(995);
    EXPECT_EQ(notices.Count("answer wrong kind 0"), question) << question;
    timer.Run(5);
    EXPECT_EQ(notices.Count("answer wrong kind 0"), question + 1) << question;
    ASSERT_EQ(exercise->GetState(), ES_READY);
    timer.Advance(23);
    exercise->NextQuestion();
  }
}

TEST_F(ExerciseFlowTest, ResumePositionOutsideTheTimelineStartsAtTheBeginning) {
  Make({TestSection{}, TestSection{}});
  exercise->Configure(2, 100);
  for (int stored : {-7, 1000}) {
    exercise->SetPosition(stored);
    EXPECT_EQ(exercise->GetTimeline().GetPosition(), 0);
    EXPECT_EQ(exercise->GetCurrentSection(), 0u);
    EXPECT_EQ(exercise->GetState(), ES_READY);
  }
  Begin();
  RunToEnd([&] { exercise->ProvideAnswer(Variant(2)); });
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 4);
}

TEST_F(ExerciseFlowTest, TimedSectionsAskTheirCountEvenWhenEveryAnswerComesAtOnce) {
  Make({TestSection{}, TestSection{}});
  exercise->Configure(3, 100);
  Begin();
  RunToEnd([&] { exercise->ProvideAnswer(Variant(2)); });
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 6);
  EXPECT_EQ(exercise->GetState(), ES_FINISHED);
  EXPECT_EQ(exercise->GetProgress().RightAnswers, 6);
  EXPECT_EQ(exercise->GetTimeline().GetPosition(), exercise->GetTimeline().GetTotalDuration() - 1);
  // The last answer is told first, then the end, then the stopped playback.
  const Strings seen = notices.TakeWithoutTicks();
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(Strings(seen.end() - 3, seen.end()),
            (Strings{"answer right kind 4", "state 4", "playback 0"}));
}

TEST_F(ExerciseFlowTest, UntimedSectionAsksExactlyItsCountHoweverSlowAndThenStops) {
  TestSection played;
  played.questionType = Core::QT_NOTE;
  Make({played, played});
  exercise->ConfigureSection(0, 3, 0);
  exercise->ConfigureSection(1, 0, 0);
  Begin();
  RunToEnd([&] {
    timer.Run(2000);  // far longer than a slot
    exercise->ProvideAnswer(Variant(1));
  });
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 3);
  EXPECT_EQ(exercise->GetState(), ES_STOPPED);
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_STOPPED);
  EXPECT_EQ(notices.Count("answer wrong kind 4"), 3);
}

TEST_F(ExerciseFlowTest, UntimedTimeAllowanceBelowOneTickWaitsForTheAnswer) {
  Make({TestSection{}});
  exercise->Configure(2, 30);
  Begin();
  timer.Run(5000);
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(0), 20);
  RunToEnd([&] { exercise->ProvideAnswer(Variant(2)); });
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 2);
  EXPECT_EQ(exercise->GetState(), ES_STOPPED);
}

TEST_F(ExerciseFlowTest, TimePerQuestionSetsTheTicksOfASection) {
  Make({TestSection{}, TestSection{}, TestSection{}});
  // Until the trainer's settings arrive: 15 questions of 5 s.
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(2), 1500);
  exercise->Configure(3, 5000);
  exercise->ConfigureSection(1, 3, 75);
  exercise->ConfigureSection(2, 3, -30);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(0), 300);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(1), 3);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(2), 30);
}

TEST_F(ExerciseFlowTest, NewSettingsReplaceTheWaitingQuestion) {
  Make({TestSection{}});
  exercise->Configure(3, 1000);
  Begin();
  timer.Run(200);
  exercise->Configure(3, 2000);
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 2);
  EXPECT_EQ(exercise->GetProgress().Answered, 0);
  EXPECT_EQ(exercise->GetTimeline().GetPosition(), 0);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(0), 120);
}

TEST_F(ExerciseFlowTest, ResumedLessonCountsTheStoredAnswers) {
  Make({TestSection{}});
  AttachStatistics();
  Core::ExStat right{4, 0, 0, 3, 0};
  Core::ExStat wrong{5, 0, 0, 0, 2};
  Core::ExStat otherExercise{4, 1, 0, 7, 7};
  for (const Core::ExStat& record : {right, wrong, otherExercise}) statistics->AddEntry(record);
  statistics->Save();
  exercise->LoadLocalStats();
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 5);
  EXPECT_EQ(exercise->GetProgress().RightAnswers, 3);
  EXPECT_EQ(exercise->GetProgress().Answered, 5);
  exercise->ClearLocalStats();
  std::vector<Core::ExStat> records;
  statistics->GetLocalSummary(0, records);
  EXPECT_TRUE(records.empty());
  statistics->GetLocalSummary(1, records);
  EXPECT_EQ(records.size(), 1u);

  // Counts at the top of the range (a recovered file may hold them) add up to the top, not past it.
  statistics->AddEntry({6, 0, 0, INT_MAX, 0});
  statistics->AddEntry({7, 0, 0, INT_MAX, 1});
  statistics->Save();
  exercise->LoadLocalStats();
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, INT_MAX);
  EXPECT_EQ(exercise->GetProgress().RightAnswers, INT_MAX);
}

TEST_F(ExerciseFlowTest, SectionsAreEnteredInOrderSkippingEmptyOnes) {
  Make({TestSection{}, TestSection{}, TestSection{}});
  exercise->Configure(1, 100);
  exercise->ConfigureSection(1, 0, 100);
  EXPECT_EQ(exercise->GetTimeline().GetSectionDuration(1), 0);
  Begin();
  exercise->ProvideAnswer(Variant(2));
  notices.Take();
  exercise->NextQuestion();
  EXPECT_EQ(notices.Take(), (Strings{"section 2", "state 3"}));
  EXPECT_EQ(exercise->GetCurrentSection(), 2u);
  EXPECT_EQ(exercise->GetProgress().SectionAsked, 1);
  EXPECT_EQ(exercise->GetCurrentQuestion().VariantData[2].Id, 22);
}

TEST_F(ExerciseFlowTest, TimedSectionAfterAnUntimedOneTimesItsFirstQuestion) {
  Make({TestSection{}, TestSection{}});
  exercise->ConfigureSection(0, 1, 0);
  exercise->ConfigureSection(1, 1, 100);
  Begin();
  exercise->ProvideAnswer(Variant(2));
  exercise->NextQuestion();
  ASSERT_EQ(exercise->GetCurrentSection(), 1u);
  ASSERT_TRUE(RunUntilState(ES_FINISHED));
  EXPECT_EQ(notices.Count("answer wrong kind 0"), 1);
}

TEST_F(ExerciseFlowTest, PlayedQuestionAwaitsItsAnswerOnceThePlayerIsDone) {
  TestSection played;
  played.questionType = Core::QT_EAR;
  Make({played});
  exercise->Configure(2, 5000, 21);
  const QVector<Core::MidiEvent> poolEvents = exercise->PoolStream(0)->GetEvents();
  Begin();
  EXPECT_EQ(exercise->GetState(), ES_PLAYING);
  EXPECT_EQ(exercise->GetTimeline().GetPosition(), 1);  // played questions start a tick late
  ASSERT_TRUE(RunUntilState(ES_AWAITING_ANSWER));
  EXPECT_TRUE(exercise->GetTimeline().IsRunning());
  // The program change went into a copy; the shared pool stream is as it was built.
  EXPECT_EQ(exercise->PoolStream(0)->GetEvents().size(), poolEvents.size());
  EXPECT_FALSE(exercise->PoolStream(0)->GetEvents().first().GetMessage().GetCommand() ==
               Core::MidiProgramChange);
  exercise->OnPlaybackComplete();  // a late repeat of the notice changes nothing
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
}

TEST_F(ExerciseFlowTest, AnswerWhilePlayingIsJudgedAndEndsThePlayback) {
  TestSection played;
  played.questionType = Core::QT_NOTE;
  Make({played});
  exercise->Configure(2, 5000);
  Begin();
  ASSERT_EQ(exercise->GetState(), ES_PLAYING);
  exercise->ProvideAnswer(Variant(2));
  EXPECT_EQ(exercise->GetState(), ES_READY);
  notices.Take();
  timer.Run(1000);  // no playback-complete notice turns the finished question into state 3
  EXPECT_EQ(exercise->GetState(), ES_READY);
  EXPECT_EQ(notices.Count("state 3"), 0);
}

// A pause can come while the timer thread's notice of a question boundary, or the player's of
// its end, waits for the exercise: the notice then decides nothing. A time-out judged behind the
// Play overlay would count a wrong answer whose verdict play takes away unseen.
TEST_F(ExerciseFlowTest, NoticesThatWaitedBehindAPauseDecideNothing) {
  Make({TestSection{}});
  exercise->Configure(5, 1000);  // twenty ticks per question
  Begin();
  Core::TimeLine& timeline = exercise->GetTimeline();
  ASSERT_TRUE(RunUntil([&] { return timeline.GetPosition() == 19; }));
  exercise->Pause(true);
  timeline.SetPosition(20);  // the tick the timer thread had made before the pause
  exercise->OnTimeLinePositionChanged(20);
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(notices.Count("answer wrong kind 0"), 0);

  TearDown();
  TestSection played;
  played.questionType = Core::QT_EAR;
  Make({played});
  exercise->Configure(5, 1000);
  Begin();
  ASSERT_EQ(exercise->GetState(), ES_PLAYING);
  exercise->Pause(true);
  exercise->OnPlaybackComplete();
  EXPECT_FALSE(exercise->GetTimeline().IsRunning());
  timer.Run(5000);
  EXPECT_EQ(notices.Count("answer wrong kind 0"), 0);
}

TEST_F(ExerciseFlowTest, KeyAnswersAreJudgedAtEveryNoteUntilCompleteOrWrong) {
  TestSection chord;
  chord.notes = {60, 64, 67};
  Make({chord});
  exercise->Configure(3, 0);
  AttachStatistics();
  Begin();
  notices.Take();
  exercise->ExternalMidiEvent(NoteOn(67));
  exercise->ExternalMidiEvent(NoteOff(67));
  exercise->ExternalMidiEvent(NoteOn(64, 0));  // a zero-velocity note-on releases the key
  exercise->ExternalMidiEvent(NoteOn(64));
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(notices.Take(), (Strings{"note on 67", "note off 67", "note off 64", "note on 64"}));
  exercise->ExternalMidiEvent(NoteOn(60));
  EXPECT_EQ(notices.Take(), (Strings{"answer right kind 1", "state 1", "note on 60"}));

  exercise->NextQuestion();
  exercise->ExternalMidiEvent(NoteOn(64));
  exercise->ExternalMidiEvent(NoteOn(61));
  EXPECT_EQ(notices.Count("answer wrong kind 1"), 1);
  // The notes of the judged answer do not count for the next question.
  exercise->NextQuestion();
  exercise->ExternalMidiEvent(NoteOn(60));
  exercise->ExternalMidiEvent(NoteOn(64));
  exercise->ExternalMidiEvent(NoteOn(67));
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
  EXPECT_EQ(exercise->GetProgress().RightAnswers, 2);
  EXPECT_EQ(exercise->GetProgress().Answered, 3);

  std::vector<Core::ExStat> records;
  statistics->GetLocalSummary(0, 0, records);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].Correct, 2);
  EXPECT_EQ(records[0].Wrong, 1);
}

// Notes that must come in order count in the order they were played, also when a key of the
// on-screen piano, which has no time of its own, follows notes of the keyboard.
TEST_F(ExerciseFlowTest, NotesInOrderCountAsPlayedWhateverTheirTimes) {
  TestSection scale;
  scale.notes = {60, 62, 64};
  scale.answerMethods = Core::AM_NOTES | Core::AM_IN_ORDER;
  Make({scale});
  exercise->Configure(2, 0);
  Begin();
  for (const auto& [note, seconds] : {std::pair{60, 2.0}, {62, 2.5}, {64, -1.0}})
    exercise->ExternalMidiEvent(
        Core::MidiEvent(Core::MidiMessage(Core::MidiNoteOn, 0, note, 96), 0, seconds));
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
}

TEST_F(ExerciseFlowTest, KeysOutsideTheAnswerWaitAreNotKeptForTheNextQuestion) {
  TestSection chord;
  chord.notes = {60, 64};
  Make({chord});
  exercise->Configure(3, 0);
  exercise->ExternalMidiEvent(NoteOn(60));  // before the exercise starts
  Begin();
  exercise->ExternalMidiEvent(NoteOn(64));
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  exercise->ExternalMidiEvent(NoteOn(60));
  EXPECT_EQ(notices.Count("answer right kind 1"), 1);
}

TEST_F(ExerciseFlowTest, KeysPlayedToAPictureQuestionAreWrong) {
  TestSection picture;
  picture.questionType = Core::QT_SYMBOL;
  picture.answerMethods = Core::AM_VARIANT;
  picture.notes = {};
  Make({picture});
  exercise->Configure(2, 0);
  Begin();
  exercise->ExternalMidiEvent(NoteOn(60));
  EXPECT_EQ(notices.Count("answer wrong kind 1"), 1);
  EXPECT_EQ(exercise->GetState(), ES_READY);
  std::string rmn;
  std::vector<Core::NoteWAnalysis> analysis;
  int highlight = -1;
  exercise->AnalyseAnswer(exercise->GetCurrentQuestion(), Variant(3), rmn, analysis, false,
                          highlight);
  EXPECT_TRUE(analysis.empty());
}

TEST_F(ExerciseFlowTest, AnswersOutsideAQuestionAndWithoutMethodsAreHandledSafely) {
  TestSection nothing;
  nothing.answerMethods = 0;
  Make({nothing});
  exercise->Configure(2, 0);
  exercise->ProvideAnswer(Variant(2));  // no question yet
  EXPECT_EQ(notices.Count("answer right kind 4"), 0);
  Begin();
  exercise->ProvideAnswer(Variant(2));
  EXPECT_EQ(notices.Count("answer wrong kind 4"), 1);
  exercise->ProvideAnswer(Variant(2));  // already judged
  EXPECT_EQ(exercise->GetProgress().Answered, 1);
}

TEST_F(ExerciseFlowTest, AbortedQuestionIsReplacedInItsOwnSlotWithoutBeingCounted) {
  Make({TestSection{}});
  exercise->Configure(2, 1000);
  Begin();
  timer.Run(300);
  const int slotStart = 0;
  EXPECT_TRUE(exercise->Pause(true));
  EXPECT_FALSE(exercise->Pause(true));
  EXPECT_TRUE(exercise->Pause(false));
  exercise->AbortQuestion();
  EXPECT_EQ(exercise->GetState(), ES_AWAITING_ANSWER);
  EXPECT_EQ(exercise->GetTimeline().GetPosition(), slotStart);
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 2);
  EXPECT_EQ(exercise->GetProgress().Answered, 0);
}

TEST_F(ExerciseFlowTest, NextQuestionOutsideTheReadyStateIsRefused) {
  Make({TestSection{}});
  exercise->Configure(2, 0);
  Begin();
  EXPECT_DEATH(exercise->NextQuestion(), "GetState\\(\\) == ES_READY");
}

TEST_F(ExerciseFlowTest, ResetRebuildsTheExerciseAtItsStart) {
  Make({TestSection{}, TestSection{}});
  exercise->Configure(1, 100);
  Begin();
  exercise->ProvideAnswer(Variant(2));
  exercise->NextQuestion();
  exercise->Reset();
  EXPECT_EQ(exercise->GetState(), ES_READY);
  EXPECT_EQ(exercise->GetCurrentSection(), 0u);
  EXPECT_EQ(exercise->GetProgress().QuestionsAsked, 0);
  EXPECT_EQ(exercise->GetCurrentQuestion().VariantData.size(), 0u);
  EXPECT_EQ(exercise->GetTimeline().GetSectionCount(), 2u);
  EXPECT_EQ(exercise->GetTimeline().GetTotalDuration(), 4);
  EXPECT_EQ(exercise->GetPlaybackState(), Core::PS_STOPPED);
}

TEST_F(ExerciseFlowTest, FailingSaveAtDestructionIsReportedNotThrown) {
  Make({TestSection{}});
  // A folder where the files should be: they cannot be written.
  statistics = std::make_shared<Core::ExerciseStatistics>(env.Root(), env.Root());
  exercise->SetStatistics(statistics, 0);
  exercise->Configure(1, 0);
  Begin();
  exercise->ProvideAnswer(Variant(2));
  testing::internal::CaptureStderr();
  notices.Detach(*exercise);
  exercise.reset();
  EXPECT_NE(testing::internal::GetCapturedStderr().find("statistics could not be saved"),
            std::string::npos);
}

}  // namespace
