#pragma once

// Reads a Standard MIDI File into a stream of events (with the file's tempo map on request) and
// writes a stream back as a Standard MIDI File. Reading is our own (smf_reader.h), in one pass over
// the bytes; writing goes through libsmf. Failures come back as Error values, never as exceptions;
// a failed read leaves the stream untouched.

#include <QIODevice>
#include <QString>

#include <memory>
#include <vector>

#include "src/core/midi/error.h"
#include "src/core/midi/midi.h"

namespace Core {

class MidiFile {
 public:
  struct TempoChange {
    unsigned int position;  // in the file's pulses
    unsigned int microsecondsPerQuarter;
  };

  explicit MidiFile(const QString& fileName);
  explicit MidiFile(std::shared_ptr<QIODevice> device);

  // Appends the file's channel and short system messages (metadata and system-exclusive data left
  // out) to `stream`, in time order, each with its pulse time in the file's resolution and its
  // tempo-aware time in seconds.
  Error ReadStream(MidiStream& stream);
  Error ReadStream(MidiStream& stream, std::vector<TempoChange>* tempoMap);

  // Writes a format-1 file with one track per MIDI channel (96 pulses per quarter note); each
  // event keeps its pulse time as it is.
  Error WriteStream(const MidiStream& stream);

 private:
  QString m_fileName;
  std::shared_ptr<QIODevice> m_device;
};

}  // namespace Core
