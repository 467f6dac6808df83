#pragma once

// The software synthesizer behind the synthesizer device: FluidSynth with a General MIDI
// SoundFont, its own reverb and chorus off, a low-pass stage on its output, and the sound effects
// mixed in. It sounds through the first audio output that opens (PulseAudio, ALSA, JACK); with no
// SoundFont or no audio output it still takes every message and stays silent. An instrument's
// samples are read from the SoundFont when a channel selects it, on a thread of its own.

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

#include "src/core/midi/platform/low_pass_filter.h"
#include "src/core/midi/platform/program_change_queue.h"

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;
typedef struct _fluid_audio_driver_t fluid_audio_driver_t;

namespace Core {

struct FluidSynthLibrary;

struct SynthOptions {
  // Empty: the system's General MIDI SoundFont (default-GM.sf2, else TimGM6mb.sf2).
  QString soundFont;
  // False renders only on request (Render), for tests and offline use.
  bool audioOutput = true;
  // FluidSynth audio drivers tried in this order; the first that opens is used.
  QStringList audioDrivers{QStringLiteral("pulseaudio"), QStringLiteral("alsa"),
                           QStringLiteral("jack")};
};

class SynthAudioSystem {
 public:
  explicit SynthAudioSystem(const SynthOptions& options = {});
  ~SynthAudioSystem();
  SynthAudioSystem(const SynthAudioSystem&) = delete;
  SynthAudioSystem& operator=(const SynthAudioSystem&) = delete;

  // Plays one channel message (note off/on, key and channel pressure, control and program
  // change, pitch bend); anything else is ignored. Safe from any thread; no allocation. A
  // program change returns before its instrument is loaded; what follows it sounds once it is.
  void HandleMidiMessage(const unsigned char* bytes, unsigned char length);

  // Renders `frames` frames of the output path (synthesizer, low-pass, sound effects) into the
  // two buffers, for offline use: it first waits for the instruments being loaded, so that
  // everything sent before the call is heard in it.
  void Render(float* left, float* right, int frames);

  bool HasSoundFont() const { return m_soundFontId >= 0; }
  bool HasAudioOutput() const { return m_driver != nullptr; }
  double SampleRate() const { return m_sampleRate; }

  static QString DefaultSoundFont();

  // Sets what the audio outputs read from the process environment: JACK must not start a JACK
  // server of its own (JACK_NO_START_SERVER, unless set) and PulseAudio is told that the stream
  // is music (PULSE_PROP_media.role). Changing the environment is safe only while no other
  // thread runs, since a getenv elsewhere may be walking the list that a new variable replaces:
  // a program that makes synthesizers on a worker calls it before its first thread, and the
  // synthesizer then finds nothing left to change.
  static void PrepareProcessEnvironment();

 private:
  static int AudioCallback(void* data, int length, int nfx, float* fx[], int nout, float* out[]);
  // What the audio output renders: it never waits for a loading instrument.
  void RenderBlock(float* left, float* right, int frames);
  void Deliver(const SynthMessage& message);
  void OpenAudioOutput(const QStringList& drivers);
  double CurrentSampleRate() const;

  const FluidSynthLibrary* m_fluid = nullptr;  // null when FluidSynth is not there
  fluid_settings_t* m_settings = nullptr;
  fluid_synth_t* m_synth = nullptr;
  fluid_audio_driver_t* m_driver = nullptr;
  int m_soundFontId = -1;
  double m_sampleRate = 44100.0;
  // Owned by whichever thread renders once the audio output runs.
  double m_filterRate = 44100.0;
  LowPassFilter m_filterLeft, m_filterRight;
  std::atomic<double> m_pendingRate{0.0};
  std::unique_ptr<ProgramChangeQueue> m_queue;  // null without a synthesizer
};

}  // namespace Core
