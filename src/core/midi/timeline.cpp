#include "src/core/midi/timeline.h"

#include "src/common/assertion.h"
#include "src/core/midi/timer.h"

namespace Core {

// Holds the timeline's lock; the outermost one delivers the notices queued meanwhile, in order,
// after releasing it. An operation that calls another queues onto the same list; an observer that
// calls back into the timeline from a notice starts a fresh outermost lock of its own.
class TimeLine::Lock {
 public:
  explicit Lock(const TimeLine& timeline) : m_timeline(timeline) {
    m_timeline.m_mutex.lock();
    ++m_timeline.m_lockDepth;
  }
  ~Lock() {
    std::vector<Notice> notices;
    if (--m_timeline.m_lockDepth == 0) notices.swap(m_timeline.m_pending);
    m_timeline.m_mutex.unlock();
    for (const Notice& notice : notices) const_cast<TimeLine&>(m_timeline).Notify(notice);
  }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  const TimeLine& m_timeline;
};

TimeLine::TimeLine() {
  // The timer may call OnTimer as soon as Add returns; a stopped timeline ignores it, and the
  // stamp is stored under the lock afterwards (the timer's lock is never taken under ours).
  const long long stamp = Timer::Add(this);
  Lock lock(*this);
  m_lastTick = stamp;
}

TimeLine::~TimeLine() {
  StopInternal(false);
  Timer::Remove(this);
}

void TimeLine::Queue(Notice notice) {
  m_pending.push_back(std::move(notice));
}

void TimeLine::SetStateLocked(TimeLineState state) {
  const TimeLineState previous = m_state;
  m_state = state;
  Queue([previous, state](TimeLineObserver* o) { o->OnTimeLineStateChanged(previous, state); });
}

void TimeLine::Start() {
  Lock lock(*this);
  if (m_state != TLS_STOPPED) StopInternal(false);
  // The first tick comes a whole interval after the start, not at the next pass of the timer:
  // a timed question gets all of its time. The stamp takes no lock.
  m_lastTick = Timer::GetStamp();
  SetStateLocked(TLS_RUNNING);
}

void TimeLine::Stop(bool) {
  StopInternal(false);
}

void TimeLine::StopInternal(bool) {
  Lock lock(*this);
  if (m_state != TLS_STOPPED) SetStateLocked(TLS_STOPPED);
}

void TimeLine::Pause(bool pause) {
  Lock lock(*this);
  if (pause && m_state == TLS_RUNNING)
    SetStateLocked(TLS_PAUSED);
  else if (!pause && m_state == TLS_PAUSED)
    SetStateLocked(TLS_RUNNING);
}

TimeLineState TimeLine::GetState() const {
  Lock lock(*this);
  return m_state;
}

bool TimeLine::IsStarted() const {
  return GetState() != TLS_STOPPED;
}
bool TimeLine::IsRunning() const {
  return GetState() == TLS_RUNNING;
}
bool TimeLine::IsStopped() const {
  return GetState() == TLS_STOPPED;
}
bool TimeLine::IsPaused() const {
  return GetState() == TLS_PAUSED;
}

void TimeLine::SetInterval(int milliseconds) {
  Lock lock(*this);
  m_interval = milliseconds;
}

int TimeLine::GetInterval() const {
  Lock lock(*this);
  return m_interval;
}

void TimeLine::SetFrequency(int perMinute) {
  MELVARIN_ASSERT(perMinute != 0);
  Lock lock(*this);
  m_interval = 60000 / perMinute;
}

int TimeLine::GetFrequency() const {
  Lock lock(*this);
  MELVARIN_ASSERT(m_interval != 0);
  return 60000 / m_interval;
}

int TimeLine::GetPosition() const {
  Lock lock(*this);
  return m_position;
}

void TimeLine::SetPositionLocked(int position) {
  if (position > m_total) position = 0;
  if (position != m_position) {
    m_position = position;
    m_lastSetPosition = position;
  }
}

void TimeLine::SetPosition(int position) {
  Lock lock(*this);
  SetPositionLocked(position);
}

unsigned long TimeLine::SectionAtLocked(int position) const {
  int end = 0;
  for (unsigned long i = 0; i < m_sections.size(); ++i) {
    end += m_sections[i].duration;
    if (end > position) return i;
  }
  return 0;
}

int TimeLine::SectionStartLocked(unsigned long index) const {
  int start = 0;
  for (unsigned long i = 0; i < index && i < m_sections.size(); ++i)
    start += m_sections[i].duration;
  return start;
}

int TimeLine::GetSectionPosition() const {
  Lock lock(*this);
  // Beyond all sections the index is 0 and the start 0, which gives the position itself.
  return m_position - SectionStartLocked(SectionAtLocked(m_position));
}

unsigned long TimeLine::GetCurrentSectionIndex() const {
  Lock lock(*this);
  return SectionAtLocked(m_position);
}

unsigned long TimeLine::GetSectionAtPosition(int position) const {
  Lock lock(*this);
  return SectionAtLocked(position);
}

void TimeLine::MoveToSection(unsigned long index) {
  Lock lock(*this);
  SetPositionLocked(SectionStartLocked(index));
}

unsigned long TimeLine::AddSection(const QString& name, int duration) {
  Lock lock(*this);
  m_sections.push_back(TimeLineSection{name, duration});
  m_total += duration;
  return m_sections.size() - 1;
}

void TimeLine::SetSectionDuration(unsigned long index, int duration) {
  Lock lock(*this);
  MELVARIN_ASSERT(index < m_sections.size());
  const unsigned long current = SectionAtLocked(m_position);
  const int delta = duration - m_sections[index].duration;
  m_total += delta;
  m_sections[index].duration = duration;
  if (current > index)
    SetPositionLocked(m_position + delta);
  else if (current == index)
    SetPositionLocked(SectionStartLocked(index));
}

unsigned long TimeLine::GetSectionCount() const {
  Lock lock(*this);
  return m_sections.size();
}

QString TimeLine::GetSectionName(unsigned long index) const {
  Lock lock(*this);
  MELVARIN_ASSERT(index < m_sections.size());
  return m_sections[index].name;
}

int TimeLine::GetSectionDuration(unsigned long index) const {
  Lock lock(*this);
  MELVARIN_ASSERT(index < m_sections.size());
  return m_sections[index].duration;
}

int TimeLine::GetSectionStartPosition(unsigned long index) const {
  Lock lock(*this);
  return SectionStartLocked(index);
}

int TimeLine::GetTotalDuration() const {
  Lock lock(*this);
  return m_total;
}

void TimeLine::Clear() {
  Lock lock(*this);
  m_sections.clear();
  m_total = 0;
}

void TimeLine::OnTimer(long long stamp) {
  {
    Lock lock(*this);
    if (m_state != TLS_RUNNING || stamp - m_lastTick < m_interval) return;
    m_lastTick = stamp;
    ++m_position;
    // A position set exactly to the total, or sections shortened under a running timeline,
    // would let an equality test run past the end for ever; the end is any tick at or beyond a
    // non-empty total. A timeline without sections ticks on.
    if (m_total > 0 && m_position >= m_total) {
      m_position = 0;
      SetStateLocked(TLS_STOPPED);
      const unsigned long last = m_sections.size() - 1;
      Queue([last](TimeLineObserver* o) {
        o->OnTimeLineSectionChanged(last, static_cast<unsigned long>(-1));
      });
      return;
    }
    const int position = m_position;
    Queue([position](TimeLineObserver* o) { o->OnTimeLinePositionChanged(position); });
  }
  // The position notice has been delivered; an observer may have moved the timeline from it.
  Lock lock(*this);
  if (GetSectionPosition() != 0) return;
  if (m_position == m_lastSetPosition) {
    // An observer moved the timeline to this section start; that move is not a section change.
    m_lastSetPosition = 0;
    return;
  }
  const unsigned long current = SectionAtLocked(m_position);
  Queue([current](TimeLineObserver* o) { o->OnTimeLineSectionChanged(current - 1, current); });
}

}  // namespace Core
