#include "src/core/midi/smf/midi_file.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <smf.h>

#include <cstdint>
#include <initializer_list>

namespace Core {
namespace {

// Builds Standard MIDI File bytes by hand, so that the reader is checked against the file format
// itself rather than against the writer.
class SmfBytes {
 public:
  SmfBytes(int format, int ppqn) : m_format(format), m_ppqn(ppqn) {}

  // Each event: delta time and raw bytes (running status is not used).
  SmfBytes& Track(std::initializer_list<std::pair<unsigned, QByteArray>> events) {
    QByteArray body;
    for (const auto& [delta, bytes] : events) {
      body += VarLen(delta);
      body += bytes;
    }
    body += VarLen(0) + Bytes({0xFF, 0x2F, 0x00});
    m_tracks += "MTrk" + Be32(body.size()) + body;
    ++m_trackCount;
    return *this;
  }

  QByteArray Build() const {
    return "MThd" + Be32(6) + Be16(m_format) + Be16(m_trackCount) + Be16(m_ppqn) + m_tracks;
  }

  static QByteArray Bytes(std::initializer_list<int> bytes) {
    QByteArray out;
    for (int b : bytes) out += static_cast<char>(b);
    return out;
  }

 private:
  static QByteArray Be32(qsizetype v) {
    return Bytes({int(v >> 24) & 0xFF, int(v >> 16) & 0xFF, int(v >> 8) & 0xFF, int(v) & 0xFF});
  }
  static QByteArray Be16(int v) { return Bytes({(v >> 8) & 0xFF, v & 0xFF}); }
  static QByteArray VarLen(unsigned v) {
    QByteArray out(1, static_cast<char>(v & 0x7F));
    while (v >>= 7) out.prepend(static_cast<char>(0x80 | (v & 0x7F)));
    return out;
  }

  int m_format;
  int m_ppqn;
  int m_trackCount = 0;
  QByteArray m_tracks;
};

QByteArray Tempo(int usPerQuarter) {
  return SmfBytes::Bytes({0xFF, 0x51, 0x03, (usPerQuarter >> 16) & 0xFF, (usPerQuarter >> 8) & 0xFF,
                          usPerQuarter & 0xFF});
}

// Two tracks at 480 pulses per quarter: a conductor track with a title and two tempo changes
// (120 bpm, then 60 bpm from beat 2), and a track of notes, a controller and a text event.
QByteArray TwoTrackPiece() {
  using B = SmfBytes;
  return SmfBytes(1, 480)
      .Track({{0, B::Bytes({0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'})},
              {0, Tempo(500000)},
              {960, Tempo(1000000)}})
      .Track({{0, B::Bytes({0xC0, 0x00})},
              {0, B::Bytes({0x90, 60, 100})},
              {480, B::Bytes({0x80, 60, 0})},
              {0, B::Bytes({0xFF, 0x01, 0x02, 'h', 'i'})},
              {480, B::Bytes({0xB0, 7, 90})},
              {480, B::Bytes({0x99, 36, 80})}})
      .Build();
}

std::shared_ptr<QIODevice> Buffer(const QByteArray& bytes) {
  auto buffer = std::make_shared<QBuffer>();
  buffer->setData(bytes);
  return buffer;
}

MidiEvent Event(unsigned char status, unsigned char d1, unsigned char d2, unsigned pulses) {
  return MidiEvent(MidiMessage(status, d1, d2), pulses, 0.0);
}

TEST(MidiFileRead, MergesTracksByTimeSkipsMetadataAndConvertsTempoToSeconds) {
  MidiStream stream;
  std::vector<MidiFile::TempoChange> tempoMap;
  const Error error = MidiFile(Buffer(TwoTrackPiece())).ReadStream(stream, &tempoMap);
  ASSERT_TRUE(error.IsEmpty()) << error.GetMessage().toStdString();

  const QVector<MidiEvent>& events = stream.GetEvents();
  ASSERT_EQ(events.size(), 5);
  for (const MidiEvent& e : events) EXPECT_FALSE(e.GetMessage().IsMeta());

  EXPECT_EQ(events[0].GetMessage().GetLength(), 2);  // program change keeps its own length
  EXPECT_EQ(events[0].GetMessage().GetCommand(), MidiProgramChange);
  EXPECT_TRUE(events[1].GetMessage().IsNoteOn());
  EXPECT_TRUE(events[2].GetMessage().IsNoteOff());
  EXPECT_EQ(events[2].GetTimePulses(), 480u);
  EXPECT_DOUBLE_EQ(events[2].GetTime(), 0.5);
  // Beat 2 is at 1.0 s; from there a quarter lasts a full second.
  EXPECT_EQ(events[3].GetTimePulses(), 960u);
  EXPECT_DOUBLE_EQ(events[3].GetTime(), 1.0);
  EXPECT_EQ(events[4].GetTimePulses(), 1440u);
  EXPECT_DOUBLE_EQ(events[4].GetTime(), 2.0);
  EXPECT_EQ(events[4].GetMessage().GetChannel(), 9);

  ASSERT_EQ(tempoMap.size(), 2u);
  EXPECT_EQ(tempoMap[0].position, 0u);
  EXPECT_EQ(tempoMap[0].microsecondsPerQuarter, 500000u);
  EXPECT_EQ(tempoMap[1].position, 960u);
  EXPECT_EQ(tempoMap[1].microsecondsPerQuarter, 1000000u);
}

TEST(MidiFileRead, AppendsToWhatTheStreamAlreadyHoldsAndRereadsTheSameSource) {
  MidiStream stream;
  stream.AddEvent(Event(0x90, 1, 1, 0));
  MidiFile file(Buffer(TwoTrackPiece()));
  ASSERT_TRUE(file.ReadStream(stream).IsEmpty());
  ASSERT_TRUE(file.ReadStream(stream).IsEmpty());
  EXPECT_EQ(stream.GetEvents().size(), 11);
}

TEST(MidiFileRead, DropsSystemExclusiveButKeepsShortSystemMessages) {
  using B = SmfBytes;
  const QByteArray bytes = SmfBytes(0, 96)
                               .Track({{0, B::Bytes({0xF0, 0x05, 0x7E, 0x7F, 0x09, 0x01, 0xF7})},
                                       {0, B::Bytes({0xF0, 0x02, 0x7E, 0x01})},  // short, unended
                                       {0, B::Bytes({0x90, 64, 90})},
                                       {48, B::Bytes({0xF8})},
                                       {48, B::Bytes({0x80, 64, 0})}})
                               .Build();
  MidiStream stream;
  ASSERT_TRUE(MidiFile(Buffer(bytes)).ReadStream(stream).IsEmpty());
  ASSERT_EQ(stream.GetEvents().size(), 3);
  EXPECT_TRUE(stream.GetEvents()[0].GetMessage().IsNoteOn());
  EXPECT_EQ(stream.GetEvents()[1].GetMessage().GetLength(), 1);
  EXPECT_TRUE(stream.GetEvents()[2].GetMessage().IsNoteOff());
}

// Running status: data bytes without a status byte repeat the previous channel message.
TEST(MidiFileRead, RunningStatusRepeatsThePreviousChannelMessage) {
  using B = SmfBytes;
  const QByteArray bytes =
      SmfBytes(0, 96).Track({{0, B::Bytes({0x91, 60, 90})}, {96, B::Bytes({60, 0})}}).Build();
  MidiStream stream;
  ASSERT_TRUE(MidiFile(Buffer(bytes)).ReadStream(stream).IsEmpty());
  ASSERT_EQ(stream.GetEvents().size(), 2);
  EXPECT_EQ(stream.GetEvents()[1].GetMessage(), MidiMessage(0x91, 60, 0));
  EXPECT_EQ(stream.GetEvents()[1].GetTimePulses(), 96u);
}

struct BadInput {
  const char* name;
  QByteArray bytes;
};

void PrintTo(const BadInput& input, std::ostream* out) {
  *out << input.name;
}

class MidiFileBadInput : public ::testing::TestWithParam<BadInput> {};

TEST_P(MidiFileBadInput, GivesTheLoadErrorAndLeavesTheStreamUntouched) {
  QTemporaryDir dir;
  const QString path = dir.filePath("bad.mid");
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(GetParam().bytes);
  out.close();

  MidiStream stream;
  stream.AddEvent(Event(0x90, 60, 1, 7));
  std::vector<MidiFile::TempoChange> tempoMap;
  const Error error = MidiFile(path).ReadStream(stream, &tempoMap);
  EXPECT_EQ(error.GetCode(), 0x108);
  EXPECT_EQ(error.GetMessage(), "Error loading midi file.");
  EXPECT_STREQ(error.GetFunction(), "ReadStream");
  ASSERT_EQ(stream.GetEvents().size(), 1);
  EXPECT_EQ(stream.GetEvents()[0].GetTimePulses(), 7u);
  EXPECT_TRUE(tempoMap.empty());
}

// One track of `body` (no end-of-track is added) under a format-0 header.
QByteArray RawTrack(const QByteArray& body) {
  return "MThd" + SmfBytes::Bytes({0, 0, 0, 6, 0, 0, 0, 1, 0, 96}) + "MTrk" +
         SmfBytes::Bytes({0, 0, 0, static_cast<int>(body.size())}) + body;
}

QByteArray WithHeaderWord(QByteArray bytes, int offset, int value) {
  bytes[offset] = static_cast<char>(value >> 8);
  bytes[offset + 1] = static_cast<char>(value);
  return bytes;
}

// Several of these abort the whole program inside the parsing library unless they are refused
// before it sees them.
INSTANTIATE_TEST_SUITE_P(
    Files, MidiFileBadInput,
    ::testing::Values(
        BadInput{"Empty", QByteArray()},
        BadInput{"Text", QByteArray("This is a shopping list, not music.\n")},
        BadInput{"Truncated", TwoTrackPiece().left(40)},
        BadInput{"HeaderOnly", TwoTrackPiece().left(14)},
        BadInput{"NoEndOfTrack", RawTrack(SmfBytes::Bytes({0, 0x90, 60, 90}))},
        BadInput{"EventCutOffByTheTrackEnd", RawTrack(SmfBytes::Bytes({0, 0x90, 60}))},
        BadInput{"MetaLongerThanTheTrack",
                 RawTrack(SmfBytes::Bytes({0, 0xFF, 0x03, 0x40, 'x', 0, 0xFF, 0x2F, 0}))},
        BadInput{"EscapedSystemExclusive",
                 RawTrack(SmfBytes::Bytes({0, 0xF7, 0x01, 0x01, 0, 0xFF, 0x2F, 0}))},
        BadInput{"RunningStatusWithoutStatus",
                 RawTrack(SmfBytes::Bytes({0, 60, 90, 0, 0xFF, 0x2F, 0}))},
        // Read by the library as a second metadata event, which would lose the note quietly.
        BadInput{"RunningStatusAfterMetadata",
                 RawTrack(SmfBytes::Bytes({0, 0x90, 60, 90, 0, 0xFF, 0x01, 1, 'x', 16, 60, 0, 0,
                                           0xFF, 0x2F, 0}))},
        BadInput{"ShortTempo",
                 RawTrack(SmfBytes::Bytes({0, 0xFF, 0x51, 0x01, 7, 0, 0xFF, 0x2F, 0}))},
        BadInput{"OtherChunkBeforeATrack",
                 TwoTrackPiece().insert(14, "XTRA" + SmfBytes::Bytes({0, 0, 0, 0}))},
        BadInput{"TimeCodeDivision", WithHeaderWord(TwoTrackPiece(), 12, 0xE728)},
        BadInput{"NoDivision", WithHeaderWord(TwoTrackPiece(), 12, 0)},
        BadInput{"FormatTwo", WithHeaderWord(TwoTrackPiece(), 8, 2)}),
    [](const auto& test) { return std::string(test.param.name); });

// Damage anywhere in a file either still reads or gives the load error; it never ends the program.
TEST(MidiFileRead, DamageAnywhereNeverEndsTheProgram) {
  const QByteArray piece = TwoTrackPiece();
  auto read = [](const QByteArray& bytes) {
    MidiStream stream;
    const Error error = MidiFile(Buffer(bytes)).ReadStream(stream);
    if (error) {
      EXPECT_EQ(error.GetCode(), 0x108);
      EXPECT_TRUE(stream.GetEvents().isEmpty());
    }
  };
  for (qsizetype at = 0; at < piece.size(); ++at) {
    SCOPED_TRACE(at);
    read(piece.left(at));
    for (int value : {0x00, 0x2F, 0x7F, 0x80, 0xF0, 0xF7, 0xFF}) {
      QByteArray damaged = piece;
      damaged[at] = static_cast<char>(value);
      read(damaged);
    }
  }
}

TEST(MidiFileRead, MissingFileGivesTheOpenError) {
  MidiStream stream;
  const Error error = MidiFile(QStringLiteral("/nonexistent/folder/none.mid")).ReadStream(stream);
  EXPECT_EQ(error.GetCode(), 0x105);
  EXPECT_EQ(error.GetMessage(), "Error opening midi file.");
  EXPECT_TRUE(stream.GetEvents().isEmpty());
}

TEST(MidiFileWrite, RoundTripKeepsEveryChannelMessageAndPutsEachChannelOnItsOwnTrack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("round.mid");

  MidiStream written;
  written.AddEvent(MidiEvent(MidiMessage(MidiProgramChange, 0, 5), 0, 0.0));
  written.AddEvent(Event(0x90, 60, 100, 0));
  written.AddEvent(Event(0x99, 38, 90, 48));
  written.AddEvent(Event(0xB3, 7, 64, 60));
  written.AddEvent(Event(0xE0, 0x00, 0x40, 72));
  written.AddEvent(Event(0x80, 60, 0, 96));
  written.AddEvent(Event(0x89, 38, 0, 96));
  // A keyboard's clock and system reset have no place in a file's tracks; they are left out.
  MidiStream recorded = written;
  const unsigned char clock[] = {0xF8}, systemReset[] = {0xFF};
  recorded.AddEvent(MidiEvent(MidiMessage(clock, 1), 10, 0.0));
  recorded.AddEvent(MidiEvent(MidiMessage(systemReset, 1), 20, 0.0));
  ASSERT_TRUE(MidiFile(path).WriteStream(recorded).IsEmpty());

  MidiStream read;
  ASSERT_TRUE(MidiFile(path).ReadStream(read).IsEmpty());
  ASSERT_EQ(read.GetEvents().size(), written.GetEvents().size());
  for (const MidiEvent& w : written.GetEvents()) {
    const auto found =
        std::find_if(read.GetEvents().begin(), read.GetEvents().end(), [&](const MidiEvent& r) {
          return r.GetMessage() == w.GetMessage() && r.GetTimePulses() == w.GetTimePulses();
        });
    EXPECT_NE(found, read.GetEvents().end())
        << "status " << int(w.GetMessage().GetRawData()[0]) << " at " << w.GetTimePulses();
  }
  // Written at 96 pulses per quarter with the default tempo of 120 bpm.
  EXPECT_DOUBLE_EQ(read.GetEvents().last().GetTime(), 0.5);

  smf_t* smf = smf_load(QFile::encodeName(path).constData());
  ASSERT_NE(smf, nullptr);
  EXPECT_EQ(smf->number_of_tracks, 16);
  EXPECT_EQ(smf->ppqn, 96);
  smf_track_t* drums = smf_get_track_by_number(smf, 10);  // numbered from 1
  ASSERT_NE(drums, nullptr);
  smf_event_t* first = smf_track_get_next_event(drums);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->midi_buffer[0], 0x99);
  smf_delete(smf);
}

TEST(MidiFileWrite, FailuresAreReportedAndNothingIsSaved) {
  QTemporaryDir dir;
  MidiStream stream;
  stream.AddEvent(Event(0x90, 60, 100, 0));

  const Error unwritable = MidiFile(dir.filePath("missing/folder/x.mid")).WriteStream(stream);
  EXPECT_EQ(unwritable.GetCode(), 0x101);
  EXPECT_EQ(unwritable.GetMessage(), "Error writing midi file.");
  EXPECT_STREQ(unwritable.GetFunction(), "WriteStream");

  // A reader built on a device has no file name to write to.
  EXPECT_EQ(MidiFile(Buffer(QByteArray())).WriteStream(stream).GetCode(), 0x101);

  // Messages that cannot be encoded faithfully: the file is not written at all.
  for (const MidiEvent& unencodable : {MidiEvent(), Event(0x90, 60, 200, 0)}) {
    MidiStream bad = stream;
    bad.AddEvent(unencodable);
    const QString path = dir.filePath("unwritable.mid");
    EXPECT_EQ(MidiFile(path).WriteStream(bad).GetCode(), 0x101);
    EXPECT_FALSE(QFile::exists(path));
  }
}

}  // namespace
}  // namespace Core
