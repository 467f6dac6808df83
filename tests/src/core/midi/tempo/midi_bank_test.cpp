#include "src/core/midi/tempo/midi_bank.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <map>

#include "src/core/midi/smf/midi_file.h"

namespace Core {
namespace {

constexpr TempoTypes AllClasses[] = {TEMPO_ADAGIO,   TEMPO_ALLEGRO, TEMPO_ANDANTE, TEMPO_LARGO,
                                     TEMPO_MODERATO, TEMPO_PRESTO,  TEMPO_VIVACE};

QString FileName(const MidiBank::MidiFileInfo& piece) {
  return QFileInfo(piece.path).fileName();
}

TEST(MidiBank, EveryClassHasItsPiecesInNameOrderIgnoringCase) {
  const std::map<TempoTypes, size_t> expected{
      {TEMPO_ADAGIO, 5},   {TEMPO_ALLEGRO, 5}, {TEMPO_ANDANTE, 6}, {TEMPO_LARGO, 5},
      {TEMPO_MODERATO, 5}, {TEMPO_PRESTO, 6},  {TEMPO_VIVACE, 6}};
  MidiBank bank;
  size_t total = 0;
  for (TempoTypes tempo : AllClasses) {
    std::vector<MidiBank::MidiFileInfo> pieces;
    bank.GetByTempo(tempo, pieces);
    ASSERT_EQ(pieces.size(), expected.at(tempo)) << "class " << tempo;
    QStringList names;
    for (const auto& piece : pieces) {
      EXPECT_EQ(piece.tempo, tempo);
      EXPECT_TRUE(piece.path.startsWith(":/midi/")) << piece.path.toStdString();
      EXPECT_TRUE(FileName(piece).startsWith(GetTempoString(tempo), Qt::CaseInsensitive))
          << piece.path.toStdString();
      ASSERT_TRUE(piece.stream);
      names << FileName(piece);
    }
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
      return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(names, sorted);
    total += pieces.size();
  }
  EXPECT_EQ(total, 38u);
}

TEST(MidiBank, ASecondCallSharesTheStreamsOfTheFirst) {
  MidiBank bank;
  std::vector<MidiBank::MidiFileInfo> first, second;
  bank.GetByTempo(TEMPO_PRESTO, first);
  bank.GetByTempo(TEMPO_PRESTO, second);
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i)
    EXPECT_EQ(first[i].stream.get(), second[i].stream.get());
}

// The pieces must be usable as tempo questions: played at a speed inside their class, long enough
// to judge, a melody over an accompaniment, and no two alike.
TEST(MidiBank, EveryPieceIsADistinctPianoPieceAtATempoOfItsClass) {
  MidiBank bank;
  QSet<QString> melodies;
  for (TempoTypes tempo : AllClasses) {
    int typical = 0, low = 0, high = 0;
    GetTempoBPM(tempo, typical, low, high);
    std::vector<MidiBank::MidiFileInfo> pieces;
    bank.GetByTempo(tempo, pieces);
    for (const auto& piece : pieces) {
      SCOPED_TRACE(piece.path.toStdString());
      MidiStream stream;
      std::vector<MidiFile::TempoChange> tempoMap;
      ASSERT_TRUE(MidiFile(piece.path).ReadStream(stream, &tempoMap).IsEmpty());
      ASSERT_FALSE(tempoMap.empty());
      for (const auto& change : tempoMap) {
        const double bpm = 60e6 / change.microsecondsPerQuarter;
        EXPECT_GE(bpm, low);
        EXPECT_LE(bpm, high);
      }

      QSet<int> channels;
      QString melody;
      int notes = 0;
      for (const MidiEvent& e : stream.GetEvents()) {
        const MidiMessage& m = e.GetMessage();
        if (!m.IsNoteAudible()) continue;
        ++notes;
        channels << m.GetChannel();
        if (m.GetChannel() == 0 && melody.size() < 48) melody += QChar(m.GetNote());
      }
      EXPECT_GE(notes, 24);
      EXPECT_EQ(channels, (QSet<int>{0, 1}));
      EXPECT_GE(stream.GetEvents().last().GetTime(), 10.0);
      EXPECT_LE(stream.GetEvents().last().GetTime(), 60.0);
      EXPECT_FALSE(melodies.contains(melody)) << "same melody as another piece";
      melodies << melody;
    }
  }
}

// A bank over a folder of its own, to damage a piece.
class FolderBank : public MidiBank {
 public:
  explicit FolderBank(const QString& folder) : MidiBank(folder) {}
};

TEST(MidiBank, ADamagedPieceIsLeftOutAndTriedAgainLater) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(":/midi/largo_goin_home.mid", dir.filePath("largo_goin_home.mid")));
  ASSERT_TRUE(QFile::copy(":/midi/largo_greensleeves.mid", dir.filePath("largo_greensleeves.mid")));
  QFile damaged(dir.filePath("largo_old_hundredth.mid"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("MThd\0\0\0\6", 8);
  damaged.close();

  FolderBank bank(dir.path());
  std::vector<MidiBank::MidiFileInfo> pieces;
  bank.GetByTempo(TEMPO_LARGO, pieces);
  QStringList names;
  for (const auto& p : pieces) names << FileName(p);
  EXPECT_EQ(names, (QStringList{"largo_goin_home.mid", "largo_greensleeves.mid"}));

  // Mended on disk, the piece is read at the next call.
  QFile::remove(damaged.fileName());
  ASSERT_TRUE(QFile::copy(":/midi/largo_old_hundredth.mid", damaged.fileName()));
  pieces.clear();
  bank.GetByTempo(TEMPO_LARGO, pieces);
  EXPECT_EQ(pieces.size(), 3u);
}

TEST(MidiBank, NamesOutsideTheTableCountAsAdagio) {
  QTemporaryDir dir;
  ASSERT_TRUE(QFile::copy(":/midi/presto_can_can.mid", dir.filePath("mystery.mid")));
  FolderBank bank(dir.path());
  std::vector<MidiBank::MidiFileInfo> pieces;
  bank.GetByTempo(TEMPO_ADAGIO, pieces);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(FileName(pieces[0]), "mystery.mid");
}

}  // namespace
}  // namespace Core
