#include "src/core/score_builder/score_stream.h"

#include <gtest/gtest.h>

#include <QIODevice>
#include <QPainter>

namespace {

template <typename T>
QByteArray Written(const T& value) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_5_0);  // lesson scores pin their own version
  out << value;
  EXPECT_EQ(out.version(), QDataStream::Qt_5_0);
  return bytes;
}

Core::ScoresDescription SampleScore(int seed) {
  Core::ScoresDescription score;
  score.pages.append(Core::ScorePageDescription(30, 20, 12));
  QPainter(score.pages[0].score.get()).fillRect(2, 2, 5 + seed, 5, QColor(0, 0, 32));
  score.pages[0].lastMeasure = 3 + seed;
  score.notes = {Core::NoteDesc(), Core::NoteDesc()};
  score.notes[0].letter = QChar(0x00E9);
  score.notes[0].flag = true;
  score.measureLength = 384;
  score.usedWidth = 28 + seed;
  score.noteRects = {QRectF(1, 2, 3, 4)};  // not part of the stream
  return score;
}

TEST(ScoreStream, FixedSizesOfNotesAndMessages) {
  EXPECT_EQ(Written(Core::NoteDesc()).size(), 45);
  EXPECT_EQ(Written(Core::MidiMessage(Core::MidiProgramChange, 0, 5)).size(), 3);
  EXPECT_EQ(Written(Core::MidiEvent(Core::MidiMessage(0x90, 60, 1), 7, 0.5)).size(), 16);
}

// Equal records write equal bytes: a score read back and written again gives the same stream.
TEST(ScoreStream, LessonScoreReadsBackEqual) {
  Core::LessonScoreData data;
  auto midi = std::make_shared<Core::MidiStream>();
  midi->AddEvent(Core::MidiEvent(Core::MidiMessage(0x90, 60, 100), 0, 0.0));
  midi->AddEvent(Core::MidiEvent(Core::MidiMessage(Core::MidiProgramChange, 1, 5), 384, 0.5));
  data.streamDevice = std::make_shared<Core::MidiInStreamDeviceManual>(midi);
  data.quarterSet =
      std::make_shared<Core::ScoreSet>(Core::ScoreSet{SampleScore(0), SampleScore(1)});
  data.thirdSet = std::make_shared<Core::ScoreSet>(Core::ScoreSet{SampleScore(2)});
  data.name = QStringLiteral("Für Elise");
  const QByteArray bytes = Written(data);

  Core::LessonScoreData back;
  QDataStream in(bytes);
  in >> back;
  ASSERT_EQ(in.status(), QDataStream::Ok);
  EXPECT_TRUE(in.atEnd());
  EXPECT_EQ(Written(back), bytes);
  EXPECT_EQ(back.name, data.name);
  EXPECT_EQ(back.streamDevice->GetStream()->GetEvents()[1].GetMessage().GetLength(), 2);
  EXPECT_EQ(back.quarterSet->at(1).pages[0].score->toImage(),
            data.quarterSet->at(1).pages[0].score->toImage());
  EXPECT_TRUE(back.quarterSet->first().noteRects.isEmpty());
}

TEST(ScoreStream, MalformedInputStopsTheReadWithoutOverrunning) {
  // A message claiming four bytes; a list count of four billion with two bytes behind it.
  for (const char* hex : {"00000001"
                          "04"
                          "90403c7f"
                          "00000000",
                          "ffffffff"
                          "0001"}) {
    Core::MidiStream midi;
    midi.AddEvent(Core::MidiEvent());
    QDataStream in(QByteArray::fromHex(hex));
    in >> midi;
    EXPECT_NE(in.status(), QDataStream::Ok) << hex;
    EXPECT_TRUE(midi.GetEvents().isEmpty()) << hex;
  }
  QDataStream in(
      QByteArray::fromHex("05"
                          "90403c7f01"));
  Core::MidiMessage message(0x80, 1, 2);
  in >> message;
  EXPECT_EQ(in.status(), QDataStream::ReadCorruptData);
  EXPECT_EQ(message.GetLength(), 0);
}

}  // namespace
