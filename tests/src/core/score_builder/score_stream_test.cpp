#include "src/core/score_builder/score_stream.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace {

QByteArray Written(const std::function<void(QDataStream&)>& write) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(Core::ScoreStreamVersion);
  write(out);
  return bytes;
}

bool SamePixmap(const std::shared_ptr<QPixmap>& a, const std::shared_ptr<QPixmap>& b) {
  return a && b &&
         a->toImage().convertToFormat(QImage::Format_ARGB32) ==
             b->toImage().convertToFormat(QImage::Format_ARGB32);
}

void ExpectSameScore(const Core::ScoresDescription& a, const Core::ScoresDescription& b) {
  ASSERT_EQ(a.pages.size(), b.pages.size());
  for (qsizetype i = 0; i < a.pages.size(); ++i) {
    const auto &p = a.pages[i], &q = b.pages[i];
    EXPECT_TRUE(SamePixmap(p.score, q.score) && SamePixmap(p.fingers, q.fingers) &&
                SamePixmap(p.letters, q.letters));
    EXPECT_EQ(std::tie(p.reserved, p.lastMeasure, p.musicStartX, p.musicEndX, p.width, p.height,
                       p.staffTop),
              std::tie(q.reserved, q.lastMeasure, q.musicStartX, q.musicEndX, q.width, q.height,
                       q.staffTop));
  }
  EXPECT_EQ(a.notes, b.notes);
  EXPECT_EQ(std::tie(a.measureLength, a.imageWidth, a.rowHeight, a.imageHeight, a.usedHeight,
                     a.usedWidth),
            std::tie(b.measureLength, b.imageWidth, b.rowHeight, b.imageHeight, b.usedHeight,
                     b.usedWidth));
}

Core::ScoresDescription SampleScore(int seed) {
  Core::ScoresDescription score;
  score.pages.append(Core::ScorePageDescription(30, 20, 12));
  QPainter(score.pages[0].score.get()).fillRect(2, 2, 5 + seed, 5, QColor(0, 0, 32));
  score.pages[0].lastMeasure = 3 + seed;
  score.pages[0].staffTop = 7;
  Core::NoteDesc note;
  note.id = seed;
  note.time = 1.5;
  note.letter = QChar(0x00E9);
  note.flag = true;
  score.notes = {note, Core::NoteDesc()};
  score.measureLength = 384;
  score.imageWidth = 30;
  score.usedWidth = 28 + seed;
  score.noteRects = {QRectF(1, 2, 3, 4)};  // not part of the stream
  score.highlightIndex = 0;
  return score;
}

TEST(ScoreStream, FixedSizesOfNotesAndMessages) {
  struct Case {
    const char* what;
    std::function<void(QDataStream&)> write;
    qsizetype bytes;
  };
  const Case cases[] = {
      {"note", [](QDataStream& s) { s << Core::NoteDesc(); }, 45},
      {"program change",
       [](QDataStream& s) { s << Core::MidiMessage(Core::MidiProgramChange, 0, 5); }, 3},
      {"note on", [](QDataStream& s) { s << Core::MidiMessage(0x90, 60, 100); }, 4},
      {"event",
       [](QDataStream& s) { s << Core::MidiEvent(Core::MidiMessage(0x90, 60, 1), 7, 0.5); }, 16},
  };
  for (const Case& c : cases) EXPECT_EQ(Written(c.write).size(), c.bytes) << c.what;
}

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

  const QByteArray bytes = Written([&](QDataStream& out) {
    out.setVersion(QDataStream::Qt_5_0);  // the lesson score pins its own version
    out << data;
    EXPECT_EQ(out.version(), QDataStream::Qt_5_0);
  });
  Core::LessonScoreData back;
  QDataStream in(bytes);
  in >> back;
  ASSERT_EQ(in.status(), QDataStream::Ok);
  EXPECT_TRUE(in.atEnd());

  EXPECT_EQ(back.name, data.name);
  ASSERT_TRUE(back.streamDevice);
  const auto& events = back.streamDevice->GetStream()->GetEvents();
  ASSERT_EQ(events.size(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(events[i].GetMessage(), midi->GetEvents()[i].GetMessage());
    EXPECT_EQ(events[i].GetTimePulses(), midi->GetEvents()[i].GetTimePulses());
    EXPECT_EQ(events[i].GetTime(), midi->GetEvents()[i].GetTime());
  }
  for (auto [a, b] :
       {std::pair{data.quarterSet, back.quarterSet}, {data.thirdSet, back.thirdSet}}) {
    ASSERT_EQ(a->size(), b->size());
    for (qsizetype i = 0; i < a->size(); ++i) ExpectSameScore((*a)[i], (*b)[i]);
  }
  EXPECT_TRUE(back.quarterSet->first().noteRects.isEmpty());
}

TEST(ScoreStream, MalformedInputStopsTheReadWithoutOverrunning) {
  struct Case {
    const char* what;
    QByteArray bytes;
  };
  const Case cases[] = {
      // A message claiming four bytes, followed by what would overrun a three-byte message.
      {"long message", QByteArray::fromHex("00000001"
                                           "04"
                                           "90403c7f"
                                           "00000000")},
      // A list count of four billion with two bytes behind it.
      {"huge count", QByteArray::fromHex("ffffffff"
                                         "0001")},
  };
  for (const Case& c : cases) {
    Core::MidiStream midi;
    midi.AddEvent(Core::MidiEvent());
    QDataStream in(c.bytes);
    in >> midi;
    EXPECT_NE(in.status(), QDataStream::Ok) << c.what;
    EXPECT_TRUE(midi.GetEvents().isEmpty()) << c.what;
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
