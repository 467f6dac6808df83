#pragma once

// The registry of MIDI devices: one input device per MIDI input port that opens, the software
// synthesizer as the output, which of each is selected, and the notice of MIDI set-up changes.
// GUI thread only.

#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "src/core/midi/midi_device.h"

namespace Core {

// Recorded-sound outputs; this platform has none, the list stays empty.
class WaveOutDevice {
 public:
  virtual ~WaveOutDevice() = default;
};

// Where the devices come from: the MIDI system and the synthesizer for the program, stand-ins in
// tests.
struct SoundDeviceFactory {
  // Number of input ports; may throw Error when they cannot be counted.
  std::function<unsigned int()> countInputPorts;
  std::function<std::shared_ptr<MidiInDevice>(unsigned int port)> openInput;
  std::function<std::shared_ptr<MidiOutDevice>()> createSynthesizer;
  // Starts the set-up notices; `notify` must run on the GUI thread.
  std::function<void(std::function<void()> notify)> watchSetup;

  static SoundDeviceFactory Platform();
};

class SoundController {
 public:
  // Held in the 64-bit selection fields when nothing is selected.
  static constexpr unsigned long NoSelection = 0xFFFFFFFFul;

  SoundController();
  explicit SoundController(SoundDeviceFactory factory);
  virtual ~SoundController();
  SoundController(const SoundController&) = delete;
  SoundController& operator=(const SoundController&) = delete;

  // Rebuilds the input devices (every port is reopened) and resets both selections; returns
  // whether the input list was touched.
  bool UpdateDevices();

  unsigned long GetInputMidiDeviceCount() const { return m_inputs.size(); }
  unsigned long GetOutputMidiDeviceCount() const { return m_outputs.size(); }
  unsigned long GetOutputWaveDeviceCount() const { return m_waveOutputs.size(); }
  std::shared_ptr<MidiInDevice> GetInputMidiDevice(unsigned long i) { return m_inputs.at(i); }
  std::shared_ptr<MidiOutDevice> GetOutputMidiDevice(unsigned long i) { return m_outputs.at(i); }
  std::shared_ptr<WaveOutDevice> GetOutputWaveDevice(unsigned long i) {
    return m_waveOutputs.at(i);
  }
  // The selected output; empty when there is none.
  std::shared_ptr<MidiOutDevice> GetOutputMidiDevice();

  void SelectInputMidiDevice(unsigned long i) { m_selectedInput = i; }
  void SelectOutputMidiDevice(unsigned long i) { m_selectedOutput = i; }
  void SelectOutputWaveDevice(unsigned long i) { m_selectedWaveOutput = i; }
  // Selects the first input named `name`; false (selection kept) when there is none.
  bool SelectInputMidiDevice(const QString& name);

  unsigned long GetSelectedInputMidiDevice() const { return m_selectedInput; }
  unsigned long GetSelectedOutputMidiDevice() const { return m_selectedOutput; }
  unsigned long GetSelectedOutputWaveDevice() const { return m_selectedWaveOutput; }

  // The function told of every MIDI set-up change, on the GUI thread.
  static void SetMidiDeviceHandler(void (*handler)());

 private:
  bool EnumerateDevices();

  SoundDeviceFactory m_factory;
  std::vector<std::shared_ptr<MidiInDevice>> m_inputs;
  std::vector<std::shared_ptr<MidiOutDevice>> m_outputs;
  std::vector<std::shared_ptr<WaveOutDevice>> m_waveOutputs;
  unsigned long m_selectedInput = NoSelection;
  unsigned long m_selectedOutput = NoSelection;
  unsigned long m_selectedWaveOutput = NoSelection;

  static void (*midiDeviceChangedCallback)();
  friend void StateChangedHandler();
};

// Called on the GUI thread for every MIDI set-up change; passes it to the registered handler.
void StateChangedHandler();

}  // namespace Core
