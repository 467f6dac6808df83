#pragma once

// Helpers shared by the exercise tests: an observer that records every notice as a line of text,
// and a small trainer whose sections, question kinds and answers the tests choose.

#include <QMutex>
#include <QMutexLocker>
#include <QString>

#include <condition_variable>
#include <mutex>

#include <memory>
#include <string>
#include <vector>

#include "src/core/exercise/exercise.h"
#include "src/core/midi/midi.h"
#include "src/core/midi/midi_device.h"
#include "support/patience.h"

namespace Testing {

// Records notices as "state 1", "tick", "playback 2", "answer right kind 4", "section 1",
// "note on 60", "note off 60". Thread-safe.
class NoticeRecorder : public Core::ExerciseObserver, public Core::LessonBaseObserver {
 public:
  void Attach(Core::Exercise& exercise) {
    exercise.Core::Subject<Core::LessonBaseObserver>::AddObserver(this);
    exercise.Core::Subject<Core::ExerciseObserver>::AddObserver(this);
  }
  void Detach(Core::Exercise& exercise) {
    exercise.Core::Subject<Core::LessonBaseObserver>::RemoveObserver(this);
    exercise.Core::Subject<Core::ExerciseObserver>::RemoveObserver(this);
  }

  void OnAnswerProvided(bool right, const Core::Answer& answer) override {
    Add(std::string("answer ") + (right ? "right" : "wrong") + " kind " +
        std::to_string(answer.Kind));
  }
  void OnSectionChanged(unsigned int section) override {
    Add("section " + std::to_string(section));
  }
  void OnNoteEvent(bool pressed, int note) override {
    Add(std::string("note ") + (pressed ? "on " : "off ") + std::to_string(note));
  }
  void OnStateChanged(unsigned int state) override { Add("state " + std::to_string(state)); }
  void OnTick() override { Add("tick"); }
  void OnPlaybackStateChanged(Core::PlaybackState state) override {
    Add("playback " + std::to_string(static_cast<unsigned int>(state)));
  }

  // Everything recorded so far; the record starts afresh.
  std::vector<std::string> Take() {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> taken;
    taken.swap(m_notices);
    return taken;
  }
  // Everything recorded so far except ticks.
  std::vector<std::string> TakeWithoutTicks();
  int Count(const std::string& notice) const;
  // Waits (for notices sent on other threads) until `notice` has been recorded `count` times.
  bool WaitForCount(const std::string& notice, int count, int milliseconds = PatienceMs);

 private:
  void Add(std::string notice) {
    {
      std::lock_guard lock(m_mutex);
      m_notices.push_back(std::move(notice));
    }
    m_added.notify_all();
  }

  // Standard types: ThreadSanitizer cannot see the distribution's QWaitCondition release a mutex.
  mutable std::mutex m_mutex;
  std::condition_variable m_added;
  std::vector<std::string> m_notices;
};

// An output device that keeps every message it is sent.
class OutputRecorder : public Core::MidiOutDevice {
 public:
  QString GetName() const override { return "recorder"; }
  void Reset() override {}
  void Stop() override {
    QMutexLocker lock(&m_mutex);
    ++m_stops;
  }
  void SendMessage(const Core::MidiMessage& message) override {
    QMutexLocker lock(&m_mutex);
    m_messages.push_back(message);
  }
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}

  std::vector<Core::MidiMessage> Messages() const {
    QMutexLocker lock(&m_mutex);
    return m_messages;
  }
  int Stops() const {
    QMutexLocker lock(&m_mutex);
    return m_stops;
  }

 private:
  mutable QMutex m_mutex;
  std::vector<Core::MidiMessage> m_messages;
  int m_stops = 0;
};

// An input device whose events the test hands in, on whatever thread calls it.
class KeyboardStub : public Core::MidiInDeviceBase {
 public:
  explicit KeyboardStub(QString name = "keys") : m_name(std::move(name)) {}
  QString GetName() const override { return m_name; }
  void Send(const Core::MidiEvent& event) { ProcessEvent(event); }
  void Press(int note);

 private:
  QString m_name;
};

// Sets the trainer state the program keeps from its first exercise to its end (the note
// trainer's clef turn, the ear trainer's tempo pool taken from the first tempo bank) back to how a
// new process starts, so that every test meets it as the first exercise of a run would.
void ResetProcessWideTrainerState();

// A multiple-choice answer.
Core::Answer VariantAnswer(unsigned long index);

// One section of the test trainer.
struct TestSection {
  unsigned int questionType = Core::QT_SILENT;
  unsigned int answerMethods = Core::AM_NOTES | Core::AM_VARIANT;
  // Notes of the correct variant (MIDI note numbers); empty gives the variants no stream.
  std::vector<int> notes = {60};
  unsigned long correctVariant = 2;
};

// A stream that strikes the notes together and releases them after `seconds`.
std::shared_ptr<Core::MidiStream> ChordStream(const std::vector<int>& notes, double seconds);
Core::MidiEvent NoteOn(int note, int velocity = 96);
Core::MidiEvent NoteOff(int note);

// A trainer whose every section asks the same kind of question. Variant i of section s has the
// id 10 * s + i and plays note 40 + i, except the correct variant, which plays the section's
// notes. The pool stream of the correct variant is shared by every question of the section, like
// the process-wide pools of the real trainers.
class TestTrainer : public Core::Exercise {
 public:
  explicit TestTrainer(std::vector<TestSection> sections);
  ~TestTrainer() override;

  // The shared pool stream of a section's correct variant.
  std::shared_ptr<Core::MidiStream> PoolStream(unsigned long section) const {
    return m_streams[section];
  }
  // The exercise's own lock, for tests that hold it from a thread of theirs as a busy screen or
  // timer would.
  Core::LessonMutexType& LessonLock() const { return LessonMutex(); }
  // Sets every section's question count and time per question, and the instrument.
  void Configure(unsigned int questions, int milliseconds, unsigned char instrument = 0);
  void ConfigureSection(unsigned long section, unsigned int questions, int milliseconds);

 protected:
  void DoCreateSections(std::vector<SectionInfo>& sections) override;
  void DoCreateQuestionPool(unsigned long section, std::vector<Core::Question>& pool) override;
  void DoPrepareQuestion(unsigned long section, Core::Question& question) override;

 private:
  std::vector<TestSection> m_sectionKinds;
  std::vector<std::shared_ptr<Core::MidiStream>> m_streams;
};

}  // namespace Testing
