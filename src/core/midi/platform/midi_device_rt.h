#pragma once

// MIDI port devices over RtMidi: one input device per input port of the MIDI system, and the
// matching output device (complete, though the program plays through the synthesizer instead).
// Under JACK both devices use their port directly (jack_midi_input.h, jack_midi_output.h); RtMidi
// still counts the ports.

#include <QString>

#include <RtMidi.h>

#include <memory>
#include <vector>

#include "src/core/midi/midi_device.h"

namespace Core {

class JackMidiInput;
class JackMidiOutput;
class MidiInputQueue;

// Live input is stamped at 768 pulses per second.
constexpr double LiveInputPulsesPerSecond = 768.0;

class MidiInRtDevice : public MidiInDeviceBase {
 public:
  explicit MidiInRtDevice(unsigned int port);
  ~MidiInRtDevice() override;

  // Reopens the port and starts the clock of the stamps again from 0. A port that fails to open
  // leaves the device closed (IsOk() false); nothing is thrown.
  void Reset() override;
  void Close() override;
  bool IsOk() const override { return m_input || m_jackInput; }
  // The name of this device's own port, as the MIDI system reported it when the port was opened.
  QString GetName() const override;

  // Stamps what the port handed over and queues the short messages in it for delivery
  // (system-exclusive data is dropped, its time still counts); called on the MIDI system's input
  // thread, which it never keeps waiting. The observers hear them on the queue's own thread.
  void OnRtEvent(double delta, std::vector<unsigned char>* message);

  // Number of input ports; throws Error (0x300 + the RtMidi error type) when they cannot be
  // counted.
  static unsigned int GetPortCount();

 private:
  std::shared_ptr<RtMidiIn> m_input;           // the port under ALSA
  std::unique_ptr<JackMidiInput> m_jackInput;  // the port under JACK
  // Open while a port is: it outlives the port's callbacks and delivers what they queued.
  std::unique_ptr<MidiInputQueue> m_queue;
  double m_seconds = 0.0;  // time of the messages received since the last Reset
  unsigned int m_port;
  QString m_name;
};

struct RtEventHandler {
  // The callback registered with RtMidi; `userData` is the receiving MidiInRtDevice.
  static void OnRtEvent(double delta, std::vector<unsigned char>* message, void* userData);
};

class MidiOutRtDevice : public MidiOutDevice {
 public:
  explicit MidiOutRtDevice(unsigned int port);
  ~MidiOutRtDevice() override;

  QString GetName() const override;
  // Reopens the port; a port that fails to open leaves the device closed (IsOk() false).
  void Reset() override;
  // Once it returns nothing of the port is in use, on any thread.
  void Close();
  bool IsOk() const { return m_output || m_jackOutput; }
  // Channel by channel: all sound off, reset all controllers, full channel volume.
  void Stop() override;
  void SendMessage(const MidiMessage& message) override;
  double GetVolume() const override { return 0.0; }
  void SetVolume(double) override {}

  // Number of output ports; 0 when they cannot be counted.
  static unsigned int GetPortCount();

 private:
  std::shared_ptr<RtMidiOut> m_output;           // the port under ALSA
  std::unique_ptr<JackMidiOutput> m_jackOutput;  // the port under JACK
  unsigned int m_port;
  QString m_name;
};

}  // namespace Core
