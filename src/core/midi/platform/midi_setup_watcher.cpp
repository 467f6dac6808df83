#include "src/core/midi/platform/midi_setup_watcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "src/core/midi/platform/midi_api.h"

namespace Core {

namespace {

const char* const ClientName = "Quorvale";
// After a notice the list of sources is looked at again this often, until it has stayed the same
// for SettleLooks looks: a MIDI system may announce a port's removal before its list shows it.
constexpr int SettleLookMs = 100;
constexpr int SettleLooks = 5;

class Watcher : public MidiSetupWatcher {
 public:
  explicit Watcher(std::function<void()> onChange) : m_onChange(std::move(onChange)) {}
  // Only a watcher that failed to open is ever destroyed; a working one lives with the process.
  ~Watcher() override {
    delete m_notifier;
    for (int fd : m_wake)
      if (fd >= 0) close(fd);
  }

  // GUI thread, before Open: the wake-up line from the MIDI system's threads to the GUI thread.
  // A pipe rather than a posted event: nothing allocated on one thread is used on the other, and
  // a burst of notices becomes one check.
  bool ConnectToGui() {
    if (!QCoreApplication::instance()) return false;  // no GUI thread to deliver to
    if (pipe2(m_wake, O_NONBLOCK | O_CLOEXEC) != 0) return false;
    m_notifier = new QSocketNotifier(m_wake[0], QSocketNotifier::Read);
    QObject::connect(m_notifier, &QSocketNotifier::activated, [this] {
      char drained[64];
      while (read(m_wake[0], drained, sizeof drained) > 0) {
      }
      // A notice of any port, the program's own among them: the sources may be about to change.
      m_looksLeft = SettleLooks;
      Check();
    });
    m_settleTimer.setSingleShot(true);
    m_settleTimer.setInterval(SettleLookMs);
    QObject::connect(&m_settleTimer, &QTimer::timeout, [this] { Check(); });
    return true;
  }

  // Any thread: asks the GUI thread to look at the MIDI set-up.
  void Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written =
        write(m_wake[1], &byte, 1);  // full pipe: a check is due
  }

  // GUI thread: passes the notice on when a MIDI source of another program came, even under a
  // name seen before (a keyboard plugged in again), or when the sources differ from the last ones
  // seen (one went). Then looks again until the list settles.
  void Check() {
    QStringList sources = ListSources();
    const bool arrived = TakeArrivedSource();
    const bool changed = sources != m_sources;
    m_sources = std::move(sources);
    if (arrived || changed) {
      m_looksLeft = SettleLooks;
      if (m_onChange) m_onChange();
    } else if (m_looksLeft > 0) {
      --m_looksLeft;
    }
    if (m_looksLeft > 0 && !m_settleTimer.isActive()) m_settleTimer.start();
  }

  virtual bool Open() = 0;

 protected:
  virtual QStringList ListSources() = 0;
  // GUI thread: whether a MIDI source of another program was registered since the last call.
  virtual bool TakeArrivedSource() = 0;
  void Remember() { m_sources = ListSources(); }

 private:
  std::function<void()> m_onChange;
  QStringList m_sources;
  int m_looksLeft = 0;  // looks still due before the sources count as settled
  QTimer m_settleTimer;
  int m_wake[2] = {-1, -1};
  QSocketNotifier* m_notifier = nullptr;  // lives as long as the process, like the watcher
};

class JackWatcher : public Watcher {
 public:
  using Watcher::Watcher;

  bool Open() override {
    jack_status_t status;
    m_client = jack_client_open(ClientName, JackNoStartServer, &status);
    if (!m_client) return false;
    jack_set_port_registration_callback(m_client, &JackWatcher::OnPortRegistration, this);
    if (jack_activate(m_client) != 0) {
      jack_client_close(m_client);
      m_client = nullptr;
      return false;
    }
    Remember();
    return true;
  }

 protected:
  QStringList ListSources() override {
    QStringList names;
    if (const char** ports =
            jack_get_ports(m_client, nullptr, JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput)) {
      for (const char** port = ports; *port; ++port) names << QString::fromUtf8(*port);
      jack_free(ports);
    }
    return names;
  }

  bool TakeArrivedSource() override { return m_sourceArrived.exchange(false); }

 private:
  // JACK's notification thread: server calls are not allowed here, so the work is handed on. The
  // port's own record can be read, though, while the port exists: a new MIDI output port is a
  // source. The program registers none (its input devices' ports take MIDI in), so any such port
  // is another program's. A port that goes shows as missing from the list.
  static void OnPortRegistration(jack_port_id_t id, int registered, void* user) {
    auto* watcher = static_cast<JackWatcher*>(user);
    if (registered) {
      const jack_port_t* port = jack_port_by_id(watcher->m_client, id);
      if (port && (jack_port_flags(port) & JackPortIsOutput) &&
          std::strcmp(jack_port_type(port), JACK_DEFAULT_MIDI_TYPE) == 0)
        watcher->m_sourceArrived.store(true);
    }
    watcher->Wake();
  }

  jack_client_t* m_client = nullptr;
  std::atomic<bool> m_sourceArrived{false};
};

class AlsaWatcher : public Watcher {
 public:
  using Watcher::Watcher;

  bool Open() override {
    if (snd_seq_open(&m_sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0) != 0) return false;
    snd_seq_set_client_name(m_sequencer, ClientName);
    const int port = snd_seq_create_simple_port(m_sequencer, "Announcements",
                                                SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
                                                SND_SEQ_PORT_TYPE_APPLICATION);
    if (port < 0 || snd_seq_connect_from(m_sequencer, port, SND_SEQ_CLIENT_SYSTEM,
                                         SND_SEQ_PORT_SYSTEM_ANNOUNCE) < 0) {
      snd_seq_close(m_sequencer);
      m_sequencer = nullptr;
      return false;
    }
    Remember();
    std::thread([this] { Listen(); }).detach();
    return true;
  }

 protected:
  QStringList ListSources() override {
    QStringList names;
    snd_seq_client_info_t* client;
    snd_seq_port_info_t* port;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    const int self = snd_seq_client_id(m_sequencer);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(m_sequencer, client) >= 0) {
      const int id = snd_seq_client_info_get_client(client);
      if (id == SND_SEQ_CLIENT_SYSTEM || id == self) continue;
      snd_seq_port_info_set_client(port, id);
      snd_seq_port_info_set_port(port, -1);
      while (snd_seq_query_next_port(m_sequencer, port) >= 0) {
        if (!IsSource(snd_seq_port_info_get_capability(port))) continue;
        names << QStringLiteral("%1:%2 %3")
                     .arg(id)
                     .arg(snd_seq_port_info_get_port(port))
                     .arg(QString::fromUtf8(snd_seq_port_info_get_name(port)));
      }
    }
    return names;
  }

  bool TakeArrivedSource() override {
    std::vector<snd_seq_addr_t> started;
    {
      std::lock_guard lock(m_startedMutex);
      started.swap(m_started);
    }
    bool arrived = false;
    snd_seq_port_info_t* port;
    snd_seq_port_info_alloca(&port);
    for (const snd_seq_addr_t& address : started)
      if (snd_seq_get_any_port_info(m_sequencer, address.client, address.port, port) == 0)
        arrived = arrived || IsSource(snd_seq_port_info_get_capability(port));
    return arrived;
  }

 private:
  // A port another program can read MIDI from; the program's own input ports only take MIDI in.
  static bool IsSource(unsigned int caps) {
    const unsigned int wanted = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
    return (caps & wanted) == wanted && !(caps & SND_SEQ_PORT_CAP_NO_EXPORT);
  }

  // Its own thread, for the life of the process: every announcement asks the GUI thread to look,
  // and a port that started is noted for it to examine there.
  void Listen() {
    for (;;) {
      snd_seq_event_t* event = nullptr;
      const int result = snd_seq_event_input(m_sequencer, &event);
      if (result == -ENOSPC) continue;
      if (result < 0) return;
      if (event && event->type == SND_SEQ_EVENT_PORT_START) {
        std::lock_guard lock(m_startedMutex);
        m_started.push_back(event->data.addr);
      }
      Wake();
    }
  }

  snd_seq_t* m_sequencer = nullptr;
  std::mutex m_startedMutex;
  std::vector<snd_seq_addr_t> m_started;  // ports started since the GUI thread last looked
};

}  // namespace

bool MidiSetupWatcher::Start(std::function<void()> onChange) {
  static std::mutex mutex;
  static bool started = false;
  static bool watching = false;
  std::lock_guard lock(mutex);
  if (started) return watching;
  started = true;
  std::unique_ptr<Watcher> watcher;
  if (ChooseMidiApi() == RtMidi::LINUX_ALSA)
    watcher = std::make_unique<AlsaWatcher>(std::move(onChange));
  else
    watcher = std::make_unique<JackWatcher>(std::move(onChange));
  watching = watcher->ConnectToGui() && watcher->Open();
  // Lives as long as the process, like the client it holds.
  if (watching) (void)watcher.release();
  return watching;
}

}  // namespace Core
