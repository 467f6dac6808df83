#include "src/core/midi/platform/midi_device_rt.h"

#include "src/common/assertion.h"
#include "src/core/midi/error.h"
#include "src/core/midi/platform/jack_midi_input.h"
#include "src/core/midi/platform/jack_midi_output.h"
#include "src/core/midi/platform/midi_api.h"
#include "src/core/midi/platform/midi_input_queue.h"
#include "src/core/midi/platform/short_messages.h"
#include "src/core/midi/platform/silence_outputs.h"

namespace Core {

namespace {

const char* const InputClientName = "RtMidi Input Client";
const char* const InputPortName = "RtMidi Input";
const char* const OutputClientName = "RtMidi Output Client";
const char* const OutputPortName = "RtMidi Output";
constexpr unsigned int InputQueueLimit = 100;

}  // namespace

// ---- input ----

MidiInRtDevice::MidiInRtDevice(unsigned int port) : m_port(port) {
  MidiInRtDevice::Reset();
}

MidiInRtDevice::~MidiInRtDevice() {
  MidiInRtDevice::Close();
}

void MidiInRtDevice::Reset() {
  Close();
  MidiInDeviceBase::Reset();
  m_seconds = 0.0;
  m_queue =
      std::make_unique<MidiInputQueue>([this](const MidiEvent& event) { ProcessEvent(event); });
  const RtMidi::Api api = ChooseMidiApi();
  if (api == RtMidi::UNIX_JACK) {
    m_jackInput = JackMidiInput::Open(InputClientName, InputPortName, m_port,
                                      &RtEventHandler::OnRtEvent, this);
    if (m_jackInput) m_name = m_jackInput->SourceName();
    return;
  }
  try {
    auto input = std::make_shared<RtMidiIn>(api, InputClientName, InputQueueLimit);
    // Some back ends quietly connect nothing for a port number they do not have; a port that is
    // not there counts as one that failed to open.
    if (m_port >= input->getPortCount()) return;
    input->setCallback(&RtEventHandler::OnRtEvent, this);
    input->ignoreTypes(false, false, false);
    input->openPort(m_port, InputPortName);
    m_name = QString::fromStdString(input->getPortName(m_port));
    m_input = std::move(input);
  } catch (const RtMidiError&) {
    m_input.reset();
  }
}

void MidiInRtDevice::Close() {
  m_jackInput.reset();  // stops its callback before it goes
  if (m_input) {
    // The callback goes first, so that no event reaches a device whose port is closing.
    try {
      m_input->cancelCallback();
      m_input->closePort();
    } catch (const RtMidiError&) {
    }
    m_input.reset();
  }
  // With the callbacks stopped: what they queued is delivered before the queue goes.
  m_queue.reset();
}

QString MidiInRtDevice::GetName() const {
  MELVARIN_ASSERT(IsOk());
  return m_name;
}

void MidiInRtDevice::OnRtEvent(double delta, std::vector<unsigned char>* message) {
  MELVARIN_ASSERT(message);
  // The pulses trail the seconds by one message: they are taken before this message's delta is
  // added.
  const auto pulses = static_cast<unsigned int>(LiveInputPulsesPerSecond * m_seconds);
  m_seconds += delta;
  // System-exclusive data does not fit a short message; its time still counts, so the stamps of
  // the messages after it stay right. What a port joined to it is still delivered.
  ForEachShortMessage(message->data(), message->size(),
                      [&](const unsigned char* bytes, unsigned int length) {
                        m_queue->Push(MidiEvent(MidiMessage(bytes, length), pulses, m_seconds));
                      });
}

unsigned int MidiInRtDevice::GetPortCount() {
  try {
    RtMidiIn input(ChooseMidiApi(), InputClientName, InputQueueLimit);
    return input.getPortCount();
  } catch (const RtMidiError& error) {
    throw MELVARIN_ERROR(Error::MidiPorts + static_cast<int>(error.getType()),
                         QString::fromStdString(error.getMessage()));
  }
}

void RtEventHandler::OnRtEvent(double delta, std::vector<unsigned char>* message, void* userData) {
  MELVARIN_ASSERT(userData);
  static_cast<MidiInRtDevice*>(userData)->OnRtEvent(delta, message);
}

// ---- output ----

MidiOutRtDevice::MidiOutRtDevice(unsigned int port) : m_port(port) {
  MidiOutRtDevice::Reset();
}

MidiOutRtDevice::~MidiOutRtDevice() {
  Close();
}

void MidiOutRtDevice::Reset() {
  Close();
  const RtMidi::Api api = ChooseMidiApi();
  if (api == RtMidi::UNIX_JACK) {
    m_jackOutput = JackMidiOutput::Open(OutputClientName, OutputPortName, m_port);
    if (m_jackOutput) m_name = m_jackOutput->DestinationName();
    return;
  }
  try {
    auto output = std::make_shared<RtMidiOut>(api, OutputClientName);
    if (m_port >= output->getPortCount()) return;
    output->openPort(m_port, OutputPortName);
    m_name = QString::fromStdString(output->getPortName(m_port));
    m_output = std::move(output);
  } catch (const RtMidiError&) {
    m_output.reset();
  }
}

void MidiOutRtDevice::Close() {
  m_jackOutput.reset();  // stops its callback before its queue goes
  if (!m_output) return;
  try {
    m_output->closePort();
  } catch (const RtMidiError&) {
  }
  m_output.reset();
}

QString MidiOutRtDevice::GetName() const {
  MELVARIN_ASSERT(IsOk());
  return m_name;
}

void MidiOutRtDevice::Stop() {
  SilenceEveryChannel(*this);
}

void MidiOutRtDevice::SendMessage(const MidiMessage& message) {
  MELVARIN_ASSERT(IsOk());
  const unsigned char* bytes = message.GetRawData();
  if (m_jackOutput) {
    m_jackOutput->Send(bytes, message.GetLength());
    return;
  }
  std::vector<unsigned char> data(bytes, bytes + message.GetLength());
  try {
    m_output->sendMessage(&data);
  } catch (const RtMidiError&) {
    // A port that went away mid-send loses the message; playback goes on.
  }
}

unsigned int MidiOutRtDevice::GetPortCount() {
  try {
    RtMidiOut output(ChooseMidiApi(), OutputClientName);
    return output.getPortCount();
  } catch (const RtMidiError&) {
    return 0;
  }
}

}  // namespace Core
