#pragma once

// The clock of every exercise: a tick counter driven by the timer thread, divided into named
// sections whose lengths are counted in ticks. It runs, pauses and stops, and tells its observers
// about each tick, each state change and each section entered by ticking.
//
// Observers are never called while the timeline's lock is held: notices raised inside an
// operation are queued and delivered once the outermost lock is released. The exercise calls
// timeline operations under its own lock and takes that lock again in its notices, so a notice
// delivered under the timeline's lock would take the two locks in the opposite order.

#include <QString>

#include <functional>
#include <mutex>
#include <vector>

#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"

namespace Core {

class TimeLine : public MultimediaTimerObserver, public Subject<TimeLineObserver> {
 public:
  struct TimeLineSection {
    QString name;
    int duration = 0;  // in ticks
  };

  TimeLine();
  ~TimeLine() override;

  // Runs from the current position; the first tick comes one interval later.
  void Start();
  void Stop(bool immediately = false);
  void StopInternal(bool immediately = false);
  // Pause(true) turns running into paused, Pause(false) paused into running.
  void Pause(bool pause);
  TimeLineState GetState() const;
  bool IsStarted() const;
  bool IsRunning() const;
  bool IsStopped() const;
  bool IsPaused() const;

  void SetInterval(int milliseconds);
  int GetInterval() const;
  // Ticks per minute; neither may be zero.
  void SetFrequency(int perMinute);
  int GetFrequency() const;

  int GetPosition() const;
  // A position beyond the total goes to 0. Nothing is notified.
  void SetPosition(int position);
  int GetSectionPosition() const;
  unsigned long GetCurrentSectionIndex() const;
  unsigned long GetSectionAtPosition(int position) const;
  void MoveToSection(unsigned long index);

  // Section indexes given to the operations below must name an existing section.
  unsigned long AddSection(const QString& name, int duration);
  // Keeps the position in its place within its section; restarts the current section when it is
  // the one that changes.
  void SetSectionDuration(unsigned long index, int duration);
  unsigned long GetSectionCount() const;
  QString GetSectionName(unsigned long index) const;
  int GetSectionDuration(unsigned long index) const;
  int GetSectionStartPosition(unsigned long index) const;
  int GetTotalDuration() const;
  void Clear();

  void OnTimer(long long stamp) override;

 private:
  class Lock;
  using Notice = std::function<void(TimeLineObserver*)>;

  // All of these expect the lock to be held.
  void SetStateLocked(TimeLineState state);
  void SetPositionLocked(int position);
  unsigned long SectionAtLocked(int position) const;
  int SectionStartLocked(unsigned long index) const;
  void Queue(Notice notice);

  // A standard mutex rather than Qt's: its locking is visible to the thread sanitizer.
  mutable std::recursive_mutex m_mutex;
  // Mutable so that queries, which queue nothing, can take the same lock.
  mutable int m_lockDepth = 0;
  mutable std::vector<Notice> m_pending;

  TimeLineState m_state = TLS_STOPPED;
  int m_interval = 167;
  int m_position = 0;
  int m_total = 0;
  int m_lastSetPosition = 0;
  std::vector<TimeLineSection> m_sections;
  long long m_lastTick = 0;
};

}  // namespace Core
