#include "src/core/midi/smf/midi_file.h"

#include <QApplication>
#include <QFile>

#include <smf.h>

#include <climits>

#include "src/core/midi/smf/smf_reader.h"

namespace Core {

namespace {

constexpr int WriteTrackCount = 16;
constexpr int WritePulsesPerQuarter = 96;

struct SmfDeleter {
  void operator()(smf_t* smf) const { smf_delete(smf); }
};
using SmfPtr = std::unique_ptr<smf_t, SmfDeleter>;

QString Text(const char* message) {
  return QApplication::translate("QApplication", message);
}

bool HasValidDataBytes(const MidiMessage& message) {
  if (message.GetLength() == 0) return false;
  for (unsigned long i = 1; i < message.GetLength(); ++i)
    if (message.GetRawData()[i] >= 0x80) return false;
  return true;
}

}  // namespace

MidiFile::MidiFile(const QString& fileName)
    : m_fileName(fileName), m_device(std::make_shared<QFile>(fileName)) {}

MidiFile::MidiFile(std::shared_ptr<QIODevice> device) : m_device(std::move(device)) {}

Error MidiFile::ReadStream(MidiStream& stream) {
  return ReadStream(stream, nullptr);
}

Error MidiFile::ReadStream(MidiStream& stream, std::vector<TempoChange>* tempoMap) {
  // A device left open by an earlier read is read again from its start.
  const bool reusable = m_device && m_device->isOpen() && m_device->isReadable() &&
                        !m_device->isSequential() && m_device->seek(0);
  if (!m_device || (!reusable && !m_device->open(QIODevice::ReadOnly)))
    return MELVARIN_ERROR(Error::MidiFileOpen, Text("Error opening midi file."));

  const qint64 size = m_device->size();
  if (size < 0 || size > INT_MAX)
    return MELVARIN_ERROR(Error::MidiFileLoad, Text("Error loading midi file."));
  const QByteArray bytes = m_device->read(size);
  if (bytes.size() < size)
    return MELVARIN_ERROR(Error::MidiFileRead, Text("Error reading midi file."));

  std::optional<SmfContents> contents = ReadSmf(bytes);
  if (!contents) return MELVARIN_ERROR(Error::MidiFileLoad, Text("Error loading midi file."));

  stream.GetEvents().append(contents->events);
  if (tempoMap) {
    for (const SmfTempoMap::Entry& entry : contents->tempoMap)
      tempoMap->push_back({entry.pulses, entry.microsecondsPerQuarter});
  }
  return Error();
}

Error MidiFile::WriteStream(const MidiStream& stream) {
  SmfPtr smf(smf_new());
  if (!smf || smf_set_format(smf.get(), 1) != 0 ||
      smf_set_ppqn(smf.get(), WritePulsesPerQuarter) != 0)
    return MELVARIN_ERROR(Error::MidiFileRead, Text("Error writing midi file."));

  smf_track_t* tracks[WriteTrackCount];
  for (smf_track_t*& track : tracks) {
    track = smf_track_new();
    if (!track) return MELVARIN_ERROR(Error::MidiFileRead, Text("Error writing midi file."));
    smf_add_track(smf.get(), track);
  }

  for (const MidiEvent& event : stream.GetEvents()) {
    const MidiMessage& message = event.GetMessage();
    // A track holds channel messages. System messages have no place in it: the library would take
    // a system reset (0xFF) from a keyboard for the start of a metadata event and end the program.
    if (message.GetLength() > 0 && !message.IsStandardMessage()) continue;
    // The library refuses some messages it cannot encode (an empty one, a status byte missing)
    // and writes data bytes of 128 and more as they are, which no reader takes back. Such a stream
    // cannot be written faithfully, so nothing is saved.
    smf_event_t* smfEvent =
        !HasValidDataBytes(message)
            ? nullptr
            : smf_event_new_from_pointer(const_cast<unsigned char*>(message.GetRawData()),
                                         message.GetLength());
    if (!smfEvent) return MELVARIN_ERROR(Error::MidiFileRead, Text("Error writing midi file."));
    const int track = message.GetRawData()[0] & 0x0F;
    smf_track_add_event_pulses(
        tracks[track], smfEvent,
        static_cast<int>(std::min<unsigned int>(event.GetTimePulses(), INT_MAX)));
  }

  const QByteArray name = m_fileName.toLatin1();
  if (name.isEmpty() || smf_save(smf.get(), name.constData()) != 0)
    return MELVARIN_ERROR(Error::MidiFileRead, Text("Error writing midi file."));
  return Error();
}

}  // namespace Core
