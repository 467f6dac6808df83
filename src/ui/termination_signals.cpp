#include "src/ui/termination_signals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace UI {

namespace {

// The pipe's reading and writing ends; made once, they live as long as the process.
int g_caught[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char number = static_cast<unsigned char>(signal);
  // A full pipe already holds a signal that has not been read: this one adds nothing.
  [[maybe_unused]] const ssize_t written = ::write(g_caught[1], &number, 1);
  errno = saved;
}

}  // namespace

void TerminationSignals::Catch() {
  // Without a pipe (no descriptors left) the signals keep their default and end the program.
  if (g_caught[0] < 0 && ::pipe2(g_caught, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  for (const int signal : {SIGTERM, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

TerminationSignals::TerminationSignals(std::function<void(int)> leave, QObject* parent)
    : QObject(parent), m_leave(std::move(leave)) {
  if (g_caught[0] < 0) return;  // nothing is caught
  m_notifier = new QSocketNotifier(g_caught[0], QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readCaught);
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readCaught() {
  unsigned char number = 0;
  while (::read(g_caught[0], &number, 1) == 1) m_leave(number);
}

}  // namespace UI
