#pragma once

// The timer thread's passes as two markers around the players see them: each observer gets a
// stamp taken just before its call, so a player's stamp in a pass lies between the markers'. A
// message a player sends is held against the pass that sent it and the stamps around that pass,
// however late a busy machine made them, never against the wall clock.

#include <QString>

#include <functional>
#include <mutex>
#include <vector>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/timer.h"

namespace Testing {

// The passes a player sat out: paused from pass `from` on, playing again from pass `until`.
struct PausedPasses {
  int from = -1;
  int until = -1;
};

class TimerPasses {
 public:
  // Adds the first marker: timer observers added from now on until Close() come between the two.
  TimerPasses();
  ~TimerPasses();
  TimerPasses(const TimerPasses&) = delete;
  TimerPasses& operator=(const TimerPasses&) = delete;

  // Adds the second marker.
  void Close();

  // Runs `action` on the timer thread in a pass that both markers see, before the observers
  // between them, and returns the number of that pass once it has run; -1 if no pass came.
  int RunInPass(std::function<void()> action);
  // Waits until the pass numbered `pass` has begun.
  bool WaitForPass(int pass) const;

  // The number of the pass under way, for the observers between the markers.
  int Current() const;

  // The least and the most the stamp given between the markers in pass `to` can exceed the one
  // given in pass `from`, in milliseconds.
  struct Span {
    long long least;
    long long most;
  };
  Span Between(int from, int to) const;

  // The least and the most time a player started in pass `start` has counted by pass `pass`, in
  // milliseconds: from the stamp of the pass before its start, less the passes it sat out.
  Span Elapsed(int start, int pass, PausedPasses pause = {}) const;
  // Whether such a player gives out an event due `seconds` into its stream in pass `pass`: the
  // first pass by which it has counted that far, and never one it sat out.
  bool SentOnTime(int start, double seconds, int pass, PausedPasses pause = {}) const;

 private:
  class Marker : public Core::MultimediaTimerObserver {
   public:
    Marker(TimerPasses& passes, bool first) : m_passes(passes), m_first(first) {}
    void OnTimer(long long stamp) override;

   private:
    TimerPasses& m_passes;
    bool m_first;
  };
  struct Pass {
    long long first = -1;
    long long last = -1;  // -1 before the second marker was added
  };

  mutable std::mutex m_mutex;
  std::vector<Pass> m_passes;
  std::function<void()> m_action;
  int m_actionPass = -1;
  Marker m_before{*this, true};
  Marker m_after{*this, false};
  bool m_closed = false;
};

// An output that notes each message with the pass that sent it.
class PassRecordingOutput : public Core::MidiOutDevice {
 public:
  struct Sent {
    Core::MidiMessage message;
    int pass;
  };

  explicit PassRecordingOutput(const TimerPasses& passes) : m_passes(passes) {}
  QString GetName() const override { return "passes"; }
  void Reset() override {}
  void Stop() override {}
  void SendMessage(const Core::MidiMessage& message) override;
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}

  std::vector<Sent> GetSent() const;

 private:
  const TimerPasses& m_passes;
  mutable std::mutex m_mutex;
  std::vector<Sent> m_sent;
};

}  // namespace Testing
