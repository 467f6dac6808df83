#include "src/core/midi/platform/sound.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cmath>

#include "src/core/midi/platform/sound_effect_mixer.h"
#include "src/core/midi/platform/synth_audio_system.h"
#include "tests/src/core/midi/platform/audio_test_support.h"

namespace Core {
namespace {

using Testing::RenderSeconds;
using Testing::Rms;

// The synthesizer's output path, rendered offline; it is the first synthesizer of the test
// process, so the sound effects are mixed into it.
class SoundTest : public ::testing::Test {
 protected:
  SoundTest() : m_output(Options()) {}

  std::vector<float> Render(double seconds) {
    return RenderSeconds([&](float* l, float* r, int n) { m_output.Render(l, r, n); }, seconds,
                         m_output.SampleRate());
  }
  static size_t Playing() { return SoundEffectMixer::Instance().PlayingCount(); }

  SynthAudioSystem m_output;

 private:
  static SynthOptions Options() {
    SynthOptions options;
    options.soundFont = Testing::TestSoundFont;
    options.audioOutput = false;
    return options;
  }
};

TEST_F(SoundTest, AllSoundsShareTheOneServerCreatedByTheFirst) {
  // The first sound of the process makes the server and it stays to the end, so an earlier test
  // may have made it: either way there is one.
  Sound right(":/wav/right.wav");
  ASSERT_NE(servers, nullptr);
  AuServer* first = servers->first();
  Sound wrong(":/wav/wrong.wav");
  EXPECT_EQ(servers->size(), 1);
  EXPECT_EQ(servers->first(), first);
  EXPECT_EQ(right.fileName(), ":/wav/right.wav");
}

TEST_F(SoundTest, APlayedSoundIsHeardInTheSynthesizerOutputUntilItEnds) {
  Sound right(":/wav/right.wav");
  EXPECT_LT(Rms(Render(0.05)), 1e-9);
  right.play();
  EXPECT_EQ(Playing(), 1u);
  EXPECT_GT(Rms(Render(0.2)), 0.02);
  Render(1.0);  // the sound is well under a second
  EXPECT_EQ(Playing(), 0u);
  EXPECT_LT(Rms(Render(0.05)), 1e-9);
}

TEST_F(SoundTest, PlayingAgainRestartsTheSoundAndTheOtherSoundMixesIn) {
  Sound right(":/wav/right.wav");
  Sound wrong(":/wav/wrong.wav");
  right.play();
  Render(0.2);
  right.play();
  EXPECT_EQ(Playing(), 1u);
  wrong.play();
  EXPECT_EQ(Playing(), 2u);
  Render(0.35);
  EXPECT_EQ(Playing(), 2u) << "the restarted sound ended with its first start";
  Render(1.0);
  EXPECT_EQ(Playing(), 0u);
}

TEST_F(SoundTest, DestroyingASoundStopsPlaybackAtOnce) {
  {
    Sound right(":/wav/right.wav");
    right.play();
    Render(0.05);
  }
  EXPECT_EQ(Playing(), 0u);
  EXPECT_LT(Rms(Render(0.05)), 1e-9);
}

TEST_F(SoundTest, UnreadableOrDamagedFilesPlayNothing) {
  QTemporaryDir dir;
  QFile damaged(dir.filePath("damaged.wav"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("RIFF\x10\0\0\0WAVEfmt garbage that is no sound at all");
  damaged.close();

  Sound missing(dir.filePath("missing.wav"));
  Sound broken(damaged.fileName());
  EXPECT_TRUE(missing.data().isEmpty());
  missing.play();
  broken.play();
  EXPECT_EQ(Playing(), 0u);
  EXPECT_LT(Rms(Render(0.05)), 1e-9);
}

// A cue is feedback on a note just played: it must not drown the piano, nor be lost under it.
TEST_F(SoundTest, CuesSoundAboutAsLoudAsAPianoNote) {
  const unsigned char noteOn[] = {0x90, 60, 96};
  const unsigned char noteOff[] = {0x80, 60, 0};
  m_output.HandleMidiMessage(noteOn, 3);
  const double piano = Rms(Render(0.4));
  m_output.HandleMidiMessage(noteOff, 3);
  Render(1.0);
  for (const char* path : {":/wav/right.wav", ":/wav/wrong.wav"}) {
    Sound cue(path);
    cue.play();
    const double loudness = Rms(Render(0.4));
    EXPECT_GT(loudness, piano / 3) << path;
    EXPECT_LT(loudness, piano * 3) << path;
  }
}

// The two cues must be told apart at once: the right one bright and high, the wrong one low.
TEST_F(SoundTest, RightAndWrongSoundClearlyDifferent) {
  auto crossingsPerSecond = [&](const char* path) {
    Sound sound(path);
    sound.play();
    const std::vector<float> audio = Render(0.15);
    int crossings = 0;
    for (size_t i = 1; i < audio.size(); ++i)
      crossings += (audio[i - 1] < 0) != (audio[i] < 0) ? 1 : 0;
    return crossings / 0.15;
  };
  const double right = crossingsPerSecond(":/wav/right.wav");
  const double wrong = crossingsPerSecond(":/wav/wrong.wav");
  EXPECT_GT(right, 2000);
  EXPECT_LT(wrong, 800);
}

}  // namespace
}  // namespace Core
