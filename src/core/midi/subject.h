#pragma once

// The observer template behind every notice of the core: a subject keeps raw pointers to its
// observers in registration order and calls one member function on each, on the notifying thread.
// The list is copied under the subject's lock and the observers are called without it, so an
// observer may add or remove observers from inside its callback.

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
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
    QMutexLocker lock(&m_mutex);
    if (std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
      m_observers.push_back(observer);
  }

  void RemoveObserver(T* observer) {
    QMutexLocker lock(&m_mutex);
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer),
                      m_observers.end());
  }

  // `call` is invoked with each observer pointer, e.g.
  // Notify([&](TimeLineObserver* o) { o->OnTimeLinePositionChanged(position); }) or a std::bind
  // of a member function with placeholder 1.
  template <class Call>
  void Notify(Call&& call) {
    std::vector<T*> observers;
    {
      QMutexLocker lock(&m_mutex);
      observers = m_observers;
    }
    for (T* observer : observers) call(observer);
  }

 private:
  QMutex m_mutex;
  std::vector<T*> m_observers;
};

}  // namespace Core
