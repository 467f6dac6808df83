#include "src/core/midi/platform/midi_setup_watcher.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <alsa/asoundlib.h>
#include <jack/jack.h>

#include <fcntl.h>
#include <unistd.h>

#include <mutex>
#include <thread>

#include "src/core/midi/platform/midi_api.h"

namespace Core {

namespace {

const char* const ClientName = "Quorvale";

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
      Check();
    });
    return true;
  }

  // Any thread: asks the GUI thread to look at the MIDI set-up.
  void Wake() {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written =
        write(m_wake[1], &byte, 1);  // full pipe: a check is due
  }

  // GUI thread: passes the notice on when the MIDI sources differ from the last ones seen.
  void Check() {
    QStringList sources = ListSources();
    if (sources == m_sources) return;
    m_sources = std::move(sources);
    if (m_onChange) m_onChange();
  }

  virtual bool Open() = 0;

 protected:
  virtual QStringList ListSources() = 0;
  void Remember() { m_sources = ListSources(); }

 private:
  std::function<void()> m_onChange;
  QStringList m_sources;
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

 private:
  // JACK's notification thread: server calls are not allowed here, so the work is handed on.
  static void OnPortRegistration(jack_port_id_t, int, void* user) {
    static_cast<JackWatcher*>(user)->Wake();
  }

  jack_client_t* m_client = nullptr;
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
        const unsigned int caps = snd_seq_port_info_get_capability(port);
        const unsigned int wanted = SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ;
        if ((caps & wanted) != wanted || (caps & SND_SEQ_PORT_CAP_NO_EXPORT)) continue;
        names << QStringLiteral("%1:%2 %3")
                     .arg(id)
                     .arg(snd_seq_port_info_get_port(port))
                     .arg(QString::fromUtf8(snd_seq_port_info_get_name(port)));
      }
    }
    return names;
  }

 private:
  // Its own thread, for the life of the process: every announcement asks the GUI thread to look.
  void Listen() {
    for (;;) {
      snd_seq_event_t* event = nullptr;
      const int result = snd_seq_event_input(m_sequencer, &event);
      if (result == -ENOSPC) continue;
      if (result < 0) return;
      Wake();
    }
  }

  snd_seq_t* m_sequencer = nullptr;
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
