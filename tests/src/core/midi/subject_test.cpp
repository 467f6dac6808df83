#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

#include "src/core/midi/observers.h"
#include "src/core/midi/subject.h"
#include "support/gate.h"

namespace Core {
namespace {

class CountingObserver : public MidiInStreamDeviceObserver {
 public:
  void OnPlaybackComplete() override {
    ++calls;
    if (onCall) onCall();
  }
  int calls = 0;
  std::function<void()> onCall;
};

using StreamSubject = Subject<MidiInStreamDeviceObserver>;

void NotifyAll(StreamSubject& subject) {
  subject.Notify(std::bind(&MidiInStreamDeviceObserver::OnPlaybackComplete, std::placeholders::_1));
}

TEST(Subject, RegistersEachObserverOnce) {
  StreamSubject subject;
  CountingObserver observer;
  subject.AddObserver(&observer);
  subject.AddObserver(&observer);
  NotifyAll(subject);
  EXPECT_EQ(observer.calls, 1);
  subject.RemoveObserver(&observer);
  NotifyAll(subject);
  EXPECT_EQ(observer.calls, 1);
  subject.RemoveObserver(&observer);  // absent: nothing happens
}

TEST(Subject, CallsObserversInRegistrationOrderAndWithoutObserversDoesNothing) {
  StreamSubject subject;
  NotifyAll(subject);
  std::vector<int> order;
  std::vector<CountingObserver> observers(20);  // more than any fixed-size copy would hold
  for (size_t i = 0; i < observers.size(); ++i) {
    observers[i].onCall = [&order, i] { order.push_back(static_cast<int>(i)); };
    subject.AddObserver(&observers[i]);
  }
  NotifyAll(subject);
  ASSERT_EQ(order.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], i);
}

TEST(Subject, ObserverMayRemoveItselfDuringItsCallback) {
  StreamSubject subject;
  CountingObserver self, other;
  self.onCall = [&] { subject.RemoveObserver(&self); };
  subject.AddObserver(&self);
  subject.AddObserver(&other);
  NotifyAll(subject);
  NotifyAll(subject);
  EXPECT_EQ(self.calls, 1);
  EXPECT_EQ(other.calls, 2);
}

TEST(Subject, ConcurrentRegistrationAndNotification) {
  StreamSubject subject;
  CountingObserver steady;
  subject.AddObserver(&steady);
  std::thread notifier([&] {
    for (int i = 0; i < 2000; ++i) NotifyAll(subject);
  });
  std::vector<CountingObserver> transient(50);
  for (int round = 0; round < 20; ++round)
    for (auto& o : transient) {
      subject.AddObserver(&o);
      subject.RemoveObserver(&o);
    }
  notifier.join();
  EXPECT_EQ(steady.calls, 2000);
}

// A removed observer may still be called by a notice that began before the removal; one that is
// about to be destroyed waits for such notices, and is called by none after the wait.
TEST(Subject, WaitingForNoticesUnderWayOutlastsTheirLastCall) {
  StreamSubject subject;
  Testing::Gate gate;
  CountingObserver holding, removed;
  holding.onCall = [&] { gate.EnterAndWait(); };
  std::atomic<bool> waited{false};
  std::atomic<bool> calledAfterWait{false};
  removed.onCall = [&] { calledAfterWait.store(waited.load()); };
  subject.AddObserver(&holding);
  subject.AddObserver(&removed);

  std::thread notifier([&] { NotifyAll(subject); });
  gate.WaitUntilEntered();
  subject.RemoveObserver(&removed);
  std::thread destroyer([&] {
    subject.WaitForNoticesUnderWay();
    waited.store(true);
  });
  gate.Open();
  destroyer.join();
  notifier.join();
  EXPECT_EQ(removed.calls, 1);
  EXPECT_FALSE(calledAfterWait.load());
}

TEST(Subject, WaitingFromInsideANoticeOfTheSameThreadReturns) {
  StreamSubject subject;
  CountingObserver self;
  self.onCall = [&] { subject.WaitForNoticesUnderWay(); };
  subject.AddObserver(&self);
  NotifyAll(subject);
  subject.WaitForNoticesUnderWay();
  EXPECT_EQ(self.calls, 1);
}

}  // namespace
}  // namespace Core
