#pragma once

#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace Testing {

// Named pipes made in place of files, and a watchdog for the code under test: a reader that
// opens one of them waits until a writer comes, so the test would hang there for good. When the
// test has not called Release() within `seconds`, the watchdog opens each pipe for writing once,
// which lets every such reader go on, and notes that it had to.
class NamedPipes {
 public:
  explicit NamedPipes(int seconds = 60);
  ~NamedPipes();
  NamedPipes(const NamedPipes&) = delete;
  NamedPipes& operator=(const NamedPipes&) = delete;

  // Makes a named pipe at `path`; false when it could not.
  bool Make(const QString& path);
  // Whether a named pipe is (still) at `path`.
  static bool IsPipe(const QString& path);
  // Stops the watchdog; true when it never had to free a reader.
  bool Release();

 private:
  void Watch(int seconds);

  QStringList m_paths;
  std::mutex m_mutex;
  std::condition_variable m_released;
  bool m_done = false;
  std::atomic<bool> m_freedAReader{false};
  std::thread m_watchdog;
};

}  // namespace Testing
