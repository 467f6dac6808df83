#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "recording_devices.h"
#include "src/core/midi/midi_connector.h"

namespace Core {
namespace {

using ::testing::ElementsAre;
using Testing::FedInDevice;
using Testing::RecordingOutDevice;

MidiMessage Note(int note) {
  return MidiMessage(MidiNoteOn, 0, static_cast<unsigned char>(note), 100);
}

class MidiDeviceConnectorTest : public ::testing::Test {
 protected:
  std::shared_ptr<FedInDevice> first = std::make_shared<FedInDevice>();
  std::shared_ptr<FedInDevice> second = std::make_shared<FedInDevice>();
  std::shared_ptr<RecordingOutDevice> output = std::make_shared<RecordingOutDevice>();
};

TEST_F(MidiDeviceConnectorTest, ANewDeviceUnderAKnownNameReplacesTheOldOne) {
  MidiDeviceConnector connector(first, output);
  connector.AppendMidiInDevice(DEFAULT_MIDI_IN, second);
  first->Feed(Note(60));
  second->Feed(Note(62));
  EXPECT_THAT(output->Notes(), ElementsAre(62));
  EXPECT_EQ(connector.GetMidiInDevice(DEFAULT_MIDI_IN), second);
}

TEST_F(MidiDeviceConnectorTest, RemovingANameStopsItsDeviceButNotTheSameDeviceUnderAnotherName) {
  MidiDeviceConnector connector(output);
  connector.RemoveMidiInDevice("absent");  // nothing happens
  EXPECT_EQ(connector.GetMidiInDevice("absent"), nullptr);
  EXPECT_DOUBLE_EQ(connector.GetVolume("absent"), 0.0);
  connector.SetVolume("absent", 0.3);

  connector.AppendMidiInDevice("a", first);
  connector.AppendMidiInDevice("b", first);
  connector.RemoveMidiInDevice("a");
  first->Feed(Note(60));
  connector.RemoveMidiInDevice("b");
  first->Feed(Note(62));
  EXPECT_THAT(output->Notes(), ElementsAre(60));
}

TEST_F(MidiDeviceConnectorTest, ADestroyedConnectorNoLongerObservesItsInputs) {
  {
    MidiDeviceConnector connector(first, output);
    connector.AppendMidiInDevice("other", second);
  }
  first->Feed(Note(60));  // would reach a destroyed connector if it were still registered
  second->Feed(Note(62));
  EXPECT_EQ(output->Count(), 0u);
}

TEST_F(MidiDeviceConnectorTest, MissingDevicesAreRejected) {
  EXPECT_DEATH(MidiDeviceConnector(nullptr, output),
               "Assertion failed: in.get\\(\\) && MidiOut.get\\(\\)");
  EXPECT_DEATH(MidiDeviceConnector(first, nullptr), "in.get\\(\\) && MidiOut.get\\(\\)");
  EXPECT_DEATH(MidiDeviceConnector(nullptr), "Assertion failed: MidiOut.get\\(\\)");
  MidiDeviceConnector connector(output);
  EXPECT_DEATH(connector.AppendMidiInDevice("x", nullptr), "Assertion failed: device.get\\(\\)");
}

}  // namespace
}  // namespace Core
