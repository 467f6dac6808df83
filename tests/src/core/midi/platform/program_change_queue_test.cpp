#include "src/core/midi/platform/program_change_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <mutex>
#include <thread>
#include <vector>

namespace Core {
namespace {

// Stands for the synthesizer: records what reaches it, and holds the program change until the
// test lets it go, as a slow read of the SoundFont would.
class SlowSynth {
 public:
  void Deliver(const SynthMessage& message) {
    if (message.IsProgramChange()) m_release.wait();
    {
      std::lock_guard lock(m_mutex);
      m_delivered.push_back(message);
    }
  }
  void FinishLoading() { m_release.count_down(); }
  std::vector<SynthMessage> Delivered() {
    std::lock_guard lock(m_mutex);
    return m_delivered;
  }

 private:
  std::latch m_release{1};
  std::mutex m_mutex;
  std::vector<SynthMessage> m_delivered;
};

// The sender goes on while the instrument loads, until its messages fill the queue; then it waits
// rather than lose any: every message arrives after the program change, in order, so no note is
// left sounding for want of its note-off. With nothing waiting, a message, and a program change
// that repeats its channel's, are delivered at once.
TEST(ProgramChangeQueue, SendersGoOnWhileAnInstrumentLoadsAndNothingIsLostOrOvertakes) {
  SlowSynth synth;
  ProgramChangeQueue queue([&synth](const SynthMessage& message) { synth.Deliver(message); });
  const SynthMessage change{0xC0, 19, 0};
  const size_t flood = ProgramChangeQueue::Capacity + 500;
  std::atomic<size_t> sent{0};
  std::thread sender([&] {
    queue.Send(change);
    for (size_t i = 0; i < flood; ++i) {
      const auto note = static_cast<unsigned char>(i % 128);
      queue.Send({static_cast<unsigned char>(i % 2 ? 0x81 : 0x91), note, 64});
      sent.fetch_add(1);
      sent.notify_all();
    }
  });
  for (size_t seen = sent.load(); seen < ProgramChangeQueue::Capacity - 1; seen = sent.load())
    sent.wait(seen);
  EXPECT_TRUE(synth.Delivered().empty());
  synth.FinishLoading();
  sender.join();
  queue.WaitUntilDelivered();

  std::vector<SynthMessage> delivered = synth.Delivered();
  ASSERT_EQ(delivered.size(), flood + 1);
  EXPECT_EQ(delivered.front(), change);
  for (size_t i = 0; i < flood; ++i)
    ASSERT_EQ(delivered[i + 1].data1, i % 128) << "message " << i << " out of order";

  queue.Send({0x90, 60, 100});
  queue.Send(change);
  EXPECT_EQ(synth.Delivered().size(), flood + 3);
}

}  // namespace
}  // namespace Core
