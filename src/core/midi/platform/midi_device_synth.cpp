#include "src/core/midi/platform/midi_device_synth.h"

#include <QApplication>

#include <algorithm>
#include <mutex>

#include "src/core/midi/platform/silence_outputs.h"

namespace Core {

SynthHandle CreateSynthMidiDevice(const SynthOptions& options) {
  return new SynthAudioSystem(options);
}

void SendSynthMidiDeviceMessage(SynthHandle handle, const unsigned char* bytes,
                                unsigned char length) {
  if (handle) handle->HandleMidiMessage(bytes, length);
}

void ReleaseSynthMidiDevice(SynthHandle handle) {
  delete handle;
}

MidiOutSynthDevice::MidiOutSynthDevice(const SynthOptions& options)
    : m_handle(CreateSynthMidiDevice(options)) {}

MidiOutSynthDevice::~MidiOutSynthDevice() {
  Close();
}

QString MidiOutSynthDevice::GetName() const {
  return QApplication::translate("QApplication", "Software Synthesizer");
}

void MidiOutSynthDevice::Stop() {
  SilenceEveryChannel(*this);
}

void MidiOutSynthDevice::SendMessage(const MidiMessage& message) {
  std::shared_lock lock(m_handleMutex);
  SendSynthMidiDeviceMessage(m_handle, message.GetRawData(), message.GetLength());
}

void MidiOutSynthDevice::Close() {
  std::unique_lock lock(m_handleMutex);
  if (!m_handle) return;
  ReleaseSynthMidiDevice(m_handle);
  m_handle = nullptr;
}

void MidiOutSynthDevice::Render(float* left, float* right, int frames) {
  std::shared_lock lock(m_handleMutex);
  if (m_handle) {
    m_handle->Render(left, right, frames);
  } else {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
  }
}

bool MidiOutSynthDevice::HasSoundFont() const {
  std::shared_lock lock(m_handleMutex);
  return m_handle && m_handle->HasSoundFont();
}

}  // namespace Core
