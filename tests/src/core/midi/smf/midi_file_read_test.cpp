#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <vector>

#include "src/core/midi/smf/midi_file.h"
#include "src/core/midi/smf/smf_bytes.h"
#include "support/patience.h"
#include "support/thread_cpu_clock.h"

namespace Core {
namespace {

// Two tracks at 480 pulses per quarter: a conductor track with a title, two tempo changes (120 bpm,
// then 60 bpm from beat 2) and two time signatures, and a track of notes, a controller and a text.
QByteArray TwoTrackPiece() {
  return SmfBytes(1, 480)
      .Track({{0, Meta(0x03, "Song")},
              {0, TimeSignature()},
              {0, Tempo(500000)},
              {960, Tempo(1000000)},
              {480, TimeSignature()}})
      .Track({{0, Bytes({0xC0, 0x00})},
              {0, Bytes({0x90, 60, 100})},
              {480, Bytes({0x80, 60, 0})},
              {0, Meta(0x01, "hi")},
              {480, Bytes({0xB0, 7, 90})},
              {480, Bytes({0x99, 36, 80})}})
      .Build();
}

std::shared_ptr<QIODevice> Buffer(const QByteArray& bytes) {
  auto buffer = std::make_shared<QBuffer>();
  buffer->setData(bytes);
  return buffer;
}

MidiEvent Event(unsigned char status, unsigned char d1, unsigned char d2, unsigned pulses,
                double seconds = 0.0) {
  return MidiEvent(MidiMessage(status, d1, d2), pulses, seconds);
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

  // A time signature opens an entry that carries the tempo on; one at the pulse of a tempo
  // change shares its entry.
  ASSERT_EQ(tempoMap.size(), 3u);
  const std::pair<unsigned, unsigned> expected[] = {{0, 500000}, {960, 1000000}, {1440, 1000000}};
  for (size_t i = 0; i < tempoMap.size(); ++i) {
    EXPECT_EQ(tempoMap[i].position, expected[i].first);
    EXPECT_EQ(tempoMap[i].microsecondsPerQuarter, expected[i].second);
  }
}

TEST(MidiFileRead, AppendsToWhatTheStreamAlreadyHoldsAndRereadsTheSameSource) {
  MidiStream stream;
  stream.AddEvent(Event(0x90, 1, 1, 0));
  MidiFile file(Buffer(TwoTrackPiece()));
  ASSERT_TRUE(file.ReadStream(stream).IsEmpty());
  ASSERT_TRUE(file.ReadStream(stream).IsEmpty());
  EXPECT_EQ(stream.GetEvents().size(), 11);
}

struct WellFormedFile {
  const char* name;
  QByteArray bytes;
  std::vector<MidiEvent> events;
};

void PrintTo(const WellFormedFile& file, std::ostream* out) {
  *out << file.name;
}

class MidiFileWellFormed : public ::testing::TestWithParam<WellFormedFile> {};

TEST_P(MidiFileWellFormed, ReadsEveryEventAndNothingElse) {
  MidiStream stream;
  const Error error = MidiFile(Buffer(GetParam().bytes)).ReadStream(stream);
  ASSERT_TRUE(error.IsEmpty()) << error.GetMessage().toStdString();
  const std::vector<MidiEvent>& expected = GetParam().events;
  ASSERT_EQ(stream.GetEvents().size(), static_cast<qsizetype>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    const MidiEvent& read = stream.GetEvents()[static_cast<qsizetype>(i)];
    EXPECT_EQ(read.GetMessage(), expected[i].GetMessage());
    EXPECT_EQ(read.GetTimePulses(), expected[i].GetTimePulses());
    EXPECT_DOUBLE_EQ(read.GetTime(), expected[i].GetTime());
  }
}

// At 96 pulses per quarter and 120 bpm: a note on at 0 and its note off a quarter (0.5 s) later.
const QByteArray NoteOn = Bytes({0x90, 60, 64});
const QByteArray NoteOff = Bytes({0x80, 60, 0});
const unsigned char Clock[] = {0xF8};
const std::vector<MidiEvent> Note = {Event(0x90, 60, 64, 0, 0.0), Event(0x80, 60, 0, 96, 0.5)};

// One format-0 track: the event `before`, then the note.
QByteArray NoteAfter(const QByteArray& before, int headerLength = 6) {
  return SmfBytes(0, 96, headerLength).Track({{0, before}, {0, NoteOn}, {96, NoteOff}}).Build();
}

QByteArray Text(int length) {
  QByteArray text;
  while (text.size() < length) text += "(c) 2026 The composer and the publishers of this piece. ";
  return text.left(length);
}

// Metadata of 128 bytes and more has a length of two or more bytes. Each of these once made the
// reader parse inside the text: the first read as nothing at all, the second grew a note-on that
// is never released, the third ended the program.
INSTANTIATE_TEST_SUITE_P(
    Files, MidiFileWellFormed,
    ::testing::Values(
        WellFormedFile{"CopyrightOf200Characters", NoteAfter(Meta(0x02, Text(200))), Note},
        WellFormedFile{
            "TextHidingANoteOn",
            NoteAfter(Meta(0x01,
                           Text(128) + Bytes({0, 0x90, 0x3C, 0x40, 0, 0xFF, 0x2F, 0}) + Text(64))),
            Note},
        WellFormedFile{
            "TextHidingTimesPastTheEnd",
            NoteAfter(Meta(0x01, Text(128) + Bytes({0xFF, 0xFF, 0xFF, 0x7F, 0xF8}).repeated(9))),
            Note},
        WellFormedFile{"TextOf16384Bytes", NoteAfter(Meta(0x01, Text(16384))), Note},
        WellFormedFile{"HeaderOf7Bytes", NoteAfter(Meta(0x01, "x"), 7), Note},
        WellFormedFile{
            "OtherChunkBeforeATrack",
            SmfBytes(0, 96).Chunk("XTRA", "data").Track({{0, NoteOn}, {96, NoteOff}}).Build(),
            Note},
        // System-exclusive data, here in two packets, is left out; a clock message is kept.
        WellFormedFile{
            "SystemExclusiveLeftOutClockKept",
            NoteAfter(Bytes({0xF0, 0x03, 0x43, 0x12, 0x00, 0, 0xF7, 0x02, 0x43, 0xF7, 0, 0xF8})),
            {MidiEvent(MidiMessage(Clock, 1), 0, 0.0), Note[0], Note[1]}},
        WellFormedFile{
            "RunningStatus",
            SmfBytes(0, 96).Track({{0, Bytes({0x91, 60, 90})}, {96, Bytes({60, 0})}}).Build(),
            {Event(0x91, 60, 90, 0, 0.0), Event(0x91, 60, 0, 96, 0.5)}},
        // A tempo in a later track that comes before one in an earlier track once left the whole
        // piece out of the read.
        WellFormedFile{
            "TempoOfALaterTrackComesFirst",
            SmfBytes(1, 96)
                .Track({{192, Tempo(1000000)}})
                .Track(
                    {{96, Tempo(250000)}, {0, Bytes({0x90, 60, 64})}, {192, Bytes({0x80, 60, 0})}})
                .Build(),
            // 96 pulses at 120 bpm, 96 at 240 bpm, 96 at 60 bpm.
            {Event(0x90, 60, 64, 96, 0.5), Event(0x80, 60, 0, 288, 1.75)}}),
    [](const auto& test) { return std::string(test.param.name); });

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

// One format-0 track of `body` (no end-of-track is added).
QByteArray RawTrack(const QByteArray& body) {
  return SmfBytes(0, 96).TrackBody(body).Build();
}

QByteArray WithHeaderWord(QByteArray bytes, int offset, int value) {
  bytes[offset] = static_cast<char>(value >> 8);
  bytes[offset + 1] = static_cast<char>(value);
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Files, MidiFileBadInput,
    ::testing::Values(
        BadInput{"Empty", QByteArray()},
        BadInput{"Text", QByteArray("This is a shopping list, not music.\n")},
        BadInput{"Truncated", TwoTrackPiece().left(40)},
        BadInput{"HeaderOnly", TwoTrackPiece().left(14)},
        BadInput{"HeaderLongerThanTheFile", SmfBytes(0, 96, 40).Build().left(30)},
        BadInput{"NoTracks", SmfBytes(0, 96).Build()},
        BadInput{"OnlyAnotherChunk",
                 WithHeaderWord(SmfBytes(0, 96).Chunk("XTRA", "").Build(), 10, 1)},
        BadInput{"OtherChunkCutShort",
                 WithHeaderWord(SmfBytes(0, 96).Chunk("XTRA", "data").Build().chopped(1), 10, 1)},
        BadInput{"NoEndOfTrack", RawTrack(Bytes({0, 0x90, 60, 90}))},
        BadInput{"EventCutOffByTheTrackEnd", RawTrack(Bytes({0, 0x90, 60}))},
        BadInput{"MetaLongerThanTheTrack",
                 RawTrack(Bytes({0, 0xFF, 0x03, 0x40, 'x', 0, 0xFF, 0x2F, 0}))},
        BadInput{"LengthOfFiveBytes",
                 RawTrack(Bytes({0, 0xFF, 0x01, 0x80, 0x80, 0x80, 0x80, 0x00, 0, 0xFF, 0x2F, 0}))},
        BadInput{
            "TimePastTheSignedRange",
            RawTrack((VarLen(0x0FFFFFFF) + Bytes({0xF8})).repeated(9) + Bytes({0, 0xFF, 0x2F, 0}))},
        BadInput{"RunningStatusWithoutStatus", RawTrack(Bytes({0, 60, 90, 0, 0xFF, 0x2F, 0}))},
        // Metadata ends running status; the data bytes after it are not a note.
        BadInput{"RunningStatusAfterMetadata", RawTrack(Bytes({0, 0x90, 60, 90, 0, 0xFF, 0x01, 1,
                                                               'x', 16, 60, 0, 0, 0xFF, 0x2F, 0}))},
        BadInput{"UndefinedStatus", RawTrack(Bytes({0, 0xF4, 0, 0xFF, 0x2F, 0}))},
        BadInput{"ShortTempo", RawTrack(Bytes({0, 0xFF, 0x51, 0x01, 7, 0, 0xFF, 0x2F, 0}))},
        BadInput{"TimeCodeDivision", WithHeaderWord(TwoTrackPiece(), 12, 0xE728)},
        BadInput{"NoDivision", WithHeaderWord(TwoTrackPiece(), 12, 0)},
        BadInput{"FormatTwo", WithHeaderWord(TwoTrackPiece(), 8, 2)}),
    [](const auto& test) { return std::string(test.param.name); });

// Damage anywhere in a file either still reads or gives the load error; it never ends the program.
TEST(MidiFileRead, DamageAnywhereNeverEndsTheProgram) {
  auto read = [](const QByteArray& bytes) {
    MidiStream stream;
    const Error error = MidiFile(Buffer(bytes)).ReadStream(stream);
    if (error) {
      EXPECT_EQ(error.GetCode(), 0x108);
      EXPECT_TRUE(stream.GetEvents().isEmpty());
    }
  };
  for (const QByteArray& piece : {TwoTrackPiece(), NoteAfter(Meta(0x02, Text(130)))}) {
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
}

// Reading takes time in proportion to the file: these once took minutes.
TEST(MidiFileRead, LargeFilesAreReadWithoutEndlessWork) {
  SmfBytes manyTracks(1, 96);
  for (int i = 0; i < 65535; ++i) manyTracks.Track({});
  const QByteArray note = Bytes({0x90, 60, 64}) + VarLen(1) + Bytes({0x80, 60, 0}) + VarLen(1);
  const QByteArray manyEvents =
      SmfBytes(0, 96).TrackBody(VarLen(0) + note.repeated(65536) + Meta(0x2F, {})).Build();

  for (const auto& [bytes, eventCount] :
       {std::pair{manyTracks.Build(), 0}, std::pair{manyEvents, 131072}}) {
    const auto start = Testing::ThreadCpuClock::now();
    MidiStream stream;
    ASSERT_TRUE(MidiFile(Buffer(bytes)).ReadStream(stream).IsEmpty());
    EXPECT_LT(std::chrono::duration<double>(Testing::ThreadCpuClock::now() - start).count(),
              Testing::EndlessWorkSeconds);
    EXPECT_EQ(stream.GetEvents().size(), eventCount);
  }
}

TEST(MidiFileRead, MissingFileGivesTheOpenError) {
  MidiStream stream;
  const Error error = MidiFile(QStringLiteral("/nonexistent/folder/none.mid")).ReadStream(stream);
  EXPECT_EQ(error.GetCode(), 0x105);
  EXPECT_EQ(error.GetMessage(), "Error opening midi file.");
  EXPECT_TRUE(stream.GetEvents().isEmpty());
}

}  // namespace
}  // namespace Core
