#pragma once

// Short recorded sound effects (the right and wrong answer sounds). A sound is read whole into
// memory and played by the newest sound server; the platform server decodes it and mixes it into
// the synthesizer's audio. GUI thread only.

#include <QByteArray>
#include <QList>
#include <QString>

namespace Core {

class Sound;

// Per-sound data a server keeps.
class AuBucket {
 public:
  virtual ~AuBucket() = default;
};

class AuServer {
 public:
  AuServer();
  virtual ~AuServer();
  AuServer(const AuServer&) = delete;
  AuServer& operator=(const AuServer&) = delete;

  virtual void init(Sound*) {}
  virtual void play(Sound* sound) = 0;
  // Stops every sound this server plays.
  virtual void stop() = 0;

 protected:
  // Replaces (and deletes) the sound's previous slot object.
  void setBucket(Sound* sound, AuBucket* bucket);
  AuBucket* bucket(Sound* sound);
};

// Every existing server, newest first; the first one serves all sounds. Null while there is none.
extern QList<AuServer*>* servers;

// Creates the platform server, which enters `servers`; it lives until the process ends.
AuServer* new_audio_server();

class Sound {
 public:
  // Reads the whole file (a file that cannot be read gives a sound that plays nothing).
  explicit Sound(const QString& fileName);
  // Stops the server's sounds before the data goes.
  ~Sound();
  Sound(const Sound&) = delete;
  Sound& operator=(const Sound&) = delete;

  // Plays the sound; if it is still playing it starts again from the beginning.
  void play();
  QString fileName() const { return m_fileName; }
  const QByteArray& data() const { return m_data; }

 private:
  friend class AuServer;
  static AuServer* Server();

  QByteArray m_data;
  QString m_fileName;
  AuBucket* m_bucket = nullptr;
};

// The platform's alert sound.
void Beep();

}  // namespace Core
