#include "src/core/midi/platform/sound_controller.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QThread>

#include <map>

#include "src/core/midi/error.h"
#include "src/core/midi/platform/midi_device_rt.h"
#include "tests/src/core/midi/platform/jack_test_support.h"

namespace Core {
namespace {

// An input port stand-in that opens or fails as told.
class FakeInput : public MidiInDeviceBase {
 public:
  FakeInput(unsigned int port, bool ok) : m_port(port), m_ok(ok) {}
  QString GetName() const override { return QStringLiteral("port %1").arg(m_port); }
  bool IsOk() const override { return m_ok; }

 private:
  unsigned int m_port;
  bool m_ok;
};

class FakeSynthesizer : public MidiOutDevice {
 public:
  QString GetName() const override { return QStringLiteral("Software Synthesizer"); }
  void Reset() override {}
  void Stop() override {}
  void SendMessage(const MidiMessage&) override {}
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}
};

// A MIDI system whose ports are listed in `ports` (true: opens) and which can refuse counting.
struct FakeMidiSystem {
  std::vector<bool> ports;
  bool countingFails = false;
  int synthesizersMade = 0;

  SoundDeviceFactory Factory() {
    SoundDeviceFactory factory;
    factory.countInputPorts = [this]() -> unsigned int {
      if (countingFails) throw MELVARIN_ERROR(Error::MidiPorts + 8, QStringLiteral("no sequencer"));
      return static_cast<unsigned int>(ports.size());
    };
    factory.openInput = [this](unsigned int port) -> std::shared_ptr<MidiInDevice> {
      return std::make_shared<FakeInput>(port, ports.at(port));
    };
    factory.createSynthesizer = [this]() -> std::shared_ptr<MidiOutDevice> {
      ++synthesizersMade;
      return std::make_shared<FakeSynthesizer>();
    };
    return factory;
  }
};

TEST(SoundController, PortsThatFailToOpenAreLeftOutAndTheLastInputIsSelected) {
  FakeMidiSystem midi{{true, false, true}};
  SoundController controller(midi.Factory());
  ASSERT_EQ(controller.GetInputMidiDeviceCount(), 2u);
  EXPECT_EQ(controller.GetInputMidiDevice(0)->GetName(), "port 0");
  EXPECT_EQ(controller.GetInputMidiDevice(1)->GetName(), "port 2");
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), 1u);
  EXPECT_EQ(controller.GetOutputMidiDeviceCount(), 1u);
  EXPECT_EQ(controller.GetSelectedOutputMidiDevice(), 0u);
  EXPECT_EQ(controller.GetOutputWaveDeviceCount(), 0u);
  EXPECT_EQ(controller.GetSelectedOutputWaveDevice(), SoundController::NoSelection);
  EXPECT_EQ(controller.GetOutputMidiDevice(), controller.GetOutputMidiDevice(0));
}

TEST(SoundController, WhenPortsCannotBeCountedItStartsWithTheSynthesizerAlone) {
  FakeMidiSystem midi{{true}, true};
  std::unique_ptr<SoundController> controller;
  ASSERT_NO_THROW(controller = std::make_unique<SoundController>(midi.Factory()));
  EXPECT_EQ(controller->GetInputMidiDeviceCount(), 0u);
  EXPECT_EQ(controller->GetSelectedInputMidiDevice(), SoundController::NoSelection);
  ASSERT_TRUE(controller->GetOutputMidiDevice());
  EXPECT_EQ(controller->GetOutputMidiDevice()->GetName(), "Software Synthesizer");

  // Counting that recovers brings the ports in; failing again empties the list.
  midi.countingFails = false;
  EXPECT_TRUE(controller->UpdateDevices());
  EXPECT_EQ(controller->GetInputMidiDeviceCount(), 1u);
  midi.countingFails = true;
  EXPECT_TRUE(controller->UpdateDevices());
  EXPECT_EQ(controller->GetInputMidiDeviceCount(), 0u);
  EXPECT_FALSE(controller->UpdateDevices());
  EXPECT_EQ(midi.synthesizersMade, 1);
}

TEST(SoundController, EveryUpdateRebuildsTheInputsAndResetsTheSelections) {
  FakeMidiSystem midi{{true, true}};
  SoundController controller(midi.Factory());
  const auto synthesizer = controller.GetOutputMidiDevice(0);
  const auto oldFirst = controller.GetInputMidiDevice(0);
  controller.SelectInputMidiDevice(0ul);
  controller.SelectOutputMidiDevice(SoundController::NoSelection);
  EXPECT_FALSE(controller.GetOutputMidiDevice());

  EXPECT_TRUE(controller.UpdateDevices());
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), 1u);
  EXPECT_EQ(controller.GetSelectedOutputMidiDevice(), 0u);
  EXPECT_NE(controller.GetInputMidiDevice(0), oldFirst);
  EXPECT_TRUE(controller.UpdateDevices());
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), 1u);
  EXPECT_EQ(controller.GetOutputMidiDevice(0), synthesizer);
  EXPECT_EQ(midi.synthesizersMade, 1);

  midi.ports.clear();
  EXPECT_TRUE(controller.UpdateDevices());  // the old inputs went away
  EXPECT_FALSE(controller.UpdateDevices());
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), SoundController::NoSelection);
}

TEST(SoundController, SelectingByNamePicksTheFirstMatchOrKeepsTheSelection) {
  FakeMidiSystem none;
  SoundController empty(none.Factory());
  EXPECT_FALSE(empty.SelectInputMidiDevice(QString()));

  FakeMidiSystem midi{{true, true, true}};
  SoundController controller(midi.Factory());
  EXPECT_TRUE(controller.SelectInputMidiDevice(QStringLiteral("port 1")));
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), 1u);
  EXPECT_FALSE(controller.SelectInputMidiDevice(QStringLiteral("Unplugged Keyboard")));
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), 1u);
}

int handlerCalls = 0;
bool handlerOnGuiThread = true;
void CountingHandler() {
  ++handlerCalls;
  handlerOnGuiThread = handlerOnGuiThread && QThread::currentThread() == qApp->thread();
}

// ---- the real MIDI system and synthesizer ----

TEST(SoundControllerOnJack, EachJackSourceBecomesAnInputNamedAfterItsPort) {
  MELVARIN_REQUIRE_JACK_DELIVERY();
  Testing::EventCollector collector;  // outlives the devices that call it
  Testing::JackKeyboard keyboard("Melvarin Stage Piano");
  ASSERT_TRUE(keyboard.IsOpen());

  SoundController controller;
  // Other programs on the same server may add or remove ports meanwhile; an enumeration counts
  // when the number of ports stayed the same around it.
  unsigned int ports = MidiInRtDevice::GetPortCount();
  for (int attempt = 0; attempt < 3; ++attempt) {
    controller.UpdateDevices();
    const unsigned int after = MidiInRtDevice::GetPortCount();
    if (after == ports) break;
    ports = after;
  }
  ASSERT_EQ(controller.GetInputMidiDeviceCount(), ports);
  ASSERT_TRUE(controller.SelectInputMidiDevice(QStringLiteral("Melvarin Stage Piano:out")));
  ASSERT_TRUE(controller.GetOutputMidiDevice());
  EXPECT_EQ(controller.GetOutputMidiDevice()->GetName(), "Software Synthesizer");

  // The selected device delivers what the keyboard plays.
  auto input = controller.GetInputMidiDevice(controller.GetSelectedInputMidiDevice());
  input->AddObserver(&collector);
  bool arrived = false;
  Testing::XrunCounter xruns;
  xruns.RunClean([&] {
    keyboard.Send({0x90, 61, 70});
    arrived = collector.WaitFor(1);
    return arrived;
  });
  EXPECT_TRUE(arrived);
  input->RemoveObserver(&collector);
}

TEST(SoundControllerOnJack, APortAppearingOrVanishingRaisesTheNoticeOnTheGuiThread) {
  MELVARIN_REQUIRE_JACK();
  Testing::ForeignPortChanges foreign;  // from before anything the notices could be about
  ASSERT_TRUE(foreign.IsOpen());
  SoundController::SetMidiDeviceHandler(&CountingHandler);
  SoundController controller;
  // A keyboard plugged in once the controller watches: its notice is the last one that anything
  // before the rescans sets off.
  handlerCalls = 0;
  Testing::JackKeyboard present("Melvarin Present Keyboard");
  ASSERT_TRUE(present.IsOpen());
  QTRY_VERIFY_WITH_TIMEOUT(handlerCalls >= 1, Testing::PatienceMs);
  controller.UpdateDevices();
  ASSERT_GE(controller.GetInputMidiDeviceCount(), 1u);
  const int foreignBefore = foreign.Count();
  handlerOnGuiThread = true;

  // Reopening the controller's own input ports is no set-up change: a rescan must not set off
  // the next one. Every notice that follows it must be explained by some other program's port
  // coming or going meanwhile; with nothing else on the server there is none. A notice that
  // should not come cannot be waited for: each rescan is watched for a while.
  constexpr int WatchedMs = 300;
  for (int rescan = 0; rescan < 3; ++rescan) {
    handlerCalls = 0;
    controller.UpdateDevices();
    QTest::qWait(WatchedMs);
    EXPECT_LE(handlerCalls, foreign.Count() - foreignBefore) << "rescan " << rescan;
  }

  handlerCalls = 0;
  auto keyboard = std::make_unique<Testing::JackKeyboard>("Melvarin Hotplug Keyboard");
  ASSERT_TRUE(keyboard->IsOpen());
  QTRY_VERIFY_WITH_TIMEOUT(handlerCalls >= 1, Testing::PatienceMs);
  const int afterPlug = handlerCalls;
  EXPECT_TRUE(controller.UpdateDevices());

  keyboard.reset();
  QTRY_VERIFY_WITH_TIMEOUT(handlerCalls > afterPlug, Testing::PatienceMs);
  EXPECT_TRUE(handlerOnGuiThread);
  SoundController::SetMidiDeviceHandler(nullptr);
}

TEST(SoundControllerWithoutMidi, StartsWithNoInputsAndTheSynthesizer) {
  if (QFile::exists("/dev/snd/seq")) GTEST_SKIP() << "This machine has an ALSA sequencer.";
  qputenv("MELVARIN_MIDI_API", "alsa");  // an ALSA sequencer that is not there
  SoundController controller;
  EXPECT_EQ(controller.GetInputMidiDeviceCount(), 0u);
  EXPECT_EQ(controller.GetSelectedInputMidiDevice(), SoundController::NoSelection);
  ASSERT_EQ(controller.GetOutputMidiDeviceCount(), 1u);
  ASSERT_TRUE(controller.GetOutputMidiDevice());
  controller.GetOutputMidiDevice()->SendMessage(MidiMessage(MidiNoteOn, 0, 60, 90));
  controller.GetOutputMidiDevice()->Stop();
  EXPECT_FALSE(controller.UpdateDevices());
}

}  // namespace
}  // namespace Core
