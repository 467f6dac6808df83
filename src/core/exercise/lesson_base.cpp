#include "src/core/exercise/lesson_base.h"

#include <utility>

#include "src/common/assertion.h"
#include "src/core/midi/timeline.h"

namespace Core {

LessonBase::LessonBase() = default;

LessonBase::~LessonBase() {
  std::shared_ptr<TimeLine> timeline = TakeTimeline();
  {
    LessonLocker lock(m_lessonMutex);
    m_soundController.reset();
  }
  // Released here, outside the lesson lock: the timeline unregisters from the timer.
  timeline.reset();
}

void LessonBase::OnTimeLinePositionChanged(int) {
  Subject<LessonBaseObserver>::Notify([](LessonBaseObserver* o) { o->OnTick(); });
}

void LessonBase::OnTimeLineStateChanged(TimeLineState, TimeLineState) {}

void LessonBase::OnTimeLineSectionChanged(unsigned long, unsigned long) {}

void LessonBase::Reset() {
  // Built before the lock is taken: construction registers the timeline with the timer.
  auto fresh = std::make_shared<TimeLine>();
  std::shared_ptr<TimeLine> old;
  {
    LessonLocker lock(m_lessonMutex);
    m_playbackState = PS_STOPPED;
    m_handsMode = HM_BOTH;
    m_seeking = false;
    m_playingAtSeek = false;
    if (m_timeline) m_timeline->RemoveObserver(this);
    old = std::exchange(m_timeline, fresh);
    m_timeline->AddObserver(this);
  }
  // The old timeline unregisters from the timer here, with the lesson lock released.
  old.reset();
}

void LessonBase::SetSoundController(std::shared_ptr<SoundController> controller) {
  LessonLocker lock(m_lessonMutex);
  m_soundController = std::move(controller);
}

std::shared_ptr<SoundController> LessonBase::GetSoundController() const {
  LessonLocker lock(m_lessonMutex);
  return m_soundController;
}

PlaybackState LessonBase::GetPlaybackState() const {
  LessonLocker lock(m_lessonMutex);
  return m_playbackState;
}

void LessonBase::SetPlaybackState(PlaybackState state) {
  LessonLocker lock(m_lessonMutex);
  if (state == m_playbackState) return;
  m_playbackState = state;
  Subject<LessonBaseObserver>::Notify(
      [state](LessonBaseObserver* o) { o->OnPlaybackStateChanged(state); });
}

void LessonBase::Start() {
  LessonLocker lock(m_lessonMutex);
  GetTimeline().Start();
  SetPlaybackState(PS_PLAYING);
}

void LessonBase::Stop() {
  StopInternal(false);
}

void LessonBase::StopInternal(bool immediately) {
  GetTimeline().Stop(immediately);
  LessonLocker lock(m_lessonMutex);
  SetPlaybackState(PS_STOPPED);
}

bool LessonBase::Pause(bool pause) {
  LessonLocker lock(m_lessonMutex);
  const bool wasPaused = m_playbackState == PS_PAUSED;
  GetTimeline().Pause(pause);
  SetPlaybackState(pause ? PS_PAUSED : PS_PLAYING);
  return wasPaused != pause;
}

void LessonBase::SetPosition(int position) {
  LessonLocker lock(m_lessonMutex);
  TimeLine& timeline = GetTimeline();
  const unsigned long target = timeline.GetSectionAtPosition(position);
  const PlaybackState playback = m_playbackState;
  const bool switching = target != timeline.GetCurrentSectionIndex();
  if (switching) {
    StopInternal(false);
    SwitchToSection(target);
  }
  timeline.SetPosition(position);
  SeekSection(target, timeline.GetSectionPosition());
  if (switching && (playback == PS_PLAYING || (m_seeking && m_playingAtSeek))) Start();
}

void LessonBase::BeginSeek() {
  LessonLocker lock(m_lessonMutex);
  m_playingAtSeek = m_playbackState == PS_PLAYING;
  m_seeking = true;
  if (m_playingAtSeek) Pause(true);
}

void LessonBase::EndSeek() {
  LessonLocker lock(m_lessonMutex);
  m_seeking = false;
  if (m_playingAtSeek) Pause(false);
}

TimeLine& LessonBase::GetTimeline() const {
  LessonLocker lock(m_lessonMutex);
  MELVARIN_ASSERT(m_timeline);
  return *m_timeline;
}

bool LessonBase::HasTimeline() const {
  LessonLocker lock(m_lessonMutex);
  return static_cast<bool>(m_timeline);
}

std::shared_ptr<TimeLine> LessonBase::TakeTimeline() {
  LessonLocker lock(m_lessonMutex);
  if (m_timeline) m_timeline->RemoveObserver(this);
  return std::exchange(m_timeline, nullptr);
}

void LessonBase::SetHandsMode(HandsMode mode) {
  LessonLocker lock(m_lessonMutex);
  m_handsMode = mode;
}

HandsMode LessonBase::GetHandsMode() const {
  LessonLocker lock(m_lessonMutex);
  return m_handsMode;
}

}  // namespace Core
