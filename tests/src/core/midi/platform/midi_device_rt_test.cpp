#include "src/core/midi/platform/midi_device_rt.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSet>

#include <cmath>
#include <future>
#include <thread>

#include "src/core/midi/error.h"
#include "tests/src/core/midi/platform/jack_test_support.h"
#include "tests/src/core/midi/platform/slow_output_cycles.h"
#include "tests/src/core/midi/wait_until.h"

namespace Core {
namespace {

using namespace std::chrono_literals;
using Testing::EventCollector;
using Testing::FindPort;
using Testing::JackKeyboard;

// Opens the device of the JACK port `portName`, found among the ports that `Lookup` (RtMidiIn for
// sources, RtMidiOut for destinations) counts. Ports are addressed by number, and other programs'
// ports may come and go between the look-up and the opening (tests share one JACK server): the
// device counts only when it reports the port's own name.
// On a busy machine the server may also take too long to let a client in: the opening is tried
// again until it succeeds or a generous time has passed.
template <class Device, class Lookup>
std::unique_ptr<Device> OpenDeviceOf(const std::string& portName) {
  std::unique_ptr<Device> device;
  Testing::WaitUntil(
      [&] {
        Lookup lookup(RtMidi::UNIX_JACK, "melvarin-test-lookup");
        const int port = FindPort(lookup, portName);
        if (port < 0) return false;
        device = std::make_unique<Device>(static_cast<unsigned int>(port));
        if (device->IsOk() && device->GetName() == QString::fromStdString(portName)) return true;
        device.reset();
        return false;
      },
      std::chrono::seconds(30));
  return device;
}

std::unique_ptr<MidiInRtDevice> OpenInputOf(const std::string& portName) {
  return OpenDeviceOf<MidiInRtDevice, RtMidiIn>(portName);
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
    keyboard = std::make_unique<JackKeyboard>(client);
    ASSERT_TRUE(keyboard->IsOpen());
    ASSERT_NO_FATAL_FAILURE(Listen(keyboard->Name()));
  }
  void Listen(const std::string& portName) {
    if (device) device->RemoveObserver(&collector);
    device = OpenInputOf(portName);
    ASSERT_TRUE(device) << "no input device reports " << portName;
    device->AddObserver(&collector);
  }
  // A connection takes effect with one of the server's next cycles, and what an earlier attempt
  // left on its way arrives before a marker sent after it: once the marker is in, the device is
  // live and nothing stale follows. Real time, the marker stays out of the record.
  bool Flush(JackKeyboard& source) {
    collector.Clear();  // a marker of an earlier flush or attempt must not end this one's wait
    source.Send({0xFE});
    const bool live = collector.WaitForLast(0xFE);
    collector.Clear();
    return live;
  }

  EventCollector collector;  // outlives the device that calls it
  std::unique_ptr<JackKeyboard> keyboard;
  std::unique_ptr<MidiInRtDevice> device;
};

TEST_F(MidiInRtDeviceTest, EveryPortBecomesADeviceNamedAfterItsOwnPort) {
  JackKeyboard first("Melvarin Test Keyboard A");
  JackKeyboard second("Melvarin Test Keyboard B");
  ASSERT_TRUE(first.IsOpen() && second.IsOpen());

  const unsigned int count = MidiInRtDevice::GetPortCount();
  ASSERT_GE(count, 2u);
  QSet<QString> names;
  qsizetype opened = 0;
  for (unsigned int port = 0; port < count; ++port) {
    MidiInRtDevice device(port);
    if (!device.IsOk()) continue;  // another program's port that has just gone, or a busy server
    ++opened;
    names << device.GetName();
  }
  EXPECT_EQ(names.size(), opened) << "two devices report one name";
  // The keyboards' ports, opened by their numbers, each report their own port.
  EXPECT_TRUE(OpenInputOf(first.Name())) << "no device reports " << first.Name();
  EXPECT_TRUE(OpenInputOf(second.Name())) << "no device reports " << second.Name();
}

TEST_F(MidiInRtDeviceTest, APortThatIsNotThereLeavesTheDeviceClosed) {
  MidiInRtDevice device(MidiInRtDevice::GetPortCount() + 3);
  EXPECT_FALSE(device.IsOk());
  device.Close();  // closing a device that never opened is harmless
  EXPECT_FALSE(device.IsOk());
}

// Seconds from the server's time of the keyboard's message number `from` to that of each of the
// `count` messages after it. A server that stalls sets its clock again, and a later message may
// then have an earlier time: the difference is signed.
std::vector<double> SecondsSince(const JackKeyboard& keyboard, size_t from, size_t count) {
  std::vector<double> seconds;
  for (size_t n = from + 1; n <= from + count; ++n)
    seconds.push_back(static_cast<double>(static_cast<int64_t>(keyboard.SentAt(n)) -
                                          static_cast<int64_t>(keyboard.SentAt(from))) *
                      1e-6);
  return seconds;
}

// Both ends work out the time of the same frames; a millisecond is some fifty frames.
constexpr double StampTolerance = 0.001;

// Whether the stamps of an attempt are the program's to answer for. A client still busy with a
// cycle when the server has begun the next one reads the server's time of the new cycle, and what
// it reads then is stamped late, or (when that is the marker the clock starts at) what follows
// early; the keyboard's client may read the same way. Stamps that agree with the keyboard's times
// are judged. Stamps that do not are judged only when the server missed no cycle since the
// attempt began (`before` notices), counted once its notices have caught up, and no stamp is off
// by whole cycles, the mark of a late cycle by itself.
bool StampsAreTheDevicesOwn(Testing::XrunCounter& xruns, int before,
                            const std::vector<MidiEvent>& events, const std::vector<double>& sent,
                            double cycleSeconds) {
  bool agree = events.size() == sent.size();
  bool wholeCyclesOff = false;
  for (size_t i = 0; i < events.size() && i < sent.size(); ++i) {
    const double off = events[i].GetTime() - sent[i];
    const double cycles = std::round(off / cycleSeconds);
    agree = agree && std::abs(off) <= StampTolerance;
    wholeCyclesOff =
        wholeCyclesOff || (cycles != 0 && std::abs(off - cycles * cycleSeconds) <= StampTolerance);
  }
  if (agree) return true;
  return xruns.CaughtUp() && xruns.Count() == before && !wholeCyclesOff;
}

// What the stamps are held against once no attempt was clean. When every attempt's marker was
// read in another cycle than the keyboard's, every stamp after it is off by the same whole cycles:
// the clock started a cycle away, and the gaps between the messages are still judged. Any other
// difference counts in full.
std::vector<double> ExpectedStamps(bool clean, const std::vector<MidiEvent>& events,
                                   std::vector<double> sent, double cycleSeconds) {
  if (clean || events.empty() || sent.empty()) return sent;
  const double off = events[0].GetTime() - sent[0];
  const double shift = std::round(off / cycleSeconds) * cycleSeconds;
  if (std::abs(off - shift) > StampTolerance) return sent;
  for (double& seconds : sent) seconds += shift;
  return sent;
}

// Stamps: the seconds add up the gaps between the messages as the server timed them, and the
// pulses (768 a second) are those of the previous message's time. They are held against the times
// of the keyboard's cycles that sent the messages, which a busy machine may delay by any amount.
// An attempt whose stamps went wrong with a late cycle is made again, like one during which cycles
// were missed: a device that stamps wrong every time still fails. When none of the attempts was
// clean, the last is judged by the gaps between its stamps if its clock started whole cycles away.
TEST_F(MidiInRtDeliveryTest, MessagesHalfASecondApartAreStampedAsTheyArrive) {
  ASSERT_NO_FATAL_FAILURE(Connect("Melvarin Test Stamps"));

  // What an attempt saw is kept together: a later attempt that fails has already reset the keys.
  std::vector<MidiEvent> events;
  std::vector<double> sent;
  MidiKeyboardState keys;
  Testing::XrunCounter xruns;
  bool clean = xruns.RunClean([&] {
    const int before = xruns.Count();
    device->Reset();  // a fresh clock for every attempt, which the marker starts at 0
    if (!Flush(*keyboard)) return false;
    const size_t marker = keyboard->SentCount() - 1;
    for (int i = 0; i < 3; ++i) {
      if (i > 0) std::this_thread::sleep_for(500ms);
      keyboard->Send({0x90, static_cast<unsigned char>(60 + 2 * i), 100});
    }
    const bool complete = collector.WaitFor(3);
    events = collector.Events();
    sent = SecondsSince(*keyboard, marker, 3);
    device->GetKeybardState(0, keys);
    return complete &&
           StampsAreTheDevicesOwn(xruns, before, events, sent, keyboard->CycleSeconds());
  });
  ASSERT_EQ(events.size(), 3u);
  std::vector<double> expected = ExpectedStamps(clean, events, sent, keyboard->CycleSeconds());
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_NEAR(events[i].GetTime(), expected[i], StampTolerance) << "message " << i;
    const double before = i == 0 ? 0.0 : events[i - 1].GetTime();
    EXPECT_EQ(events[i].GetTimePulses(), static_cast<unsigned int>(768 * before))
        << "message " << i;
    EXPECT_EQ(events[i].GetMessage().GetNote(), 60 + 2 * i);
  }
  EXPECT_GT(events[2].GetTime(), 0.9) << "the messages went out half a second apart";

  // The record keeps everything delivered since the device was made, across resets.
  MidiStream recorded;
  device->GetStream(recorded);
  ASSERT_GE(recorded.GetEvents().size(), 3);
  EXPECT_EQ(recorded.GetEvents().last().GetMessage().GetNote(), 64);
  EXPECT_EQ(keys.GetKey(64), 100);

  // Reset starts the clock again and releases the keys.
  device->Reset();
  ASSERT_TRUE(device->IsOk());
  device->GetKeybardState(0, keys);
  EXPECT_EQ(keys.GetKey(64), 0);
  clean = xruns.RunClean([&] {
    const int before = xruns.Count();
    device->Reset();
    if (!Flush(*keyboard)) return false;
    const size_t marker = keyboard->SentCount() - 1;
    keyboard->Send({0x80, 64, 0});
    const bool complete = collector.WaitFor(1);
    events = collector.Events();
    sent = SecondsSince(*keyboard, marker, 1);
    return complete &&
           StampsAreTheDevicesOwn(xruns, before, events, sent, keyboard->CycleSeconds());
  });
  ASSERT_EQ(events.size(), 1u);
  expected = ExpectedStamps(clean, events, sent, keyboard->CycleSeconds());
  EXPECT_NEAR(events[0].GetTime(), expected[0], StampTolerance);
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
    JackKeyboard keyboard(c.keyboard, c.perCycle);
    ASSERT_TRUE(keyboard.IsOpen());
    ASSERT_NO_FATAL_FAILURE(Listen(keyboard.Name()));
    std::vector<MidiMessage> notes;
    for (const Bytes& bytes : c.sent)
      if ((bytes[0] & 0xE0) == 0x80) notes.emplace_back(bytes[0], bytes[1], bytes[2]);

    std::vector<MidiEvent> events;
    Testing::XrunCounter xruns;
    xruns.RunClean([&] {
      if (!Flush(keyboard)) return false;
      for (const Bytes& message : c.sent) keyboard.Send(message);
      // The marker after the last message ends the wait as soon as all that came has come, so
      // that an attempt whose cycles were missed is repeated at once.
      keyboard.Send({0xFE});
      const bool ended = collector.WaitForLast(0xFE);
      events = collector.Events();
      if (ended) events.pop_back();
      return ended && events.size() == notes.size();
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
  // The port goes first (its member is the last), and with it the client whose process thread
  // calls Record: a callback still running as the test ends would otherwise record into members
  // already gone.
  ~MidiSink() = default;
  static std::string Name() { return "Melvarin Test Sink:in"; }
  bool WaitFor(size_t count) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, 10s, [&] { return m_messages.size() >= count; });
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
  std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::vector<unsigned char>> m_messages;
  RtMidiIn m_in;
};

std::unique_ptr<MidiOutRtDevice> OpenOutputTo(const MidiSink& sink) {
  return OpenDeviceOf<MidiOutRtDevice, RtMidiOut>(sink.Name());
}

TEST_F(MidiInRtDeliveryTest, OutputDeviceSendsMessagesAndStopsEveryChannel) {
  MidiSink sink;
  std::unique_ptr<MidiOutRtDevice> opened = OpenOutputTo(sink);
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

// Closing while a cycle of the closing client runs: every output cycle is slowed down, so that
// each closing almost surely meets one. The test keyboard and the output device each send, then
// close with messages still on their way, twenty times over; a cycle that read their queue after
// it was gone would crash the test or garble what arrives.
TEST_F(MidiInRtDeliveryTest, AKeyboardClosedInTheMiddleOfItsCycleLeavesNothingBehind) {
  const int slowedBefore = Testing::SlowOutputCycles::Count();
  Testing::SlowOutputCycles slow(3ms);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    JackKeyboard closing("Melvarin Test Closing Keys");
    ASSERT_TRUE(closing.IsOpen());
    ASSERT_NO_FATAL_FAILURE(Listen(closing.Name()));
    bool live = false;
    Testing::XrunCounter().RunClean([&] { return live = Flush(closing); });
    EXPECT_TRUE(live) << "nothing came through the keyboard";
    for (int note = 0; note < 16; ++note) closing.Press(60 + note);
  }
  EXPECT_GT(Testing::SlowOutputCycles::Count() - slowedBefore, 20);
}

TEST_F(MidiInRtDeliveryTest, AnOutputDeviceClosedInTheMiddleOfItsCycleLeavesNothingBehind) {
  MidiSink sink;
  const int slowedBefore = Testing::SlowOutputCycles::Count();
  Testing::SlowOutputCycles slow(3ms);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    std::unique_ptr<MidiOutRtDevice> output = OpenOutputTo(sink);
    ASSERT_TRUE(output) << "no output device opened the sink's port";
    bool arrived = false;
    Testing::XrunCounter().RunClean([&] {
      sink.Clear();
      output->SendMessage(MidiMessage(MidiNoteOn, 0, 60, 100));
      return arrived = sink.WaitFor(1);
    });
    EXPECT_TRUE(arrived) << "nothing came through the device";
    output->Stop();  // 48 messages, still on their way as the device closes
    output->Close();
    EXPECT_FALSE(output->IsOk());
    if (round % 2) output->Reset();  // reopened, then let go of without a Close of its own
  }
  EXPECT_GT(Testing::SlowOutputCycles::Count() - slowedBefore, 20);
  for (const std::vector<unsigned char>& message : sink.Messages())
    EXPECT_EQ(message.size(), 3u) << "a garbled message";
}

// The input thread delivers while the GUI thread reads the recorded answer and the keys.
TEST(MidiInRtDeviceThreads, EventsFromTheInputThreadWhileTheGuiThreadReads) {
  EventCollector collector;       // outlives the device, whose thread may still be telling it
  MidiInRtDevice device(100000);  // no such port: the device stays closed, events are fed by hand
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
  // Each event is recorded as it is delivered, on the device's delivering thread.
  ASSERT_TRUE(collector.WaitFor(2000));
  device.GetStream(recorded);
  ASSERT_EQ(recorded.GetEvents().size(), 2000);
  EXPECT_NEAR(recorded.GetEvents().last().GetTime(), 2.0, 1e-9);
  EXPECT_EQ(recorded.GetEvents().last().GetTimePulses(), static_cast<unsigned>(768 * 1.999));
  device.RemoveObserver(&collector);
}

// An observer that waits, as the exercise does for its lock while another thread holds it, keeps
// the input thread waiting for nothing: the keys it hands over meanwhile come late, in order,
// none lost. JACK's process thread that waited would miss its cycles and the keys in them.
TEST(MidiInRtDeviceThreads, AnObserverThatWaitsMakesKeysLateNeverLost) {
  EventCollector collector;  // outlives the device, whose thread may still be telling it
  std::promise<void> open;
  std::shared_future<void> gate = open.get_future().share();
  struct WaitingObserver : Core::MidiDeviceObserver {
    std::shared_future<void> gate;
    EventCollector* next = nullptr;
    void OnMidiEvent(const MidiEvent& event) override {
      gate.wait();
      next->OnMidiEvent(event);
    }
  } waiting;
  waiting.gate = gate;
  waiting.next = &collector;
  MidiInRtDevice device(100000);  // no such port: events are fed by hand
  device.AddObserver(&waiting);
  constexpr int Keys = 500;
  EXPECT_TRUE(Testing::FinishesOnAnotherThread([&device] {
    for (int i = 0; i < Keys; ++i) {
      std::vector<unsigned char> message{0x90, static_cast<unsigned char>(i % 128), 64};
      device.OnRtEvent(0.001, &message);
    }
  })) << "the input thread waited for the observer";
  open.set_value();
  ASSERT_TRUE(collector.WaitFor(Keys));
  const std::vector<MidiEvent> events = collector.Events();
  for (int i = 0; i < Keys; ++i) {
    EXPECT_EQ(events[i].GetMessage().GetNote(), i % 128) << i;
    EXPECT_NEAR(events[i].GetTime(), 0.001 * (i + 1), 1e-9) << i;
  }
  device.RemoveObserver(&waiting);
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
  EventCollector collector;       // outlives the device, whose thread may still be telling it
  MidiInRtDevice device(100000);  // no such port: events are fed by hand
  device.AddObserver(&collector);
  std::vector<std::pair<Bytes, double>> expected;
  double seconds = 0.0;
  for (const auto& c : cases) {
    Bytes message = c.handedOver;
    device.OnRtEvent(0.25, &message);
    seconds += 0.25;  // the time of dropped data still counts
    for (const Bytes& bytes : c.delivered) expected.emplace_back(bytes, seconds);
  }
  // The observers hear them on the device's own delivering thread.
  ASSERT_TRUE(collector.WaitFor(expected.size()));
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
  for (int round = 1; round <= 10; ++round) {
    for (int i = 0; i < 1000; ++i) device.OnRtEvent(0.0, &clock);
    ASSERT_TRUE(collector.WaitFor(expected.size() + round * 1000u));
  }
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
