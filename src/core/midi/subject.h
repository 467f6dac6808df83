#pragma once

// The observer template behind every notice of the core: a subject keeps raw pointers to its
// observers in registration order and calls one member function on each, on the notifying thread.
// The list is copied under the subject's lock and the observers are called without it, so an
// observer may add or remove observers from inside its callback.
//
// Because the list is copied, an observer removed on one thread may still be called by a notice
// that another thread began before the removal. An observer that is about to be destroyed waits
// for such notices with `WaitForNoticesUnderWay`.

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace Core {

template <class T>
class Subject {
 public:
  Subject() = default;
  Subject(const Subject&) = delete;
  Subject& operator=(const Subject&) = delete;
  virtual ~Subject() = default;

  void AddObserver(T* observer) {
    std::lock_guard lock(m_mutex);
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
      m_observers.push_back(observer);
  }

  // Does not wait for notices under way on other threads, so it may be called while holding a
  // lock that such a notice's observer is waiting for.
  void RemoveObserver(T* observer) {
    std::lock_guard lock(m_mutex);
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
  }

  // Returns once every notice that other threads began before this call has called its last
  // observer. Notices of the calling thread are not waited for: it may be inside one of them. The
  // caller must hold no lock that an observer of this subject may wait for.
  void WaitForNoticesUnderWay() {
    std::unique_lock lock(m_mutex);
    const std::uint64_t begunBefore = m_nextNotice;
    const std::thread::id self = std::this_thread::get_id();
    m_noticeEnded.wait(lock, [&] {
      return std::none_of(
          m_noticesUnderWay.begin(), m_noticesUnderWay.end(),
          [&](const auto& notice) { return notice.first < begunBefore && notice.second != self; });
    });
  }

  // `call` is invoked with each observer pointer, e.g.
  // Notify([&](TimeLineObserver* o) { o->OnTimeLinePositionChanged(position); }) or a std::bind
  // of a member function with placeholder 1.
  template <class Call>
  void Notify(Call&& call) {
    std::vector<T*> observers;
    std::uint64_t notice = 0;
    {
      std::lock_guard lock(m_mutex);
      observers = m_observers;
      if (observers.empty()) return;
      notice = m_nextNotice++;
      m_noticesUnderWay.emplace(notice, std::this_thread::get_id());
    }
    struct EndOfNotice {
      Subject& subject;
      std::uint64_t notice;
      ~EndOfNotice() {
        // Under the lock: once a waiter sees the notice end, nothing here touches the subject.
        std::lock_guard lock(subject.m_mutex);
        subject.m_noticesUnderWay.erase(notice);
        subject.m_noticeEnded.notify_all();
      }
    } end{*this, notice};
    for (T* observer : observers) call(observer);
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_noticeEnded;
  std::vector<T*> m_observers;
  std::uint64_t m_nextNotice = 0;
  std::map<std::uint64_t, std::thread::id> m_noticesUnderWay;
};

}  // namespace Core
