#include "src/core/midi/platform/program_change_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

namespace Core {
namespace {

// Stands for the synthesizer: records what reaches it, and holds the first program change until
// the test lets it go, as a slow read of the SoundFont would.
class SlowSynth {
 public:
  void Deliver(const SynthMessage& message) {
    EXPECT_EQ(m_inside.fetch_add(1), 0) << "two messages were delivered at once";
    if (message.IsProgramChange()) {
      m_loading.store(true);
      m_loading.notify_all();
      m_release.wait();
    }
    {
      std::lock_guard lock(m_mutex);
      m_delivered.push_back(message);
    }
    m_inside.fetch_sub(1);
  }
  void WaitUntilLoading() { m_loading.wait(false); }
  void FinishLoading() { m_release.count_down(); }
  std::vector<SynthMessage> Delivered() {
    std::lock_guard lock(m_mutex);
    return m_delivered;
  }

 private:
  std::atomic<int> m_inside{0};
  std::atomic<bool> m_loading{false};
  std::latch m_release{1};
  std::mutex m_mutex;
  std::vector<SynthMessage> m_delivered;
};

class ProgramChangeQueueTest : public testing::Test {
 protected:
  SlowSynth synth;
  ProgramChangeQueue queue{[this](const SynthMessage& message) { synth.Deliver(message); }};
};

TEST_F(ProgramChangeQueueTest, ASenderNeverWaitsForAnInstrumentAndNothingOvertakesIt) {
  const SynthMessage change{0xC0, 40, 0}, on{0x90, 60, 100}, volume{0xB1, 7, 90}, off{0x80, 60, 0};
  queue.Send(change);
  synth.WaitUntilLoading();
  // Each of these returns while the instrument is still loading.
  queue.Send(on);
  queue.Send(volume);
  queue.Send(off);
  EXPECT_TRUE(synth.Delivered().empty());

  synth.FinishLoading();
  queue.WaitUntilDelivered();
  EXPECT_EQ(synth.Delivered(), (std::vector<SynthMessage>{change, on, volume, off}));

  // With nothing waiting, a message reaches the synthesizer before Send returns.
  queue.Send(on);
  EXPECT_EQ(synth.Delivered().size(), 5u);
}

// A flood that fills the queue while an instrument loads makes its sender wait: every message
// still arrives, in order, and no note is left sounding for want of its note-off.
TEST_F(ProgramChangeQueueTest, AFloodWhileAnInstrumentLoadsLosesNothing) {
  const size_t flood = ProgramChangeQueue::Capacity + 500;
  std::atomic<size_t> sent{0};
  std::thread sender([&] {
    queue.Send({0xC0, 19, 0});
    for (size_t i = 0; i < flood; ++i) {
      const auto note = static_cast<unsigned char>(i % 128);
      queue.Send({static_cast<unsigned char>(i % 2 ? 0x80 : 0x90), note, 64});
      sent.fetch_add(1);
      sent.notify_all();
    }
  });
  // The program change and the messages behind it fill the queue: the sender is now held.
  for (size_t seen = sent.load(); seen < ProgramChangeQueue::Capacity - 1; seen = sent.load())
    sent.wait(seen);
  synth.FinishLoading();
  sender.join();
  queue.WaitUntilDelivered();

  const std::vector<SynthMessage> delivered = synth.Delivered();
  ASSERT_EQ(delivered.size(), flood + 1);
  for (size_t i = 0; i < flood; ++i)
    ASSERT_EQ(delivered[i + 1].data1, i % 128) << "message " << i << " out of order";
}

}  // namespace
}  // namespace Core
