#include <gtest/gtest.h>

#include <cstdlib>

#include "fn_validator.h"
#include "src/core/exercise/questions/question_choice.h"

namespace Core {
namespace {

// Stands in for the statistics database: hands out the lesson's records of one section.
struct FakeStatistics {
  void GetLocalSummary(int exerciseId, int section, std::vector<ExStat>& out) {
    ++calls;
    askedExercise = exerciseId;
    askedSection = section;
    for (const ExStat& record : records)
      if (record.ExerciseId == exerciseId && record.SectionIndex == section) out.push_back(record);
  }
  std::vector<ExStat> records;
  int calls = 0;
  int askedExercise = -1;
  int askedSection = -1;
};

TEST(QuestionChoice, WeightsByTheLessonsRecordsOfTheSection) {
  // Only ids 1 and 8 are allowed; the records make id 8 four times as likely, whatever their
  // order, and records of other sections are ignored.
  const AllowedIds two = AllowedBy(10, [](unsigned long id) { return id == 1 || id == 8; });
  FakeStatistics statistics;
  statistics.records = {{8, 1, 3, 0, 4}, {1, 1, 3, 5, 0}, {1, 1, 2, 0, 9}, {8, 0, 3, 9, 0}};
  std::srand(21);
  int eights = 0, last = -1;
  const int rounds = 2000;
  for (int round = 0; round < rounds; ++round) {
    std::vector<int> ids;
    last = -1;  // let every round pick freely
    const int position = GenerateQuestionData(two, ids, nullptr, true, &statistics, 1, 3, last);
    if (ids[static_cast<std::size_t>(position)] == 8) ++eights;
  }
  EXPECT_EQ(statistics.calls, rounds);
  EXPECT_EQ(statistics.askedExercise, 1);
  EXPECT_EQ(statistics.askedSection, 3);
  EXPECT_NEAR(static_cast<double>(eights) / rounds, 0.8, 0.04);

  // Without weighting, or without a database, nothing is read.
  std::vector<int> ids;
  GenerateQuestionData(two, ids, nullptr, false, &statistics, 1, 3, last);
  GenerateQuestionData<FakeStatistics>(two, ids, nullptr, true, nullptr, 1, 3, last);
  EXPECT_EQ(statistics.calls, rounds);
}

TEST(QuestionChoice, TheSameQuestionIsNotAskedTwiceInARow) {
  const AllowedIds two = AllowedBy(20, [](unsigned long id) { return id == 3 || id == 4; });
  std::srand(8);
  int last = -1;
  std::vector<int> ids;
  int previous = -1;
  for (int round = 0; round < 200; ++round) {
    const int position = GenerateQuestionData(two, ids, nullptr, nullptr, last);
    const int question = ids[static_cast<std::size_t>(position)];
    EXPECT_EQ(last, question);
    EXPECT_NE(question, previous);
    EXPECT_EQ(ids.size(), 6u);
    previous = question;
  }
  // An only question is asked again after ten attempts.
  last = 6;
  const int position = GenerateQuestionData(AllowedBy(20, [](unsigned long id) { return id == 6; }),
                                            ids, nullptr, nullptr, last);
  EXPECT_EQ(ids[static_cast<std::size_t>(position)], 6);
}

std::shared_ptr<MidiStream> Arpeggio(const std::vector<unsigned char>& notes) {
  auto stream = std::make_shared<MidiStream>();
  double time = 0.0;
  for (unsigned char note : notes) {
    stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOn, 0, note, 96), 0, time));
    stream->AddEvent(MidiEvent(MidiMessage(MidiNoteOff, 0, note, 96), 0, time + 0.5));
    time += 0.5;
  }
  return stream;
}

// The chord plays in time order: its strikes together first, then its releases together; other
// events keep their times and fall in between.
TEST(MakeSimultaneous, AnArpeggioBecomesOneChord) {
  QuestionData variant;
  variant.Stream = Arpeggio({60, 64, 67});
  variant.Stream->InsertEvent(0, MidiEvent(MidiMessage(MidiProgramChange, 0, 5), 7, 0.25));
  const std::shared_ptr<MidiStream> original = variant.Stream;

  MakeSimultaneous(variant, 1.0);
  ASSERT_NE(variant.Stream, original);
  EXPECT_EQ(original->GetEvents().size(), 7) << "the shared original is not touched";
  const struct {
    unsigned char command, first;
    unsigned int pulses;
    double seconds;
  } expected[] = {{MidiNoteOn, 60, 0, 0.0},  {MidiNoteOn, 64, 0, 0.0},
                  {MidiNoteOn, 67, 0, 0.0},  {MidiProgramChange, 5, 7, 0.25},
                  {MidiNoteOff, 60, 0, 1.0}, {MidiNoteOff, 64, 0, 1.0},
                  {MidiNoteOff, 67, 0, 1.0}};
  const auto& events = variant.Stream->GetEvents();
  ASSERT_EQ(events.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const MidiEvent& event = events[static_cast<qsizetype>(i)];
    EXPECT_EQ(event.GetMessage().GetCommand(), expected[i].command) << i;
    EXPECT_EQ(event.GetMessage().GetByte(1), expected[i].first) << i;
    EXPECT_EQ(event.GetTimePulses(), expected[i].pulses) << i;
    EXPECT_DOUBLE_EQ(event.GetTime(), expected[i].seconds) << i;
  }
}

TEST(MakeSimultaneous, ARepeatedNoteKeepsItsTiming) {
  QuestionData variant;
  variant.Stream = Arpeggio({60, 60, 64});
  const std::shared_ptr<MidiStream> original = variant.Stream;
  MakeSimultaneous(variant, 1.0);
  EXPECT_EQ(variant.Stream, original);
  EXPECT_DOUBLE_EQ(variant.Stream->GetEvents()[2].GetTime(), 0.5);

  QuestionData silent;
  MakeSimultaneous(silent, 1.0);
  EXPECT_EQ(silent.Stream, nullptr);
}

}  // namespace
}  // namespace Core
