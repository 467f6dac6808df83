#include "exercise_test_support.h"

#include <algorithm>
#include <chrono>

#include "src/core/exercise/ear_trainer.h"
#include "src/core/exercise/note_trainer.h"

namespace Testing {

std::vector<std::string> NoticeRecorder::TakeWithoutTicks() {
  std::vector<std::string> notices = Take();
  notices.erase(std::remove(notices.begin(), notices.end(), "tick"), notices.end());
  return notices;
}

int NoticeRecorder::Count(const std::string& notice) const {
  std::lock_guard lock(m_mutex);
  return static_cast<int>(std::count(m_notices.begin(), m_notices.end(), notice));
}

bool NoticeRecorder::WaitForCount(const std::string& notice, int count, int milliseconds) {
  std::unique_lock lock(m_mutex);
  return m_added.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] {
    return std::count(m_notices.begin(), m_notices.end(), notice) >= count;
  });
}

void ResetProcessWideTrainerState() {
  Core::PrevGKey = false;
  Core::EarTrainer::Tempos.clear();
}

Core::MidiEvent NoteOn(int note, int velocity) {
  return Core::MidiEvent(Core::MidiMessage(Core::MidiNoteOn, 0, static_cast<unsigned char>(note),
                                           static_cast<unsigned char>(velocity)),
                         0, 0.0);
}

Core::MidiEvent NoteOff(int note) {
  return Core::MidiEvent(
      Core::MidiMessage(Core::MidiNoteOff, 0, static_cast<unsigned char>(note), 0), 0, 0.0);
}

void KeyboardStub::Press(int note) {
  ProcessEvent(NoteOn(note));
}

Core::Answer VariantAnswer(unsigned long index) {
  Core::Answer answer;
  answer.Kind = Core::AK_VARIANT;
  answer.ChosenVariant = index;
  return answer;
}

std::shared_ptr<Core::MidiStream> ChordStream(const std::vector<int>& notes, double seconds) {
  auto stream = std::make_shared<Core::MidiStream>();
  for (int note : notes) stream->AddEvent(NoteOn(note));
  for (int note : notes) {
    Core::MidiEvent off = NoteOff(note);
    stream->AddEvent(Core::MidiEvent(off.GetMessage(), 0, seconds));
  }
  return stream;
}

TestTrainer::TestTrainer(std::vector<TestSection> sections) : m_sectionKinds(std::move(sections)) {
  for (const TestSection& section : m_sectionKinds)
    m_streams.push_back(section.notes.empty() ? nullptr : ChordStream(section.notes, 0.1));
  Reset();
}

TestTrainer::~TestTrainer() {
  ShutdownExercise();
}

void TestTrainer::Configure(unsigned int questions, int milliseconds, unsigned char instrument) {
  Core::ExerciseCommonSettings settings;
  settings.Sections.assign(m_sectionKinds.size(), {questions, milliseconds});
  settings.Instrument = instrument;
  SetCommonSettings(settings);
}

void TestTrainer::ConfigureSection(unsigned long section, unsigned int questions,
                                   int milliseconds) {
  Core::ExerciseCommonSettings settings = GetCommonSettings();
  settings.Sections[section] = {questions, milliseconds};
  SetCommonSettings(settings);
}

void TestTrainer::DoCreateSections(std::vector<SectionInfo>& sections) {
  for (std::size_t i = 0; i < m_sectionKinds.size(); ++i)
    sections.push_back({QString("Section %1").arg(i), QString()});
}

void TestTrainer::DoCreateQuestionPool(unsigned long, std::vector<Core::Question>& pool) {
  pool.emplace_back();
}

void TestTrainer::DoPrepareQuestion(unsigned long section, Core::Question& question) {
  const TestSection& kind = m_sectionKinds[section];
  question.Type = kind.questionType;
  question.AnswerMethods = kind.answerMethods;
  question.CorrectVariant = kind.correctVariant;
  for (unsigned long i = 0; i < 6; ++i) {
    Core::QuestionData variant;
    variant.Id = static_cast<int>(10 * section + i);
    variant.Text = QString("Variant %1").arg(i);
    if (m_streams[section])
      variant.Stream = i == kind.correctVariant ? m_streams[section]
                                                : ChordStream({40 + static_cast<int>(i)}, 0.1);
    question.VariantData.push_back(variant);
  }
}

}  // namespace Testing
