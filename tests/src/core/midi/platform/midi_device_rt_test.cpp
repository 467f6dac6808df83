#include "src/core/midi/platform/midi_device_rt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include <thread>

#include "src/core/midi/error.h"
#include "tests/src/core/midi/platform/jack_test_support.h"

namespace Core {
namespace {

using namespace std::chrono_literals;
using Testing::EventCollector;
using Testing::FindPort;

// A keyboard stand-in: a JACK MIDI output port of another client, as a USB keyboard would be.
class VirtualKeyboard {
 public:
  explicit VirtualKeyboard(const std::string& client) : m_out(RtMidi::UNIX_JACK, client) {
    m_out.openVirtualPort("keys");
    m_name = client + ":keys";
  }
  void Send(std::vector<unsigned char> bytes) { m_out.sendMessage(&bytes); }
  const std::string& Name() const { return m_name; }

 private:
  RtMidiOut m_out;
  std::string m_name;
};

// Opens the input device of the JACK source `portName`. Ports are addressed by number, and other
// programs' ports may come and go between the look-up and the opening (tests share one JACK
// server); the device counts only when it reports the source's own port.
std::unique_ptr<MidiInRtDevice> OpenInputOf(const std::string& portName) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    RtMidiIn lookup(RtMidi::UNIX_JACK, "melvarin-test-lookup");
    const int port = FindPort(lookup, portName);
    if (port < 0) continue;
    auto device = std::make_unique<MidiInRtDevice>(static_cast<unsigned int>(port));
    if (device->IsOk() && device->GetName() == QString::fromStdString(portName)) return device;
  }
  return nullptr;
}

class MidiInRtDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override { MELVARIN_REQUIRE_JACK(); }
};

// Delivery tests, which time or count what arrives.
class MidiInRtDeliveryTest : public ::testing::Test {
 protected:
  void SetUp() override { MELVARIN_REQUIRE_JACK_DELIVERY(); }
  void TearDown() override {
    if (device) device->RemoveObserver(&collector);
  }

  // A keyboard of its own for the test, and its input device reporting to `collector`.
  void Connect(const std::string& client) {
    keyboard = std::make_unique<VirtualKeyboard>(client);
    ASSERT_NO_FATAL_FAILURE(Listen(keyboard->Name()));
  }
  void Listen(const std::string& portName) {
    device = OpenInputOf(portName);
    ASSERT_TRUE(device) << "no input device reports " << portName;
    device->AddObserver(&collector);
  }
  // A connection takes effect with one of the server's next cycles, and what an earlier attempt
  // left on its way arrives before a marker sent after it: once the marker is in, the device is
  // live and nothing stale follows. Real time, the marker stays out of the record.
  template <class Keyboard>
  bool Flush(Keyboard& source) {
    source.Send({0xFE});
    const bool live = collector.WaitForLast(0xFE);
    collector.Clear();
    return live;
  }

  EventCollector collector;  // outlives the device that calls it
  std::unique_ptr<VirtualKeyboard> keyboard;
  std::unique_ptr<MidiInRtDevice> device;
};

TEST_F(MidiInRtDeviceTest, EveryPortBecomesADeviceNamedAfterItsOwnPort) {
  VirtualKeyboard first("Melvarin Test Keyboard A");
  VirtualKeyboard second("Melvarin Test Keyboard B");

  const unsigned int count = MidiInRtDevice::GetPortCount();
  ASSERT_GE(count, 2u);
  QSet<QString> names;
  qsizetype opened = 0;
  for (unsigned int port = 0; port < count; ++port) {
    MidiInRtDevice device(port);
    if (!device.IsOk()) continue;  // another program's port that has just gone
    ++opened;
    names << device.GetName();
  }
  EXPECT_EQ(names.size(), opened) << "two devices report one name";
  EXPECT_TRUE(names.contains(QString::fromStdString(first.Name())));
  EXPECT_TRUE(names.contains(QString::fromStdString(second.Name())));

  EXPECT_TRUE(OpenInputOf(second.Name())) << "no device reports " << second.Name();
}

TEST_F(MidiInRtDeviceTest, APortThatIsNotThereLeavesTheDeviceClosed) {
  MidiInRtDevice device(MidiInRtDevice::GetPortCount() + 3);
  EXPECT_FALSE(device.IsOk());
  device.Close();  // closing a device that never opened is harmless
  EXPECT_FALSE(device.IsOk());
}

// Stamps: the seconds add up the gaps between messages; the pulses (768 a second) are those of
// the previous message's time.
TEST_F(MidiInRtDeliveryTest, MessagesHalfASecondApartAreStampedAsTheyArrive) {
  ASSERT_NO_FATAL_FAILURE(Connect("Melvarin Test Stamps"));

  std::vector<MidiEvent> events;
  // Half a second apart as the sender's sleep allows; a loaded machine oversleeps, so the stamps
  // are held against the times the messages were really sent.
  double sentSeconds[3] = {};
  Testing::XrunCounter xruns;
  xruns.RunClean([&] {
    device->Reset();  // a fresh clock for every attempt, which the marker starts at 0
    if (!Flush(*keyboard)) return false;
    const auto first = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i) {
      if (i > 0) std::this_thread::sleep_for(500ms);
      sentSeconds[i] =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - first).count();
      keyboard->Send({0x90, static_cast<unsigned char>(60 + 2 * i), 100});
    }
    const bool complete = collector.WaitFor(3);
    events = collector.Events();
    return complete;
  });
  ASSERT_EQ(events.size(), 3u);
  const double expectedPulses[] = {0.0, sentSeconds[0] * 768, sentSeconds[1] * 768};
  // The stamps are taken when the server's cycle hands the message over, which a busy machine may
  // delay by some milliseconds.
  const double tolerance = 0.08;
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(events[i].GetTime(), sentSeconds[i], tolerance) << "message " << i;
    EXPECT_NEAR(events[i].GetTimePulses(), expectedPulses[i], tolerance * 768) << "message " << i;
    EXPECT_EQ(events[i].GetMessage().GetNote(), 60 + 2 * i);
  }

  // The record keeps everything delivered since the device was made, across resets.
  MidiStream recorded;
  device->GetStream(recorded);
  ASSERT_GE(recorded.GetEvents().size(), 3);
  EXPECT_EQ(recorded.GetEvents().last().GetMessage().GetNote(), 64);
  MidiKeyboardState keys;
  device->GetKeybardState(0, keys);
  EXPECT_EQ(keys.GetKey(64), 100);

  // Reset starts the clock again and releases the keys.
  device->Reset();
  ASSERT_TRUE(device->IsOk());
  device->GetKeybardState(0, keys);
  EXPECT_EQ(keys.GetKey(64), 0);
  xruns.RunClean([&] {
    device->Reset();
    if (!Flush(*keyboard)) return false;
    keyboard->Send({0x80, 64, 0});
    const bool complete = collector.WaitFor(1);
    events = collector.Events();
    return complete;
  });
  ASSERT_EQ(events.size(), 1u);
  EXPECT_NEAR(events[0].GetTime(), 0.0, tolerance);
  EXPECT_EQ(events[0].GetTimePulses(), 0u);
}

// A system-exclusive message that lacks its closing 0xF7 loses itself, not what the keyboard
// plays after it: neither in the next cycles nor in a flood with one such message in eight (and
// now and then a complete one), where every note arrives and no key stays down.
TEST_F(MidiInRtDeliveryTest, ABrokenSystemExclusiveMessageLosesOnlyItself) {
  using Bytes = std::vector<unsigned char>;
  std::vector<Bytes> flood;
  for (int i = 0, played = 0; played < 120; ++i) {
    const auto key = static_cast<unsigned char>(0x3C + played / 2 % 40);
    if (i % 8 == 3)
      flood.push_back({0xF0, 0x43, static_cast<unsigned char>(i & 0x7F)});
    else if (i % 40 == 6)
      flood.push_back({0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7});
    else
      flood.push_back(played++ % 2 ? Bytes{0x80, key, 0} : Bytes{0x90, key, 100});
  }
  const struct {
    const char* keyboard;
    size_t perCycle;
    std::vector<Bytes> sent;
  } cases[] = {
      {"Melvarin Test Broken Sysex", 1, {{0xF0, 0x01, 0x02}, {0x90, 0x3C, 0x40}, {0x80, 0x3C, 0}}},
      {"Melvarin Test Sysex Flood", 16, flood},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keyboard);
    Testing::CycleKeyboard keyboard(c.keyboard, c.perCycle);
    ASSERT_TRUE(keyboard.IsOpen());
    if (device) device->RemoveObserver(&collector);
    ASSERT_NO_FATAL_FAILURE(Listen(keyboard.Name()));
    std::vector<MidiMessage> notes;
    for (const Bytes& bytes : c.sent)
      if ((bytes[0] & 0xE0) == 0x80) notes.emplace_back(bytes[0], bytes[1], bytes[2]);

    std::vector<MidiEvent> events;
    Testing::XrunCounter xruns;
    xruns.RunClean([&] {
      if (!Flush(keyboard)) return false;
      for (const Bytes& message : c.sent) keyboard.Send(message);
      const bool complete = collector.WaitFor(notes.size());
      events = collector.Events();
      return complete;
    });
    ASSERT_EQ(events.size(), notes.size());
    for (size_t i = 0; i < notes.size(); ++i)
      EXPECT_EQ(events[i].GetMessage(), notes[i]) << "message " << i;
    MidiKeyboardState keys;
    device->GetKeybardState(0, keys);
    for (unsigned char key = 0; key < MidiKeyCount; ++key) EXPECT_EQ(keys.GetKey(key), 0) << +key;
  }
}

TEST_F(MidiInRtDeliveryTest, ClosedDeviceReceivesNothing) {
  ASSERT_NO_FATAL_FAILURE(Connect("Melvarin Test Close"));
  device->Close();
  EXPECT_FALSE(device->IsOk());
  keyboard->Send({0x90, 60, 1});
  EXPECT_FALSE(collector.WaitFor(1, 200ms));
}

// The output device, checked at a JACK input port that records what arrives.
class MidiSink {
 public:
  MidiSink() : m_in(RtMidi::UNIX_JACK, "Melvarin Test Sink") {
    m_in.ignoreTypes(false, false, false);
    m_in.setCallback([](double, std::vector<unsigned char>* message,
                        void* self) { static_cast<MidiSink*>(self)->Record(*message); },
                     this);
    m_in.openVirtualPort("in");
  }
  ~MidiSink() {
    m_in.cancelCallback();  // before the members the callback uses go
    m_in.closePort();
  }
  bool WaitFor(size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, 5s, [&] { return m_messages.size() >= count; });
  }
  void Clear() {
    std::lock_guard lock(m_mutex);
    m_messages.clear();
  }
  std::vector<std::vector<unsigned char>> Messages() {
    std::lock_guard lock(m_mutex);
    return m_messages;
  }

 private:
  void Record(const std::vector<unsigned char>& message) {
    {
      std::lock_guard lock(m_mutex);
      m_messages.push_back(message);
    }
    m_changed.notify_all();
  }
  RtMidiIn m_in;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::vector<unsigned char>> m_messages;
};

TEST_F(MidiInRtDeliveryTest, OutputDeviceSendsMessagesAndStopsEveryChannel) {
  MidiSink sink;
  // Ports are addressed by number, and other programs' ports may come and go between the look-up
  // and the opening: the device counts only when it opened the sink's own port.
  std::unique_ptr<MidiOutRtDevice> opened;
  for (int attempt = 0; attempt < 5 && !opened; ++attempt) {
    RtMidiOut lookup(RtMidi::UNIX_JACK, "melvarin-test-lookup");
    const int port = FindPort(lookup, "Melvarin Test Sink:in");
    if (port < 0) continue;
    opened = std::make_unique<MidiOutRtDevice>(static_cast<unsigned int>(port));
    if (!opened->IsOk() || opened->GetName() != "Melvarin Test Sink:in") opened.reset();
  }
  ASSERT_TRUE(opened) << "no output device opened the sink's port";
  MidiOutRtDevice& device = *opened;
  EXPECT_EQ(device.GetVolume(), 0.0);

  std::vector<std::vector<unsigned char>> messages;
  Testing::XrunCounter xruns;
  xruns.RunClean([&] {
    sink.Clear();
    device.SendMessage(MidiMessage(MidiProgramChange, 2, 40));
    device.Stop();
    const bool complete = sink.WaitFor(49);
    messages = sink.Messages();
    return complete;
  });
  ASSERT_EQ(messages.size(), 49u);
  EXPECT_EQ(messages[0], (std::vector<unsigned char>{0xC2, 40}));
  for (unsigned channel = 0; channel < 16; ++channel) {
    const auto status = static_cast<unsigned char>(0xB0 | channel);
    EXPECT_EQ(messages[1 + 3 * channel], (std::vector<unsigned char>{status, 120, 0}));
    EXPECT_EQ(messages[2 + 3 * channel], (std::vector<unsigned char>{status, 121, 0}));
    EXPECT_EQ(messages[3 + 3 * channel], (std::vector<unsigned char>{status, 7, 127}));
  }
  EXPECT_FALSE(MidiOutRtDevice(MidiOutRtDevice::GetPortCount() + 3).IsOk());
}

// The input thread delivers while the GUI thread reads the recorded answer and the keys.
TEST(MidiInRtDeviceThreads, EventsFromTheInputThreadWhileTheGuiThreadReads) {
  MidiInRtDevice device(100000);  // no such port: the device stays closed, events are fed by hand
  EventCollector collector;
  device.AddObserver(&collector);
  std::thread input([&] {
    for (int i = 0; i < 2000; ++i) {
      std::vector<unsigned char> message{0x90, static_cast<unsigned char>(i % 100), 64};
      device.OnRtEvent(0.001, &message);
    }
  });
  MidiStream recorded;
  MidiKeyboardState keys;
  for (int i = 0; i < 200; ++i) {
    device.GetStream(recorded);
    device.GetKeybardState(0, keys);
  }
  input.join();
  device.GetStream(recorded);
  ASSERT_EQ(recorded.GetEvents().size(), 2000);
  EXPECT_NEAR(recorded.GetEvents().last().GetTime(), 2.0, 1e-9);
  EXPECT_EQ(recorded.GetEvents().last().GetTimePulses(), static_cast<unsigned>(768 * 1.999));
  EXPECT_TRUE(collector.WaitFor(2000));
  device.RemoveObserver(&collector);
}

// What a port hands over is walked for the short messages in it: a port may hand over
// system-exclusive data in pieces short enough to look like a message, and RtMidi's ALSA input
// joins a system-exclusive message that lacks its closing 0xF7 with the next event.
TEST(MidiInRtDeviceThreads, ShortMessagesAreRecoveredFromWhatAPortHandsOver) {
  using Bytes = std::vector<unsigned char>;
  const struct {
    Bytes handedOver;
    std::vector<Bytes> delivered;
  } cases[] = {
      {{0x90, 60, 99}, {{0x90, 60, 99}}},
      {{0xF0, 0x7E, 0xF7}, {}},
      {{}, {}},
      {{0xF0, 0x01, 0x02, 0x90, 0x3C, 0x40, 0x80, 0x3C, 0x00},
       {{0x90, 0x3C, 0x40}, {0x80, 0x3C, 0}}},
      // Real time stands alone, even inside another message.
      {{0xF0, 0x01, 0xF8, 0x02, 0x90, 0x3C, 0xFE, 0x40, 0xC0, 0x05, 0xF7},
       {{0xF8}, {0xFE}, {0x90, 0x3C, 0x40}, {0xC0, 0x05}}},
      {{0xF0, 0x43, 0xF2, 0x01, 0x02, 0xF1, 0x05, 0xF6, 0xF4, 0x10},
       {{0xF2, 1, 2}, {0xF1, 5}, {0xF6}}},
      // A message cut short, or data bytes that belong to none, are dropped.
      {{0x90, 0x3C, 0x90, 0x3D, 0x41, 0x3E, 0x42, 0xB0}, {{0x90, 0x3D, 0x41}}},
  };
  MidiInRtDevice device(100000);  // no such port: events are fed by hand
  EventCollector collector;
  device.AddObserver(&collector);
  std::vector<std::pair<Bytes, double>> expected;
  double seconds = 0.0;
  for (const auto& c : cases) {
    Bytes message = c.handedOver;
    device.OnRtEvent(0.25, &message);
    seconds += 0.25;  // the time of dropped data still counts
    for (const Bytes& bytes : c.delivered) expected.emplace_back(bytes, seconds);
  }
  const std::vector<MidiEvent> events = collector.Events();
  ASSERT_EQ(events.size(), expected.size());
  for (size_t i = 0; i < events.size(); ++i) {
    const Bytes& bytes = expected[i].first;
    EXPECT_EQ(events[i].GetMessage(), MidiMessage(bytes.data(), bytes.size())) << "event " << i;
    EXPECT_DOUBLE_EQ(events[i].GetTime(), expected[i].second) << "event " << i;
  }

  // An idle keyboard's clock reaches the observers but not the record, which would otherwise
  // grow for as long as the keyboard is plugged in; the table's two real-time bytes are not in it
  // either.
  std::vector<unsigned char> clock{0xF8};
  for (int i = 0; i < 10000; ++i) device.OnRtEvent(0.0, &clock);
  EXPECT_EQ(collector.Events().size(), expected.size() + 10000);
  MidiStream recorded;
  device.GetStream(recorded);
  EXPECT_EQ(recorded.GetEvents().size(), expected.size() - 2);
  device.RemoveObserver(&collector);
}

// Without an ALSA sequencer, forcing ALSA makes port counting fail: that is reported as an Error
// carrying the library's error type, not as a crash.
TEST(MidiPortCount, FailureToCountIsAnErrorWithTheLibrarysType) {
  if (QFile::exists("/dev/snd/seq")) GTEST_SKIP() << "This machine has an ALSA sequencer.";
  qputenv("MELVARIN_MIDI_API", "alsa");
  try {
    MidiInRtDevice::GetPortCount();
    FAIL() << "counting succeeded without a sequencer";
  } catch (const Error& error) {
    EXPECT_EQ(error.GetCode(), 0x300 + RtMidiError::DRIVER_ERROR);
    EXPECT_FALSE(error.GetMessage().isEmpty());
    EXPECT_STREQ(error.GetFunction(), "GetPortCount");
  }
  EXPECT_EQ(MidiOutRtDevice::GetPortCount(), 0u);
  EXPECT_FALSE(MidiInRtDevice(0).IsOk());
}

}  // namespace
}  // namespace Core
