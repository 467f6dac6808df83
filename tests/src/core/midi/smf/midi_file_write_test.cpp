#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>

#include "src/core/midi/smf/midi_file.h"
#include "src/core/midi/smf/smf_bytes.h"

namespace Core {
namespace {

MidiEvent Event(unsigned char status, unsigned char d1, unsigned char d2, unsigned pulses) {
  return MidiEvent(MidiMessage(status, d1, d2), pulses, 0.0);
}

// The body of track `number` (from 0) of a file whose header has the usual 6 bytes.
QByteArray TrackBody(const QByteArray& file, int number) {
  qsizetype at = 14;
  for (int track = 0; at + 8 <= file.size(); ++track) {
    const qsizetype length = qFromBigEndian<quint32>(file.constData() + at + 4);
    if (track == number) return file.mid(at + 8, length);
    at += 8 + length;
  }
  return {};
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

  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.mid(8, 6), Bytes({0, 1, 0, 16, 0, 96}));  // format 1, 16 tracks, 96 pulses
  EXPECT_TRUE(TrackBody(bytes, 9).startsWith(Bytes({48, 0x99, 38, 90})));
}

TEST(MidiFileWrite, FailuresAreReportedAndNothingIsSaved) {
  QTemporaryDir dir;
  MidiStream stream;
  stream.AddEvent(Event(0x90, 60, 100, 0));

  const Error unwritable = MidiFile(dir.filePath("missing/folder/x.mid")).WriteStream(stream);
  EXPECT_EQ(unwritable.GetCode(), 0x101);
  EXPECT_EQ(unwritable.GetMessage(), "Error writing midi file.");
  EXPECT_STREQ(unwritable.GetFunction(), "WriteStream");

  // A file object built on a device has no file name to write to.
  EXPECT_EQ(MidiFile(std::make_shared<QBuffer>()).WriteStream(stream).GetCode(), 0x101);

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
