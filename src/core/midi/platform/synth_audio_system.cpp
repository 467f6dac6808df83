#include "src/core/midi/platform/synth_audio_system.h"

#include <QFile>
#include <QtGlobal>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "src/core/midi/platform/fluid_synth_library.h"
#include "src/core/midi/platform/sound_effect_mixer.h"

namespace Core {

namespace {

constexpr double LowPassCutoffHz = 8000.0;
constexpr double SynthGain = 0.5;

// FluidSynth reports each failed driver and file at length; the synthesizer says one line itself.
void QuietenFluidSynth(const FluidSynthLibrary& fluid) {
  static std::once_flag once;
  std::call_once(once, [&fluid] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid.setLogFunction(level, nullptr, nullptr);
  });
}

}  // namespace

QString SynthAudioSystem::DefaultSoundFont() {
  for (const char* path :
       {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
        "/usr/share/sounds/sf2/TimGM6mb.sf2"}) {
    if (QFile::exists(QString::fromLatin1(path))) return QString::fromLatin1(path);
  }
  return QString();
}

SynthAudioSystem::SynthAudioSystem(const SynthOptions& options) {
  const char* failure = nullptr;
  m_fluid = FluidSynthLibrary::Open(&failure);
  if (!m_fluid) {
    std::fprintf(stderr,
                 "Software synthesizer: FluidSynth could not be loaded (%s); it stays silent.\n",
                 failure);
  } else {
    QuietenFluidSynth(*m_fluid);
    m_settings = m_fluid->newSettings();
  }
  if (m_settings) {
    m_fluid->settingsSetInt(m_settings, "synth.reverb.active", 0);
    m_fluid->settingsSetInt(m_settings, "synth.chorus.active", 0);
    m_fluid->settingsSetNum(m_settings, "synth.gain", SynthGain);
    m_fluid->settingsSetInt(m_settings, "synth.threadsafe-api", 1);
    // Only the instruments in use are read from the SoundFont (a General MIDI one is 150 MB).
    m_fluid->settingsSetInt(m_settings, "synth.dynamic-sample-loading", 1);
    m_synth = m_fluid->newSynth(m_settings);
  }
  if (m_synth)
    m_queue = std::make_unique<ProgramChangeQueue>(
        [this](const SynthMessage& message) { Deliver(message); });

  const QString soundFont = options.soundFont.isEmpty() ? DefaultSoundFont() : options.soundFont;
  if (m_synth && !soundFont.isEmpty())
    m_soundFontId = m_fluid->sfload(m_synth, QFile::encodeName(soundFont).constData(), 1);
  if (m_soundFontId < 0) {
    std::fprintf(stderr, "Software synthesizer: no General MIDI SoundFont (%s); it stays silent.\n",
                 qPrintable(soundFont.isEmpty() ? QStringLiteral("none found") : soundFont));
    m_soundFontId = -1;
  }

  // Everything the audio thread reads is set up before the audio output starts calling.
  m_sampleRate = CurrentSampleRate();
  m_filterRate = m_sampleRate;
  m_filterLeft.Configure(LowPassCutoffHz, m_sampleRate);
  m_filterRight.Configure(LowPassCutoffHz, m_sampleRate);
  SoundEffectMixer::Instance().Claim(this, m_sampleRate);
  if (options.audioOutput && m_synth) OpenAudioOutput(options.audioDrivers);

  // An output may run at its own rate (a JACK server does); the audio thread then retunes the
  // filter itself before its next block.
  const double rate = CurrentSampleRate();
  if (rate != m_sampleRate) {
    m_sampleRate = rate;
    m_pendingRate.store(rate);
    SoundEffectMixer::Instance().Claim(this, rate);
  }
}

double SynthAudioSystem::CurrentSampleRate() const {
  double rate = 44100.0;
  if (m_settings) m_fluid->settingsGetNum(m_settings, "synth.sample-rate", &rate);
  return rate > 0 ? rate : 44100.0;
}

void SynthAudioSystem::PrepareProcessEnvironment() {
  if (!qEnvironmentVariableIsSet("JACK_NO_START_SERVER")) qputenv("JACK_NO_START_SERVER", "1");
  if (qgetenv("PULSE_PROP_media.role") != "music") qputenv("PULSE_PROP_media.role", "music");
}

void SynthAudioSystem::OpenAudioOutput(const QStringList& drivers) {
  // Trying JACK must not start a JACK server of its own. The PulseAudio output's role is set
  // here, not by FluidSynth, which would set it on whatever thread this is.
  PrepareProcessEnvironment();
  m_fluid->settingsSetStr(m_settings, "audio.pulseaudio.media-role", "");
  for (const QString& driver : drivers) {
    if (m_fluid->settingsSetStr(m_settings, "audio.driver", qPrintable(driver)) != FLUID_OK)
      continue;
    if (driver == QLatin1String("jack"))
      m_fluid->settingsSetInt(m_settings, "audio.jack.autoconnect", 1);
    m_driver = m_fluid->newAudioDriver2(m_settings, &SynthAudioSystem::AudioCallback, this);
    if (m_driver) return;
  }
  std::fprintf(stderr, "Software synthesizer: no audio output could be opened; it stays silent.\n");
}

SynthAudioSystem::~SynthAudioSystem() {
  // The audio and loading threads stop before anything they read goes away.
  if (m_driver) m_fluid->deleteAudioDriver(m_driver);
  m_queue.reset();
  SoundEffectMixer::Instance().Release(this);
  if (m_synth) m_fluid->deleteSynth(m_synth);
  if (m_settings) m_fluid->deleteSettings(m_settings);
}

void SynthAudioSystem::HandleMidiMessage(const unsigned char* bytes, unsigned char length) {
  if (!m_queue || !bytes || length < 1) return;
  const unsigned char status = bytes[0];
  if (status < 0x80 || status >= 0xF0) return;
  const int d1 = length > 1 ? bytes[1] & 0x7F : -1;
  const int d2 = length > 2 ? bytes[2] & 0x7F : -1;
  SynthMessage message{status, static_cast<unsigned char>(std::max(d1, 0)),
                       static_cast<unsigned char>(std::max(d2, 0))};
  switch (status & 0xF0) {
    case 0x90:
      if (d1 < 0) return;
      // A note-on without velocity ends the note.
      if (d2 <= 0) message = {static_cast<unsigned char>(0x80 | (status & 0x0F)), message.data1, 0};
      break;
    case 0x80:
    case 0xC0:
    case 0xD0:
      if (d1 < 0) return;
      break;
    default:  // key pressure, control change, pitch bend
      if (d2 < 0) return;
      break;
  }
  m_queue->Send(message);
}

void SynthAudioSystem::Deliver(const SynthMessage& message) {
  const int channel = message.status & 0x0F;
  const int d1 = message.data1;
  const int d2 = message.data2;
  switch (message.status & 0xF0) {
    case 0x80:
      m_fluid->noteoff(m_synth, channel, d1);
      break;
    case 0x90:
      m_fluid->noteon(m_synth, channel, d1, d2);
      break;
    case 0xA0:
      m_fluid->keyPressure(m_synth, channel, d1, d2);
      break;
    case 0xB0:
      m_fluid->cc(m_synth, channel, d1, d2);
      break;
    case 0xC0:
      m_fluid->programChange(m_synth, channel, d1);
      break;
    case 0xD0:
      m_fluid->channelPressure(m_synth, channel, d1);
      break;
    case 0xE0:
      m_fluid->pitchBend(m_synth, channel, d1 | (d2 << 7));
      break;
  }
}

void SynthAudioSystem::Render(float* left, float* right, int frames) {
  if (m_queue) m_queue->WaitUntilDelivered();
  RenderBlock(left, right, frames);
}

void SynthAudioSystem::RenderBlock(float* left, float* right, int frames) {
  if (frames <= 0) return;
  if (m_synth) {
    m_fluid->writeFloat(m_synth, frames, left, 0, 1, right, 0, 1);
  } else {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
  }
  const double pending = m_pendingRate.exchange(0.0);
  if (pending > 0 && pending != m_filterRate) {
    m_filterRate = pending;
    m_filterLeft.Configure(LowPassCutoffHz, pending);
    m_filterRight.Configure(LowPassCutoffHz, pending);
  }
  m_filterLeft.Process(left, frames);
  m_filterRight.Process(right, frames);
  SoundEffectMixer::Instance().MixInto(this, left, right, frames);
}

int SynthAudioSystem::AudioCallback(void* data, int length, int, float*[], int nout, float* out[]) {
  auto* self = static_cast<SynthAudioSystem*>(data);
  if (nout < 1) return FLUID_OK;
  float* left = out[0];
  float* right = nout > 1 ? out[1] : out[0];
  self->RenderBlock(left, right, length);
  for (int i = 2; i < nout; ++i) std::fill(out[i], out[i] + length, 0.0f);
  return FLUID_OK;
}

}  // namespace Core
