#include <QBuffer>

#include <cmath>
#include <memory>
#include <vector>

#include "fuzz/fuzz_targets.h"
#include "src/common/assertion.h"
#include "src/core/midi/smf/midi_file.h"

namespace Fuzz {

namespace {

bool IsKeptMessage(const Core::MidiMessage& message) {
  const unsigned char* bytes = message.GetRawData();
  if (message.GetLength() < 1 || message.GetLength() > Core::MidiMessage::MaxLength) return false;
  if (bytes[0] < 0x80 || bytes[0] == 0xF0 || bytes[0] == 0xF7 || bytes[0] == 0xFF) return false;
  for (unsigned long i = 1; i < message.GetLength(); ++i)
    if (bytes[i] >= 0x80) return false;
  return true;
}

}  // namespace

int ReadMidiFile(const std::uint8_t* data, std::size_t size) {
  auto device = std::make_shared<QBuffer>();
  device->setData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const Core::MidiEvent earlier(Core::MidiMessage(0x90, 60, 1), 7, 0.0);
  Core::MidiStream stream;
  stream.AddEvent(earlier);
  std::vector<Core::MidiFile::TempoChange> tempoMap;

  const Error error = Core::MidiFile(device).ReadStream(stream, &tempoMap);
  const QVector<Core::MidiEvent>& events = stream.GetEvents();
  MELVARIN_ASSERT(!events.isEmpty() && events[0].GetTimePulses() == earlier.GetTimePulses());
  if (error) {
    // A refused file leaves nothing behind.
    MELVARIN_ASSERT(error.GetCode() == Error::MidiFileLoad);
    MELVARIN_ASSERT(events.size() == 1 && tempoMap.empty());
    return 0;
  }

  // A read piece holds complete short messages in time order, no more of them than the bytes
  // can carry (every event takes at least two), under a tempo map that starts at the start.
  MELVARIN_ASSERT(static_cast<std::size_t>(events.size() - 1) <= size / 2);
  for (qsizetype i = 1; i < events.size(); ++i) {
    const Core::MidiEvent& event = events[i];
    MELVARIN_ASSERT(IsKeptMessage(event.GetMessage()));
    MELVARIN_ASSERT(event.GetTimePulses() <= 0x7FFFFFFFu);
    MELVARIN_ASSERT(std::isfinite(event.GetTime()) && event.GetTime() >= 0.0);
    if (i > 1) {
      MELVARIN_ASSERT(event.GetTimePulses() >= events[i - 1].GetTimePulses());
      MELVARIN_ASSERT(event.GetTime() >= events[i - 1].GetTime());
    }
  }
  MELVARIN_ASSERT(!tempoMap.empty() && tempoMap.front().position == 0);
  for (size_t i = 0; i < tempoMap.size(); ++i) {
    MELVARIN_ASSERT(tempoMap[i].microsecondsPerQuarter > 0);
    if (i > 0) MELVARIN_ASSERT(tempoMap[i].position > tempoMap[i - 1].position);
  }
  return 0;
}

}  // namespace Fuzz
