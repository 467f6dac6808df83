#pragma once

// The output device over the software synthesizer: every sound the trainers make goes through it.
// Below it sits a small interface of three plain functions over the audio system.

#include <QString>

#include <shared_mutex>

#include "src/core/midi/midi_device.h"
#include "src/core/midi/platform/synth_audio_system.h"

namespace Core {

// The synthesizer as an opaque handle.
using SynthHandle = SynthAudioSystem*;
SynthHandle CreateSynthMidiDevice(const SynthOptions& options = {});
void SendSynthMidiDeviceMessage(SynthHandle handle, const unsigned char* bytes,
                                unsigned char length);
void ReleaseSynthMidiDevice(SynthHandle handle);

class MidiOutSynthDevice : public MidiOutDevice {
 public:
  explicit MidiOutSynthDevice(const SynthOptions& options = {});
  ~MidiOutSynthDevice() override;

  // "Software Synthesizer", the name the device lists show.
  QString GetName() const override;
  void Reset() override {}
  // Channel by channel: all sound off, reset all controllers, full channel volume.
  void Stop() override;
  // Safe from the GUI, timer and MIDI input threads at once; ignored after Close.
  void SendMessage(const MidiMessage& message) override;
  // The volume is the synthesizer's own; the device always reports full volume.
  double GetVolume() const override { return 1.0; }
  void SetVolume(double) override {}
  // Ends the synthesizer; later messages have no effect.
  void Close();

  // Renders the output path offline (for a device built without audio output); silence after
  // Close.
  void Render(float* left, float* right, int frames);
  bool HasSoundFont() const;

 private:
  // Sends hold it shared; Close takes it alone, so no send runs into a released synthesizer.
  mutable std::shared_mutex m_handleMutex;
  SynthHandle m_handle = nullptr;
};

}  // namespace Core
