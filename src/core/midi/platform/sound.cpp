#include "src/core/midi/platform/sound.h"

#include <QApplication>
#include <QFile>

#include <sndfile.h>

#include <cstring>
#include <memory>

#include "src/core/midi/platform/sound_effect_mixer.h"

namespace Core {

QList<AuServer*>* servers = nullptr;

AuServer::AuServer() {
  if (!servers) servers = new QList<AuServer*>;
  servers->prepend(this);
}

AuServer::~AuServer() {
  if (!servers) return;
  servers->removeAll(this);
  if (servers->isEmpty()) {
    delete servers;
    servers = nullptr;
  }
}

void AuServer::setBucket(Sound* sound, AuBucket* bucket) {
  delete sound->m_bucket;
  sound->m_bucket = bucket;
}

AuBucket* AuServer::bucket(Sound* sound) {
  return sound->m_bucket;
}

namespace {

// libsndfile reading from memory.
struct MemoryReader {
  const QByteArray* data;
  sf_count_t position = 0;

  static sf_count_t Length(void* user) { return static_cast<MemoryReader*>(user)->data->size(); }
  static sf_count_t Seek(sf_count_t offset, int whence, void* user) {
    auto* self = static_cast<MemoryReader*>(user);
    const sf_count_t size = self->data->size();
    sf_count_t target = whence == SEEK_SET   ? offset
                        : whence == SEEK_CUR ? self->position + offset
                                             : size + offset;
    self->position = std::clamp<sf_count_t>(target, 0, size);
    return self->position;
  }
  static sf_count_t Read(void* buffer, sf_count_t count, void* user) {
    auto* self = static_cast<MemoryReader*>(user);
    const sf_count_t available = self->data->size() - self->position;
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, available);
    std::memcpy(buffer, self->data->constData() + self->position, static_cast<size_t>(n));
    self->position += n;
    return n;
  }
  static sf_count_t Write(const void*, sf_count_t, void*) { return 0; }
  static sf_count_t Tell(void* user) { return static_cast<MemoryReader*>(user)->position; }
};

std::shared_ptr<const AudioClip> Decode(const QByteArray& data) {
  if (data.isEmpty()) return nullptr;
  MemoryReader reader{&data};
  SF_VIRTUAL_IO io{&MemoryReader::Length, &MemoryReader::Seek, &MemoryReader::Read,
                   &MemoryReader::Write, &MemoryReader::Tell};
  SF_INFO info{};
  SNDFILE* file = sf_open_virtual(&io, SFM_READ, &info, &reader);
  if (!file) return nullptr;
  auto clip = std::make_shared<AudioClip>();
  // Sound effects are a second or two; anything absurdly long is not one.
  constexpr sf_count_t MaxFrames = 48000 * 30;
  if (info.channels >= 1 && info.channels <= 8 && info.frames > 0 && info.frames <= MaxFrames &&
      info.samplerate > 0) {
    clip->channels = info.channels;
    clip->sampleRate = info.samplerate;
    clip->samples.resize(static_cast<size_t>(info.frames * info.channels));
    const sf_count_t read = sf_readf_float(file, clip->samples.data(), info.frames);
    clip->samples.resize(static_cast<size_t>(std::max<sf_count_t>(read, 0) * info.channels));
  }
  sf_close(file);
  if (clip->FrameCount() == 0) return nullptr;
  return clip;
}

struct ClipBucket : AuBucket {
  explicit ClipBucket(std::shared_ptr<const AudioClip> c) : clip(std::move(c)) {}
  std::shared_ptr<const AudioClip> clip;
};

// Plays through the sound-effect mixer of the synthesizer's audio output. Each sound has at most
// one instance playing: playing it again restarts it, so no earlier instance can outlive the
// sound's data.
class AuServerMixer : public AuServer {
 public:
  void init(Sound* sound) override { setBucket(sound, new ClipBucket(Decode(sound->data()))); }
  void play(Sound* sound) override {
    if (auto* slot = dynamic_cast<ClipBucket*>(bucket(sound)))
      SoundEffectMixer::Instance().Play(sound, slot->clip);
  }
  void stop() override { SoundEffectMixer::Instance().StopAll(); }
};

}  // namespace

AuServer* new_audio_server() {
  return new AuServerMixer;
}

AuServer* Sound::Server() {
  if (!servers || servers->isEmpty()) new_audio_server();
  return servers->first();
}

Sound::Sound(const QString& fileName) : m_fileName(fileName) {
  QFile file(fileName);
  if (file.open(QIODevice::ReadOnly)) m_data = file.readAll();
  Server()->init(this);
}

Sound::~Sound() {
  Server()->stop();
  // The mixer may still name this sound if another server played it; it must not outlive us.
  SoundEffectMixer::Instance().Stop(this);
  delete m_bucket;
  m_bucket = nullptr;
}

void Sound::play() {
  Server()->play(this);
}

void Beep() {
  QApplication::beep();
}

}  // namespace Core
