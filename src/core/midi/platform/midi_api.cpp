#include "src/core/midi/platform/midi_api.h"

#include <QByteArray>
#include <QtGlobal>

#include <alsa/asoundlib.h>

namespace Core {

namespace {

bool AlsaSequencerOpens() {
  snd_seq_t* sequencer = nullptr;
  if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) != 0) return false;
  snd_seq_close(sequencer);
  return true;
}

}  // namespace

RtMidi::Api ChooseMidiApi() {
  const QByteArray forced = qgetenv("MELVARIN_MIDI_API").trimmed().toLower();
  if (forced == "alsa") return RtMidi::LINUX_ALSA;
  if (forced == "jack") return RtMidi::UNIX_JACK;
  // Whether the machine has a sequencer does not change while the program runs; probing once
  // also keeps ALSA's complaints about a missing one to a single time.
  static const bool alsa = AlsaSequencerOpens();
  return alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

}  // namespace Core
