#include "timer_passes.h"

#include "wait_until.h"

namespace Testing {

TimerPasses::TimerPasses() {
  Core::Timer::Add(&m_before);
}

TimerPasses::~TimerPasses() {
  Core::Timer::Remove(&m_before);
  if (m_closed) Core::Timer::Remove(&m_after);
}

void TimerPasses::Close() {
  Core::Timer::Add(&m_after);
  m_closed = true;
}

void TimerPasses::Marker::OnTimer(long long stamp) {
  std::function<void()> action;
  {
    std::lock_guard<std::mutex> lock(m_passes.m_mutex);
    std::vector<Pass>& passes = m_passes.m_passes;
    if (!m_first) {
      if (!passes.empty()) passes.back().last = stamp;
      return;
    }
    // The pass before must have been seen whole, so that a player's start has a stamp to count
    // from.
    if (m_passes.m_action && !passes.empty() && passes.back().last >= 0) {
      action = std::move(m_passes.m_action);
      m_passes.m_action = nullptr;
      m_passes.m_actionPass = static_cast<int>(passes.size());
    }
    passes.push_back({stamp, -1});
  }
  if (action) action();
}

int TimerPasses::RunInPass(std::function<void()> action) {
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_actionPass = -1;
    m_action = std::move(action);
  }
  const bool ran = WaitUntil([this] {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_actionPass >= 0 && static_cast<int>(m_passes.size()) > m_actionPass &&
           m_passes[static_cast<std::size_t>(m_actionPass)].last >= 0;
  });
  std::lock_guard<std::mutex> lock(m_mutex);
  return ran ? m_actionPass : -1;
}

bool TimerPasses::WaitForPass(int pass) const {
  return WaitUntil([this, pass] {
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_passes.size()) > pass;
  });
}

int TimerPasses::Current() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return static_cast<int>(m_passes.size()) - 1;
}

TimerPasses::Span TimerPasses::Between(int from, int to) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  const Pass& a = m_passes.at(static_cast<std::size_t>(from));
  const Pass& b = m_passes.at(static_cast<std::size_t>(to));
  return {b.first - a.last, b.last - a.first};
}

TimerPasses::Span TimerPasses::Elapsed(int start, int pass, PausedPasses pause) const {
  if (pause.from < 0 || pass < pause.from) return Between(start - 1, pass);
  const Span before = Between(start - 1, pause.from - 1);
  if (pass < pause.until) return before;
  // The pass that plays again counts from the stamp of the last one sat out.
  const Span after = Between(pause.until - 1, pass);
  return {before.least + after.least, before.most + after.most};
}

bool TimerPasses::SentOnTime(int start, double seconds, int pass, PausedPasses pause) const {
  if (pass < start || (pass >= pause.from && pass < pause.until)) return false;
  const double due = seconds * 1000.0;
  // Not before its time: the stamps of the passes may have lain that far apart.
  if (Elapsed(start, pass, pause).most < due) return false;
  // Not later: by the pass before, the player may not yet have counted so far (exactly there,
  // the seconds it adds up may still fall short).
  return pass == start || Elapsed(start, pass - 1, pause).least <= due;
}

void PassRecordingOutput::SendMessage(const Core::MidiMessage& message) {
  const int pass = m_passes.Current();
  std::lock_guard<std::mutex> lock(m_mutex);
  m_sent.push_back({message, pass});
}

std::vector<PassRecordingOutput::Sent> PassRecordingOutput::GetSent() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_sent;
}

}  // namespace Testing
