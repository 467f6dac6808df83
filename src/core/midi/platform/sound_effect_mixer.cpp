#include "src/core/midi/platform/sound_effect_mixer.h"

#include <algorithm>

namespace Core {

namespace {

// The cues are normalised near full scale while the synthesizer plays a note around -20 dBFS;
// this brings a cue to about the loudness of a piano note instead of far above it.
constexpr float EffectGain = 0.2f;

}  // namespace

SoundEffectMixer& SoundEffectMixer::Instance() {
  static SoundEffectMixer* mixer = new SoundEffectMixer;  // outlives every audio thread
  return *mixer;
}

void SoundEffectMixer::Play(const void* owner, std::shared_ptr<const AudioClip> clip) {
  if (!clip || clip->FrameCount() == 0) return;
  std::lock_guard lock(m_mutex);
  for (Voice& voice : m_voices) {
    if (voice.owner == owner) {
      voice.clip = std::move(clip);
      voice.position = 0.0;
      return;
    }
  }
  m_voices.push_back({owner, std::move(clip), 0.0});
}

void SoundEffectMixer::Stop(const void* owner) {
  std::lock_guard lock(m_mutex);
  std::erase_if(m_voices, [owner](const Voice& voice) { return voice.owner == owner; });
}

void SoundEffectMixer::StopAll() {
  std::lock_guard lock(m_mutex);
  m_voices.clear();
}

bool SoundEffectMixer::IsPlaying(const void* owner) const {
  std::lock_guard lock(m_mutex);
  return std::any_of(m_voices.begin(), m_voices.end(),
                     [owner](const Voice& voice) { return voice.owner == owner; });
}

size_t SoundEffectMixer::PlayingCount() const {
  std::lock_guard lock(m_mutex);
  return m_voices.size();
}

bool SoundEffectMixer::Claim(const void* output, double sampleRate) {
  std::lock_guard lock(m_mutex);
  if (m_output && m_output != output) return false;
  m_output = output;
  m_sampleRate = sampleRate > 0 ? sampleRate : 44100.0;
  return true;
}

void SoundEffectMixer::Release(const void* output) {
  std::lock_guard lock(m_mutex);
  if (m_output == output) m_output = nullptr;
}

void SoundEffectMixer::MixInto(const void* output, float* left, float* right, int frames) {
  std::lock_guard lock(m_mutex);
  if (output != m_output || m_voices.empty()) return;
  for (Voice& voice : m_voices) {
    const AudioClip& clip = *voice.clip;
    const size_t length = clip.FrameCount();
    const double step = clip.sampleRate / m_sampleRate;
    for (int i = 0; i < frames; ++i) {
      const auto index = static_cast<size_t>(voice.position);
      if (index >= length) break;
      const size_t next = std::min(index + 1, length - 1);
      const auto fraction = static_cast<float>(voice.position - static_cast<double>(index));
      auto sample = [&](size_t frame, int channel) {
        return clip.samples[frame * clip.channels + std::min(channel, clip.channels - 1)];
      };
      const float l = sample(index, 0) + (sample(next, 0) - sample(index, 0)) * fraction;
      const float r = sample(index, 1) + (sample(next, 1) - sample(index, 1)) * fraction;
      left[i] += l * EffectGain;
      right[i] += r * EffectGain;
      voice.position += step;
    }
  }
  // Ended sounds are dropped here; their clips are still held by their sounds, so nothing is
  // freed on the audio thread.
  std::erase_if(m_voices, [](const Voice& voice) {
    return static_cast<size_t>(voice.position) >= voice.clip->FrameCount();
  });
}

}  // namespace Core
