#include "src/core/midi/platform/midi_device_synth.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <string>
#include <thread>

#include "tests/src/core/midi/platform/audio_test_support.h"

namespace Core {
namespace {

using Testing::RenderSeconds;
using Testing::Rms;

SynthOptions Offline(const QString& soundFont = Testing::TestSoundFont) {
  SynthOptions options;
  options.soundFont = soundFont;
  options.audioOutput = false;
  return options;
}

std::vector<float> Play(MidiOutSynthDevice& synth, double seconds) {
  return RenderSeconds([&](float* l, float* r, int frames) { synth.Render(l, r, frames); },
                       seconds);
}

bool FluidSynthLoaded() {
  void* library = dlopen("libfluidsynth.so.3", RTLD_NOW | RTLD_NOLOAD);
  if (library) dlclose(library);
  return library != nullptr;
}

// Whether the program brought FluidSynth with it, looked at before any test runs.
const bool FluidSynthLoadedAtStart = FluidSynthLoaded();

// FluidSynth and the libraries it brings would lengthen every start of the program: they are
// loaded with the first synthesizer.
TEST(MidiOutSynthDevice, FluidSynthIsLoadedWithTheFirstSynthesizerAndNotBefore) {
  EXPECT_FALSE(FluidSynthLoadedAtStart);
  MidiOutSynthDevice synth(Offline());
  EXPECT_TRUE(synth.HasSoundFont());
  EXPECT_TRUE(FluidSynthLoaded());
}

TEST(MidiOutSynthDevice, ANoteSoundsAndStopSilencesIt) {
  MidiOutSynthDevice synth(Offline());
  ASSERT_TRUE(synth.HasSoundFont());
  EXPECT_EQ(synth.GetName(), "Software Synthesizer");
  EXPECT_LT(Rms(Play(synth, 0.1)), 1e-6);

  synth.SendMessage(MidiMessage(MidiProgramChange, 0, 0));
  synth.SendMessage(MidiMessage(MidiNoteOn, 0, 60, 100));
  EXPECT_GT(Rms(Play(synth, 0.3)), 0.01);

  synth.Stop();
  Play(synth, 0.02);  // the cut takes a few milliseconds
  EXPECT_LT(Rms(Play(synth, 0.2)), 1e-5);
}

// An instrument's samples are read from the SoundFont only when a channel selects it: the note
// sent right behind the program change must already sound with that instrument, exactly as it
// does once the instrument has been in use for a while.
struct Instrument {
  const char* name;
  unsigned char channel;
  unsigned char program;
  unsigned char note;
};

class FirstNoteOfAnInstrument : public testing::TestWithParam<Instrument> {
 protected:
  static std::vector<float> Render(const Instrument& instrument, bool loadedBefore) {
    MidiOutSynthDevice synth(Offline());
    synth.SendMessage(MidiMessage(MidiProgramChange, instrument.channel, instrument.program));
    if (loadedBefore) Play(synth, 0.1);
    synth.SendMessage(MidiMessage(MidiNoteOn, instrument.channel, instrument.note, 100));
    return Play(synth, 0.4);
  }
};

TEST_P(FirstNoteOfAnInstrument, SoundsAtOnceAndAsTheLoadedInstrumentDoes) {
  const Instrument instrument = GetParam();
  const std::vector<float> first = Render(instrument, false);
  EXPECT_GT(Rms(first), 0.01);
  EXPECT_EQ(first, Render(instrument, true));

  if (instrument.program != 0) {  // it is that instrument, not the piano channels start with
    const std::vector<float> piano = Render({"piano", 0, 0, instrument.note}, false);
    std::vector<float> difference(piano.size());
    std::transform(piano.begin(), piano.end(), first.begin(), difference.begin(), std::minus<>());
    EXPECT_GT(Rms(difference), 0.5 * std::min(Rms(piano), Rms(first)));
  }
}

INSTANTIATE_TEST_SUITE_P(GeneralMidi, FirstNoteOfAnInstrument,
                         testing::Values(Instrument{"church_organ", 0, 19, 60},
                                         Instrument{"violin", 0, 40, 72},
                                         Instrument{"trumpet", 3, 56, 67},
                                         Instrument{"flute", 0, 73, 72},
                                         Instrument{"drum_kit_snare", 9, 0, 38}),
                         [](const auto& named) { return std::string(named.param.name); });

TEST(MidiOutSynthDevice, ChannelVolumeAndAllSoundOffAreObeyed) {
  auto loudness = [](unsigned char volume) {
    MidiOutSynthDevice synth(Offline());
    synth.SendMessage(MidiMessage(MidiControlChange, 3, 7, volume));
    synth.SendMessage(MidiMessage(MidiNoteOn, 3, 64, 110));
    return Rms(Play(synth, 0.3));
  };
  EXPECT_GT(loudness(127), 4 * loudness(30));

  MidiOutSynthDevice synth(Offline());
  synth.SendMessage(MidiMessage(MidiNoteOn, 5, 64, 110));
  Play(synth, 0.1);
  synth.SendMessage(MidiMessage(MidiControlChange, 5, 120, 0));
  Play(synth, 0.02);
  EXPECT_LT(Rms(Play(synth, 0.1)), 1e-5);
}

// Counts what Stop sends, in order.
class RecordingSynth : public MidiOutSynthDevice {
 public:
  RecordingSynth() : MidiOutSynthDevice(Offline()) {}
  void SendMessage(const MidiMessage& message) override {
    sent.push_back(message);
    MidiOutSynthDevice::SendMessage(message);
  }
  std::vector<MidiMessage> sent;
};

TEST(MidiOutSynthDevice, StopSendsTheThreeControllersOnEveryChannel) {
  RecordingSynth synth;
  synth.Stop();
  ASSERT_EQ(synth.sent.size(), 48u);
  for (unsigned char channel = 0; channel < 16; ++channel) {
    EXPECT_EQ(synth.sent[3 * channel], MidiMessage(MidiControlChange, channel, 120, 0));
    EXPECT_EQ(synth.sent[3 * channel + 1], MidiMessage(MidiControlChange, channel, 121, 0));
    EXPECT_EQ(synth.sent[3 * channel + 2], MidiMessage(MidiControlChange, channel, 7, 127));
  }
}

TEST(MidiOutSynthDevice, AClosedDeviceIgnoresEverything) {
  MidiOutSynthDevice synth(Offline());
  synth.SetVolume(0.3);
  EXPECT_EQ(synth.GetVolume(), 1.0);
  synth.Close();
  synth.Close();
  synth.SendMessage(MidiMessage(MidiNoteOn, 0, 60, 100));
  synth.Stop();
  EXPECT_LT(Rms(Play(synth, 0.1)), 1e-9);
}

// Odd input from a keyboard or a file must not upset the synthesizer.
TEST(MidiOutSynthDevice, ShortSystemAndEmptyMessagesAreHarmless) {
  MidiOutSynthDevice synth(Offline());
  const unsigned char noteOnWithoutData[] = {0x90};
  synth.SendMessage(MidiMessage(noteOnWithoutData, 1));
  synth.SendMessage(MidiMessage());
  synth.SendMessage(MidiMessage(0xF8, 0, 0));
  synth.SendMessage(MidiMessage(0xFF, 0x2F, 0));
  synth.SendMessage(MidiMessage(0x90, 200, 255));  // data bytes out of range
  synth.SendMessage(MidiMessage(MidiPitchBend, 0, 0x00, 0x60));
  Play(synth, 0.05);
  SUCCEED();
}

TEST(MidiOutSynthDevice, AMissingSoundFontGivesASilentWorkingSynthesizer) {
  MidiOutSynthDevice synth(Offline("/nonexistent/none.sf2"));
  EXPECT_FALSE(synth.HasSoundFont());
  synth.SendMessage(MidiMessage(MidiNoteOn, 0, 60, 100));
  EXPECT_LT(Rms(Play(synth, 0.1)), 1e-9);
  synth.Stop();
}

TEST(MidiOutSynthDevice, NoAudioOutputLeavesASilentWorkingSynthesizer) {
  SynthOptions options;
  options.soundFont = Testing::TestSoundFont;
  options.audioDrivers = {QStringLiteral("no-such-driver")};
  SynthAudioSystem system(options);
  EXPECT_FALSE(system.HasAudioOutput());
  const unsigned char noteOn[] = {0x90, 60, 100};
  system.HandleMidiMessage(noteOn, 3);
}

// The GUI, timer and MIDI threads send at once, changing instruments as they go, while the audio
// thread renders, and the device is closed in the middle of it all.
TEST(MidiOutSynthDevice, SendsFromSeveralThreadsWhileRenderingAndClosing) {
  MidiOutSynthDevice synth(Offline());
  std::atomic<bool> rendering{true};
  std::thread audio([&] {
    std::vector<float> l(64), r(64);
    while (rendering) synth.Render(l.data(), r.data(), 64);
  });
  std::vector<std::thread> senders;
  for (unsigned char channel = 0; channel < 3; ++channel) {
    senders.emplace_back([&synth, channel] {
      for (int i = 0; i < 3000; ++i) {
        if (i % 500 == 0)
          synth.SendMessage(
              MidiMessage(MidiProgramChange, channel, static_cast<unsigned char>(i / 500 * 9)));
        const auto note = static_cast<unsigned char>(40 + i % 40);
        synth.SendMessage(MidiMessage(MidiNoteOn, channel, note, 90));
        synth.SendMessage(MidiMessage(MidiNoteOff, channel, note, 0));
      }
    });
  }
  std::this_thread::yield();
  synth.Close();
  for (std::thread& t : senders) t.join();
  rendering = false;
  audio.join();
  SUCCEED();
}

}  // namespace
}  // namespace Core
