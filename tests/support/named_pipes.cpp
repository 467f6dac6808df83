#include "support/named_pipes.h"

#include <QFile>

#include <chrono>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Testing {

NamedPipes::NamedPipes(int seconds) : m_watchdog([this, seconds] { Watch(seconds); }) {}

NamedPipes::~NamedPipes() {
  Release();
}

bool NamedPipes::Make(const QString& path) {
  if (::mkfifo(QFile::encodeName(path).constData(), 0600) != 0) return false;
  std::lock_guard lock(m_mutex);
  m_paths << path;
  return true;
}

bool NamedPipes::IsPipe(const QString& path) {
  struct stat status {};
  return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

bool NamedPipes::Release() {
  {
    std::lock_guard lock(m_mutex);
    m_done = true;
  }
  m_released.notify_all();
  if (m_watchdog.joinable()) m_watchdog.join();
  return !m_freedAReader;
}

void NamedPipes::Watch(int seconds) {
  std::unique_lock lock(m_mutex);
  if (m_released.wait_for(lock, std::chrono::seconds(seconds), [this] { return m_done; })) return;
  // From now on every reader that comes is let go, until the test is over.
  do {
    for (const QString& path : m_paths) {
      // Without a reader this fails at once; with one, it opens and the reader sees the end.
      const int descriptor = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
      if (descriptor < 0) continue;
      m_freedAReader = true;
      ::close(descriptor);
    }
  } while (!m_released.wait_for(lock, std::chrono::milliseconds(100), [this] { return m_done; }));
}

}  // namespace Testing
