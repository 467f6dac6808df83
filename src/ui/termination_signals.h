#pragma once

// A shutdown or a logout sends the program SIGTERM or SIGHUP. Ending the process there and then
// would lose the statistics of the exercise in progress and the usage record, so each such signal
// becomes a call on the GUI thread instead, where the program leaves as it does when closed. The
// handler itself only writes the signal's number into a pipe, which is all a signal handler may
// safely do; the event loop reads it.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace UI {

class TerminationSignals : public QObject {
  Q_OBJECT

 public:
  // Catches SIGTERM and SIGHUP from now on; one caught while no TerminationSignals reads them
  // waits for the next one made. Each is caught once: the same signal again ends the program at
  // once, so a leaving that hangs never keeps the system waiting.
  static void Catch();

  // Calls `leave` with the signal's number on this thread's event loop for each signal caught.
  explicit TerminationSignals(std::function<void(int signal)> leave, QObject* parent = nullptr);
  ~TerminationSignals() override;

 private:
  void readCaught();

  std::function<void(int)> m_leave;
  QSocketNotifier* m_notifier = nullptr;
};

}  // namespace UI
