#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "recording_devices.h"
#include "src/core/midi/midi_device.h"

namespace Core {
namespace {

using Testing::FedInDevice;

class RecordingObserver : public MidiDeviceObserver {
 public:
  void OnMidiEvent(const MidiEvent& event) override { events.push_back(event); }
  std::vector<MidiEvent> events;
};

class MidiInDeviceBaseTest : public ::testing::Test {
 protected:
  MidiInDeviceBaseTest() { device.AddObserver(&observer); }
  ~MidiInDeviceBaseTest() override { device.RemoveObserver(&observer); }

  MidiKeyboardState Keys(unsigned long channel) const {
    MidiKeyboardState state;
    device.GetKeybardState(channel, state);
    return state;
  }
  MidiStream Recorded() const {
    MidiStream stream;
    device.GetStream(stream);
    return stream;
  }

  FedInDevice device;
  RecordingObserver observer;
};

TEST_F(MidiInDeviceBaseTest, VolumeIsClampedToTheUnitRange) {
  EXPECT_DOUBLE_EQ(device.GetVolume(), 1.0);
  device.SetVolume(1.5);
  EXPECT_DOUBLE_EQ(device.GetVolume(), 1.0);
  device.SetVolume(-1);
  EXPECT_DOUBLE_EQ(device.GetVolume(), 0.0);
  device.SetVolume(0.25);
  EXPECT_DOUBLE_EQ(device.GetVolume(), 0.25);
}

TEST_F(MidiInDeviceBaseTest, ScalesDeliveredNoteOnsButRecordsAndKeepsKeysUnscaled) {
  device.SetVolume(0.5);
  device.Feed(MidiMessage(MidiNoteOn, 2, 60, 127), 768, 1.0);
  device.Feed(MidiMessage(MidiNoteOff, 2, 60, 64), 1536, 2.0);

  ASSERT_EQ(observer.events.size(), 2u);
  EXPECT_EQ(observer.events[0].GetMessage().GetVelocity(), 63);
  EXPECT_EQ(observer.events[0].GetTimePulses(), 768u);
  EXPECT_DOUBLE_EQ(observer.events[0].GetTime(), 1.0);
  // Only note-ons are scaled: a note-off's release velocity passes as it came.
  EXPECT_EQ(observer.events[1].GetMessage().GetVelocity(), 64);

  const MidiStream recorded = Recorded();
  ASSERT_EQ(recorded.GetEvents().size(), 2);
  EXPECT_EQ(recorded.GetEvents()[0].GetMessage().GetVelocity(), 127);
}

TEST_F(MidiInDeviceBaseTest, KeyStateFollowsNotesAndAftertouchPerChannelUntilReset) {
  device.SetVolume(0.5);
  device.Feed(MidiMessage(MidiNoteOn, 3, 60, 127));
  EXPECT_EQ(Keys(3).GetKey(60), 127);  // the key state keeps the velocity as played
  EXPECT_EQ(Keys(0).GetKey(60), 0);

  device.Feed(MidiMessage(MidiAftertouch, 3, 60, 40));
  EXPECT_EQ(Keys(3).GetKey(60), 40);
  device.Feed(MidiMessage(MidiNoteOff, 3, 60, 90));
  EXPECT_EQ(Keys(3).GetKey(60), 0);

  device.Feed(MidiMessage(MidiNoteOn, 3, 62, 80));
  device.Feed(MidiMessage(MidiNoteOn, 3, 62, 0));  // note-on with velocity 0 releases
  EXPECT_EQ(Keys(3).GetKey(62), 0);

  device.Feed(MidiMessage(MidiControlChange, 3, 64, 127));  // other messages leave keys alone
  device.Feed(MidiMessage(MidiChannelPressure, 3, 100));
  EXPECT_EQ(Keys(3).GetKey(64), 0);
  EXPECT_EQ(Keys(3).GetKey(100), 0);

  device.Feed(MidiMessage(MidiNoteOn, 15, 119, 100));
  device.Reset();  // releases every key and keeps the record
  EXPECT_EQ(Keys(15).GetKey(119), 0);
  EXPECT_EQ(Recorded().GetEvents().size(), 8);
}

TEST_F(MidiInDeviceBaseTest, NotesAboveTheKeyRangeAreDeliveredWithoutTouchingKeys) {
  device.Feed(MidiMessage(MidiNoteOn, 0, 127, 100));
  device.Feed(MidiMessage(MidiAftertouch, 0, 120, 10));
  device.Feed(MidiMessage(MidiNoteOff, 0, 127, 0));
  EXPECT_EQ(observer.events.size(), 3u);
  EXPECT_EQ(Recorded().GetEvents().size(), 3);
}

TEST_F(MidiInDeviceBaseTest, RecordCanBeReadWhileAnotherThreadDelivers) {
  constexpr int Count = 2000;
  std::thread producer([this] {
    for (int i = 0; i < Count; ++i) device.Feed(MidiMessage(MidiNoteOn, 0, 60, i % 2 ? 0 : 90));
  });
  qsizetype seen = 0;
  while (seen < Count) {
    const qsizetype now = Recorded().GetEvents().size();
    EXPECT_GE(now, seen);  // the record only grows
    seen = now;
    Keys(0);
  }
  producer.join();
  EXPECT_EQ(observer.events.size(), static_cast<size_t>(Count));
}

TEST(MidiInDeviceBaseDeathTest, KeyStateOfAChannelBeyond15Asserts) {
  FedInDevice device;
  MidiKeyboardState state;
  EXPECT_DEATH(device.GetKeybardState(16, state), "Assertion failed: channel < MidiChannelCount");
}

}  // namespace
}  // namespace Core
