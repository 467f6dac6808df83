#pragma once

// Mixes the short recorded sound effects into the synthesizer's audio, so the program has one
// audio path. One process-wide mixer; the first synthesizer that exists feeds it to its output
// (a second one would advance every sound twice).

#include <memory>
#include <mutex>
#include <vector>

namespace Core {

// Decoded audio: interleaved float frames.
struct AudioClip {
  std::vector<float> samples;
  int channels = 1;
  double sampleRate = 44100.0;
  size_t FrameCount() const { return channels > 0 ? samples.size() / channels : 0; }
};

class SoundEffectMixer {
 public:
  static SoundEffectMixer& Instance();

  // Starts `clip` for `owner`; a sound that is still playing for the same owner is replaced.
  void Play(const void* owner, std::shared_ptr<const AudioClip> clip);
  void Stop(const void* owner);
  void StopAll();
  bool IsPlaying(const void* owner) const;
  size_t PlayingCount() const;

  // The audio side. `output` claims the mixer at its sample rate when nobody has; only the
  // claiming output's MixInto adds anything. Release gives the mixer up again.
  bool Claim(const void* output, double sampleRate);
  void Release(const void* output);
  // Adds the playing sounds to the two channels and drops the sounds that have ended.
  void MixInto(const void* output, float* left, float* right, int frames);

 private:
  struct Voice {
    const void* owner;
    std::shared_ptr<const AudioClip> clip;
    double position;  // in frames of the clip
  };

  SoundEffectMixer() { m_voices.reserve(8); }

  mutable std::mutex m_mutex;
  std::vector<Voice> m_voices;
  const void* m_output = nullptr;
  double m_sampleRate = 44100.0;
};

}  // namespace Core
