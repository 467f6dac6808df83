#include "src/core/score_builder/score_stream.h"

namespace {

// Qt's own list reading reserves the stored count up front, so a corrupt count would ask for
// gigabytes before the first element fails. This reads the same form and grows as it goes.
template <typename T>
QDataStream& ReadList(QDataStream& stream, QVector<T>& list) {
  list.clear();
  quint32 count = 0;
  stream >> count;
  for (quint32 i = 0; i < count && stream.status() == QDataStream::Ok; ++i) {
    T value;
    stream >> value;
    if (stream.status() != QDataStream::Ok) break;
    list.append(value);
  }
  if (stream.status() != QDataStream::Ok) list.clear();
  return stream;
}

template <typename T>
QDataStream& WriteList(QDataStream& stream, const QVector<T>& list) {
  stream << quint32(list.size());
  for (const T& value : list) stream << value;
  return stream;
}

void WritePixmap(QDataStream& stream, const std::shared_ptr<QPixmap>& pixmap) {
  stream << (pixmap ? *pixmap : QPixmap());
}

void ReadPixmap(QDataStream& stream, std::shared_ptr<QPixmap>& pixmap) {
  if (!pixmap) pixmap = std::make_shared<QPixmap>();
  stream >> *pixmap;
}

void WriteSet(QDataStream& stream, const std::shared_ptr<Core::ScoreSet>& set) {
  WriteList(stream, set ? *set : Core::ScoreSet());
}

// Lesson scores are stored in one fixed version of the stream form.
class PinnedVersion {
 public:
  explicit PinnedVersion(QDataStream& stream) : m_stream(stream), m_version(stream.version()) {
    stream.setVersion(Core::ScoreStreamVersion);
  }
  ~PinnedVersion() { m_stream.setVersion(m_version); }

 private:
  QDataStream& m_stream;
  int m_version;
};

}  // namespace

QDataStream& operator<<(QDataStream& stream, const Core::MidiMessage& message) {
  stream << quint8(message.GetLength());
  for (unsigned i = 0; i < message.GetLength(); ++i) stream << quint8(message.GetRawData()[i]);
  return stream;
}

QDataStream& operator>>(QDataStream& stream, Core::MidiMessage& message) {
  message = Core::MidiMessage();
  quint8 length = 0;
  stream >> length;
  if (length > Core::MidiMessage::MaxLength) {
    stream.setStatus(QDataStream::ReadCorruptData);
    return stream;
  }
  unsigned char bytes[Core::MidiMessage::MaxLength] = {};
  for (unsigned i = 0; i < length; ++i) stream >> bytes[i];
  if (length > 0 && stream.status() == QDataStream::Ok) message = Core::MidiMessage(bytes, length);
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const Core::MidiEvent& event) {
  return stream << event.GetMessage() << quint32(event.GetTimePulses()) << event.GetTime();
}

QDataStream& operator>>(QDataStream& stream, Core::MidiEvent& event) {
  Core::MidiMessage message;
  quint32 pulses = 0;
  double seconds = 0;
  stream >> message >> pulses >> seconds;
  event = Core::MidiEvent(message, pulses, seconds);
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const Core::MidiStream& midi) {
  return WriteList(stream, midi.GetEvents());
}

QDataStream& operator>>(QDataStream& stream, Core::MidiStream& midi) {
  return ReadList(stream, midi.GetEvents());
}

QDataStream& operator<<(QDataStream& stream, const Core::NoteDesc& note) {
  return stream << qint32(note.id) << note.time << note.x << note.headX << note.y << note.finger
                << note.letter << note.flag << qint32(note.page);
}

QDataStream& operator>>(QDataStream& stream, Core::NoteDesc& note) {
  qint32 id = 0, page = 0;
  stream >> id >> note.time >> note.x >> note.headX >> note.y >> note.finger >> note.letter >>
      note.flag >> page;
  note.id = id;
  note.page = page;
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const Core::ScorePageDescription& page) {
  for (const auto* pixmap : {&page.score, &page.fingers, &page.letters})
    WritePixmap(stream, *pixmap);
  return stream << qint32(page.reserved) << qint32(page.lastMeasure) << qint32(page.musicStartX)
                << qint32(page.musicEndX) << qint32(page.width) << qint32(page.height)
                << qint32(page.staffTop);
}

QDataStream& operator>>(QDataStream& stream, Core::ScorePageDescription& page) {
  for (auto* pixmap : {&page.score, &page.fingers, &page.letters}) ReadPixmap(stream, *pixmap);
  for (int* field : {&page.reserved, &page.lastMeasure, &page.musicStartX, &page.musicEndX,
                     &page.width, &page.height, &page.staffTop}) {
    qint32 value = 0;
    stream >> value;
    *field = value;
  }
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const Core::ScoresDescription& score) {
  WriteList(stream, score.pages);
  WriteList(stream, score.notes);
  return stream << score.measureLength << qint32(score.imageWidth) << qint32(score.rowHeight)
                << qint32(score.imageHeight) << qint32(score.usedHeight) << qint32(score.usedWidth);
}

QDataStream& operator>>(QDataStream& stream, Core::ScoresDescription& score) {
  ReadList(stream, score.pages);
  ReadList(stream, score.notes);
  stream >> score.measureLength;
  for (int* field : {&score.imageWidth, &score.rowHeight, &score.imageHeight, &score.usedHeight,
                     &score.usedWidth}) {
    qint32 value = 0;
    stream >> value;
    *field = value;
  }
  return stream;
}

QDataStream& operator<<(QDataStream& stream, const Core::ScoreSet& set) {
  return WriteList(stream, set);
}

QDataStream& operator>>(QDataStream& stream, Core::ScoreSet& set) {
  return ReadList(stream, set);
}

QDataStream& operator<<(QDataStream& stream, const Core::LessonScoreData& data) {
  PinnedVersion pinned(stream);
  stream << (data.streamDevice ? *data.streamDevice->GetStream() : Core::MidiStream());
  WriteSet(stream, data.quarterSet);
  WriteSet(stream, data.thirdSet);
  return stream << data.name;
}

QDataStream& operator>>(QDataStream& stream, Core::LessonScoreData& data) {
  PinnedVersion pinned(stream);
  auto midi = std::make_shared<Core::MidiStream>();
  stream >> *midi;
  data.streamDevice = std::make_shared<Core::MidiInStreamDeviceManual>(midi);
  data.quarterSet = std::make_shared<Core::ScoreSet>();
  data.thirdSet = std::make_shared<Core::ScoreSet>();
  ReadList(stream, *data.quarterSet);
  ReadList(stream, *data.thirdSet);
  return stream >> data.name;
}
