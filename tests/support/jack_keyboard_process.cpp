// A MIDI keyboard in a process of its own, for tests that unplug a keyboard and plug it in again:
// a JACK client with one MIDI output port, "<client>:out", that comes and goes on command. The
// client's name is used exactly, so the port comes back under the same name.
//
// Usage: melvarin_jack_keyboard <client>
// Commands, one a line on standard input; each is answered by one line on standard output:
//   plug           -> "plugged <port>" or "failed"
//   unplug         -> "unplugged"
//   press <note>   -> "sent" (a note-on, velocity 100, in the next cycle)
//   release <note> -> "sent"
// The program ends at the end of its input, closing its client.

#include <jack/jack.h>
#include <jack/midiport.h>
#include <jack/ringbuffer.h>

#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Keyboard {
  jack_client_t* client = nullptr;
  jack_port_t* port = nullptr;
  jack_ringbuffer_t* queue = jack_ringbuffer_create(4096);

  // Process thread: every queued three-byte message goes out in this cycle.
  static int Process(jack_nframes_t frames, void* self) {
    auto* keyboard = static_cast<Keyboard*>(self);
    void* buffer = jack_port_get_buffer(keyboard->port, frames);
    jack_midi_clear_buffer(buffer);
    unsigned char message[3];
    jack_nframes_t frame = 0;
    while (jack_ringbuffer_read_space(keyboard->queue) >= sizeof message) {
      jack_ringbuffer_read(keyboard->queue, reinterpret_cast<char*>(message), sizeof message);
      jack_midi_event_write(buffer, frame < frames ? frame++ : frames - 1, message, sizeof message);
    }
    return 0;
  }

  bool Plug(const std::string& name) {
    Unplug();
    client =
        jack_client_open(name.c_str(), JackOptions(JackNoStartServer | JackUseExactName), nullptr);
    if (!client) return false;
    port = jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    if (!port || jack_set_process_callback(client, &Keyboard::Process, this) != 0 ||
        jack_activate(client) != 0) {
      Unplug();
      return false;
    }
    return true;
  }

  // Closing the client takes its port off the server, as pulling a USB keyboard's cable does.
  void Unplug() {
    if (client) jack_client_close(client);
    client = nullptr;
    port = nullptr;
  }

  void Send(unsigned char status, int note) {
    const unsigned char message[3] = {status, static_cast<unsigned char>(note), 100};
    if (jack_ringbuffer_write_space(queue) >= sizeof message)
      jack_ringbuffer_write(queue, reinterpret_cast<const char*>(message), sizeof message);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: " << argv[0] << " <client>\n";
    return 2;
  }
  Keyboard keyboard;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string command;
    int note = 0;
    words >> command >> note;
    if (command == "plug") {
      if (keyboard.Plug(argv[1]))
        std::cout << "plugged " << jack_port_name(keyboard.port) << std::endl;
      else
        std::cout << "failed" << std::endl;
    } else if (command == "unplug") {
      keyboard.Unplug();
      std::cout << "unplugged" << std::endl;
    } else if (command == "press" || command == "release") {
      keyboard.Send(command == "press" ? 0x90 : 0x80, note);
      std::cout << "sent" << std::endl;
    }
  }
  keyboard.Unplug();
  jack_ringbuffer_free(keyboard.queue);
  return 0;
}
