#pragma once

// The playback half of every exercise: it owns the exercise's section timeline, keeps the
// playback state (stopped, playing, paused), holds the sound controller, and tells its observers
// about every tick, playback change and exercise state change.
//
// Three threads come in here: the GUI thread (the exercise screen), the timer thread (timeline
// notices) and the MIDI input thread (answers, through the exercise). Every operation takes the
// lesson lock, a recursive mutex, so operations may call each other and an observer running on
// the GUI thread may call back into the lesson from inside a notice.
//
// A timeline registers with the timer when it is built and unregisters when it goes. The timer
// thread holds the timer's lock while it delivers ticks, and those ticks wait for the lesson lock;
// so a timeline is never built or released while this thread holds the lesson lock.

#include <memory>
#include <mutex>

#include "src/core/exercise/records/exercise_state.h"
#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"
#include "src/core/midi/timeline.h"

namespace Core {

class SoundController;

// The lesson lock: recursive, so that operations may call each other and an observer on the GUI
// thread may call back from inside a notice. A standard recursive mutex rather than
// QRecursiveMutex, whose locking the distribution's Qt keeps inside the library, out of
// ThreadSanitizer's sight.
using LessonMutexType = std::recursive_mutex;
using LessonLocker = std::lock_guard<LessonMutexType>;

// Which hand a lesson is for. The engine only stores it for the screens.
enum HandsMode : unsigned int {
  HM_BOTH = 0,
  HM_LEFT = 1,
  HM_RIGHT = 2,
};

class LessonBaseObserver {
 public:
  // The new ExerciseState.
  virtual void OnStateChanged(unsigned int state) = 0;
  // Sent on the timer thread without the lesson lock.
  virtual void OnTick() = 0;
  virtual void OnPlaybackStateChanged(PlaybackState state) = 0;
  virtual ~LessonBaseObserver() = default;
};

class LessonBase : public TimeLineObserver, public Subject<LessonBaseObserver> {
 public:
  LessonBase();
  ~LessonBase() override;
  LessonBase(const LessonBase&) = delete;
  LessonBase& operator=(const LessonBase&) = delete;

  void OnTimeLinePositionChanged(int position) override;
  void OnTimeLineStateChanged(TimeLineState previous, TimeLineState current) override;
  void OnTimeLineSectionChanged(unsigned long previous, unsigned long current) override;

  // Playback stopped, seek flags cleared, and a new empty timeline in place of the old one.
  // Nobody is told. Must not be called with the lesson lock held (see the top of this file).
  virtual void Reset();
  virtual void SetSoundController(std::shared_ptr<SoundController> controller);
  // Moves the timeline; moving into another section stops, switches and (when playback was on)
  // starts again.
  virtual void SetPosition(int position);
  virtual void Start();
  virtual void Stop();
  // Returns whether the paused condition changed.
  virtual bool Pause(bool pause);
  virtual void StopInternal(bool immediately);
  virtual void SeekSection(unsigned long section, int sectionPosition) = 0;
  virtual void SwitchToSection(unsigned long section) = 0;

  PlaybackState GetPlaybackState() const;
  // Notifies only a real change.
  void SetPlaybackState(PlaybackState state);

  void BeginSeek();
  void EndSeek();

  // There is a timeline once Reset has run.
  TimeLine& GetTimeline() const;

  void SetHandsMode(HandsMode mode);
  HandsMode GetHandsMode() const;

 protected:
  LessonMutexType& LessonMutex() const { return m_lessonMutex; }
  std::shared_ptr<SoundController> GetSoundController() const;
  // Detaches the lesson from its timeline and hands the timeline over, so that a derived
  // destructor can release it (and so unregister it from the timer) before anything else goes.
  std::shared_ptr<TimeLine> TakeTimeline();
  bool HasTimeline() const;

 private:
  mutable LessonMutexType m_lessonMutex;
  PlaybackState m_playbackState = PS_STOPPED;
  HandsMode m_handsMode = HM_BOTH;
  bool m_seeking = false;
  bool m_playingAtSeek = false;
  std::shared_ptr<TimeLine> m_timeline;
  std::shared_ptr<SoundController> m_soundController;
};

}  // namespace Core
