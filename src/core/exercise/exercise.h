#pragma once

// One running exercise of a trainer: it builds the sections and their question pools, asks one
// question after another, plays a question on the output device when its kind asks for it, waits
// for the answer, judges it, counts it, records it in the statistics, tells its observers and
// moves on. Sections are timed (the timeline ends an unanswered question as wrong) or untimed
// (the timeline waits at each question slot). The trainers supply sections, pools and the
// preparation of each question.
//
// Threads: the GUI thread calls every operation of the screen; the timer thread delivers timeline
// ticks and the question player's playback-complete notice; the input device's delivering thread
// hands over keys through the answer listener (never the MIDI driver's own thread, which must not
// wait for the lesson lock). All of them meet under the lesson lock (recursive). Notices go out
// with the lesson lock held (OnTick alone without it) and never with a timeline or player lock
// held, so an observer on the GUI thread may call back into the exercise.
//
// Lock order: the timer's lock, the lesson lock, the timeline's or the player's own lock, the
// statistics lock, the subjects' list locks. Timelines and players register with the timer when
// built and unregister when released; that never happens under the lesson lock.

#include <QString>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "src/core/exercise/lesson_base.h"
#include "src/core/exercise/records/answer.h"
#include "src/core/exercise/records/ex_stat.h"
#include "src/core/exercise/records/exercise_state.h"
#include "src/core/exercise/records/note_analysis.h"
#include "src/core/exercise/records/question.h"
#include "src/core/midi/midi.h"
#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"

namespace Core {

struct ExerciseDuration;
class AllowedIds;
class ExerciseStatistics;
class MidiAnswerListener;
class MidiBank;
class MidiDeviceConnector;
class MidiInStreamDeviceAuto;
class MidiOutDevice;
class QVariantProvider;
class SettingsManager;

class ExerciseObserver {
 public:
  virtual ~ExerciseObserver() = default;
  virtual void OnAnswerProvided(bool right, const Answer& answer) = 0;
  virtual void OnSectionChanged(unsigned int section) = 0;
  // A key went down (pressed) or up, as a MIDI note number.
  virtual void OnNoteEvent(bool pressed, int note) = 0;
};

struct ExerciseSectionCommonSettings {
  unsigned int QuestionCount = 15;  // 0 skips the section
  int TimePerQuestion = 5000;       // ms; -49..49 is untimed
};

struct ExerciseCommonSettings {
  std::vector<ExerciseSectionCommonSettings> Sections;
  // Index into the playback instrument list; the question is played with that entry's program.
  unsigned char Instrument = 0;
};

class Exercise : public LessonBase,
                 public Subject<ExerciseObserver>,
                 public MidiInStreamDeviceObserver {
 public:
  using SectionInfo = Core::SectionInfo;

  // Ticks of the exercise's timeline, and the slot of an untimed question, in ticks.
  static constexpr int TickMs = 50;
  static constexpr int UntimedSlotTicks = 10;

  Exercise();
  // Unregisters the timeline and the question player from the timer first, then saves the
  // statistics; a failing save is reported, not thrown.
  ~Exercise() override;

  // Timeline notices (timer thread).
  void OnTimeLinePositionChanged(int position) override;
  void OnTimeLineSectionChanged(unsigned long previous, unsigned long current) override;
  // Question player notice (timer thread).
  void OnPlaybackComplete() override;

  // Builds sections, pools, timeline and question player: state ES_READY, playback stopped.
  // Not to be called with the lesson lock held.
  void Reset() override;
  void SetSoundController(std::shared_ptr<SoundController> controller) override;
  void SetPosition(int position) override;
  // Sets the playback state only; the question flow starts the timeline.
  void Start() override;
  // Refused (false) once the exercise has finished; a change of the paused condition silences
  // the question being played.
  bool Pause(bool pause) override;
  void StopInternal(bool immediately) override;
  void SeekSection(unsigned long section, int sectionPosition) override;
  void SwitchToSection(unsigned long section) override;

  // 0 keys only, 1 multiple choice only, 2 either.
  virtual unsigned int GetSupportedAnswerMethods(const Question& question);
  virtual bool CanUseMidiIn();
  // Statistics views: the piano key a question id stands for, or -1 (all bits set).
  virtual unsigned int GetNoteById(int section, int id);
  virtual QString GetQuestionTextById(int section, int id);
  virtual bool CompareQuestionGroup(int section, int id1, int id2);
  virtual QString GetGroupTextById(int section, int id);
  virtual void GetQuestionGroups(int section, std::vector<int>& groups);
  // The answer score: RMN text, analysed notes and the first-wrong index (left as given when
  // there is none). Nothing here; the trainers analyse.
  virtual void GetRazidAnswer(unsigned long section, const Question& question, const Answer& answer,
                              std::string& rmn, std::vector<NoteWAnalysis>& notes, int& highlight);
  // Reads the settings manager and hands the section settings over; nothing here.
  virtual void ApplySettings();
  virtual void AnalyseAnswer(const Question& question, const Answer& answer, std::string& rmn,
                             std::vector<NoteWAnalysis>& notes, bool sequence, int& firstWrong);

  // Set by the screen before Reset; the ear trainer's tempo questions play its pieces.
  std::shared_ptr<MidiBank> TempoBank;

  void SetQuizMode(bool quiz);
  bool IsQuizMode() const;
  void SetSettings(const SettingsManager* settings);
  const ExerciseCommonSettings& GetCommonSettings() const;
  void SetCommonSettings(const ExerciseCommonSettings& settings);

  // Only in ES_READY.
  void NextQuestion();
  // Ignored unless a question is playing or awaiting its answer.
  void ProvideAnswer(const Answer& answer);
  // A key of the on-screen piano; handled like a key of the MIDI keyboard.
  void ExternalMidiEvent(const MidiEvent& event);
  // A key of the MIDI keyboard, from the answer listener on the input device's delivering thread.
  void InternalMidiEvent(const MidiEvent& event);
  // Ends the current question unanswered and, when playing, asks the next.
  void AbortQuestion();
  void MoveToSection(int section);

  ExerciseState GetState() const;
  unsigned long GetCurrentSection() const;
  // The last question asked in the current section, else an empty question.
  const Question& GetCurrentQuestion() const;
  // A copy taken under the lesson lock: answers change the counters on the MIDI and timer
  // threads while the screen reads them.
  ExerciseProgress GetProgress() const;

  void GetStatistics(int section, std::vector<ExStat>& records);
  void SetGlobalStatistics(bool global);
  bool IsGlobalStatistics() const;
  void ClearGlobalStatistics();
  void ClearLocalStats();
  void LoadLocalStats();
  void SetStatistics(std::shared_ptr<ExerciseStatistics> statistics, int exerciseId);

  // The verdict ProvideAnswer would give, without side effects: 1 right, 0 wrong, negative when
  // the notes are right so far but incomplete.
  int CheckAnswer(const Question& question, const Answer& answer) const;
  // Writes the statistics record of a judged answer.
  void AddStats(const Question& question, const Answer& answer, bool right);
  int CompareChords(const MidiStream& expected, const MidiStream& played, bool ordered,
                    bool anyOctave) const;

 protected:
  // Trainers call this first in their destructors, so that no timer or MIDI notice reaches an
  // object that is half destroyed.
  void ShutdownExercise() { Shutdown(); }

  virtual void DoCreateSections(std::vector<SectionInfo>& sections) = 0;
  virtual void DoCreateQuestionPool(unsigned long section, std::vector<Question>& pool) = 0;
  // Turns a pool entry into an asked question with six variants.
  virtual void DoPrepareQuestion(unsigned long section, Question& question) = 0;

  // Six variant ids into a pool, the question among the `allowed` ids; returns the correct one's
  // position.
  int GenerateQuestionData(const AllowedIds& allowed, std::vector<int>& ids,
                           QVariantProvider* provider);
  void MakeSimultaneous(QuestionData& variant, double noteLength);

  const SettingsManager* GetSettingsManager() const;
  int GetExerciseId() const;
  // What every trainer's ApplySettings does: each section's question count and time per question
  // from its duration settings (in section order), and the chosen playback instrument.
  void ApplySectionSettings(std::initializer_list<ExerciseDuration> durations);

 private:
  void SetState(ExerciseState state);
  void LoadNextQuestion();
  // The question has stopped sounding: it waits for its answer, and its answer time runs.
  void AwaitAnswer();
  void CompleteQuestion(bool advance);
  void StopMidi();
  void ReconnectDevices();
  void HandleSettingsChange();
  void ApplyDurationSettings();
  void HandleBoundary(int position, bool atEnd);
  void EnterSection(unsigned long section);
  void RetireListener();
  // Detaches the timeline, the question player and the listeners and releases them (which
  // unregisters them from the timer and waits for deliveries under way), then saves the
  // statistics. Called once by the first destructor that runs.
  void Shutdown();
  bool IsUntimed(unsigned long section) const;
  int TicksPerQuestion(unsigned long section) const;
  std::shared_ptr<MidiOutDevice> SelectedOutput() const;
  int TimePerQuestion(unsigned long section) const;
  unsigned int QuestionCount(unsigned long section) const;
  int Verdict(const Question& question, const Answer& answer) const;

  std::atomic<unsigned int> m_state{ES_READY};
  std::shared_ptr<MidiDeviceConnector> m_connector;
  std::shared_ptr<MidiInStreamDeviceAuto> m_player;
  std::shared_ptr<MidiAnswerListener> m_listener;
  // Listeners given up while the exercise runs. They no longer forward anything; they are
  // destroyed with the exercise, outside the lesson lock, since destroying one waits for a
  // delivery that may be waiting for that lock.
  std::vector<std::shared_ptr<MidiAnswerListener>> m_retiredListeners;
  std::vector<SectionInfo> m_sections;
  std::vector<std::vector<Question>> m_pools;
  std::vector<std::vector<Question>> m_asked;
  std::vector<std::vector<Answer>> m_answers;
  ExerciseProgress m_progress;
  unsigned long m_currentSection = 0;
  ExerciseCommonSettings m_commonSettings;
  const SettingsManager* m_settings = nullptr;
  std::shared_ptr<ExerciseStatistics> m_statistics;
  int m_exerciseId = 0;
  Question m_emptyQuestion;
  bool m_weightedPicking = false;
  bool m_quizMode = false;
  bool m_globalStatistics = false;
  int m_lastQuestionId = -1;
  MidiStream m_answerStream;
  bool m_playbackCut = false;
  // Untimed sections: the slot (0-based, within the current section) of the current question.
  // Counting slots rather than letting the timeline run on makes a section ask exactly its
  // question count however long an answer takes.
  int m_untimedSlot = 0;
  // The timeline has passed the last slot. The timeline itself is back at 0 then, which would
  // look like the first section again.
  bool m_endReached = false;
  // Timeline position at which the current question was asked.
  int m_questionStart = 0;
  bool m_shutDown = false;
};

}  // namespace Core
