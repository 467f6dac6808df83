// Generated piano music, engraved and read back as a pianist reads it: each note drawn reads as
// the pitch written, whatever line, slice or bar line falls before it, a sign stands only where
// the signs in force would read otherwise, and each syllable stands under its note.
//
// The suite reads a fixed slice of seeds; score_reading_sweep, built from this file, reads the
// seeds of MELVARIN_READING_SEEDS ("first-last", 0-1999 when unset) when run by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>

#include "lib-razid-qt/engine_fixture.h"
#include "tests/src/core/score_builder/drawn_staves.h"
#include "tests/src/core/score_builder/generated_music.h"
#include "tests/src/core/score_builder/reading_check.h"

namespace ScoreOverlaps {
namespace {

class ScoreReadingTest : public RazidQtTesting::EngineFixture {
 protected:
  std::vector<std::string> Faults(const GeneratedPiece& piece) {
    Painter score = NewPainter();
    if (!score->setRMNCode(QString::fromStdString(piece.rmn)))
      return {"does not parse: " + score->getLastErrorMessage().toStdString()};
    return ReadingFaults(piece, ReadDrawnScore(*score));
  }

  // Reads the pieces of the seeds and tells of the first pieces that read otherwise.
  void ExpectReadAsWritten(unsigned first, unsigned last, const MusicFeatures& features) {
    int failed = 0;
    std::ostringstream told;
    for (unsigned seed = first; seed <= last; ++seed) {
      const GeneratedPiece piece = GenerateMusic(seed, features);
      const std::vector<std::string> faults = Faults(piece);
      if (faults.empty()) continue;
      if (++failed > 5) continue;
      told << "seed " << seed << ":\n";
      for (size_t i = 0; i < faults.size() && i < 6; ++i) told << "  " << faults[i] << "\n";
      told << "  " << piece.rmn << "\n";
    }
    EXPECT_EQ(failed, 0) << "of " << (last - first + 1) << " pieces\n" << told.str();
  }
};

// What the reading check reads: every feature, octavas over two voices of a staff too.
MusicFeatures ReadFeatures() {
  MusicFeatures features;
  features.octavasOverTwoVoices = true;
  return features;
}

#ifdef MELVARIN_READING_SWEEP
TEST_F(ScoreReadingTest, SeedsReadAsWritten) {
  unsigned first = 0, last = 1999;
  if (const char* seeds = std::getenv("MELVARIN_READING_SEEDS"))
    std::sscanf(seeds, "%u-%u", &first, &last);
  ExpectReadAsWritten(first, last, ReadFeatures());
}
#else
TEST_F(ScoreReadingTest, GeneratedPiecesReadAsWritten) {
  ExpectReadAsWritten(0, 399, ReadFeatures());
}
#endif

// The check itself: a piece that reads as written is found out once one note or syllable is
// written otherwise than drawn, the second voice of a staff's too.
TEST_F(ScoreReadingTest, NotesAndSyllablesWrittenOtherwiseAreFound) {
  GeneratedPiece piece;
  std::vector<size_t> sung;
  size_t inner = 0;  // a note of the upper staff's second voice
  for (unsigned seed = 0; sung.size() < 2 || !inner; ++seed) {
    piece = GenerateMusic(seed, ReadFeatures());
    sung.clear();
    inner = 0;
    for (size_t i = 0; i < piece.notes.size(); ++i) {
      if (!piece.notes[i].syllable.empty() &&
          (sung.empty() || piece.notes[i].syllable != piece.notes[sung[0]].syllable))
        sung.push_back(i);
      if (piece.notes[i].staff == 1 && piece.notes[i].voice == 1) inner = i;
    }
  }
  ASSERT_TRUE(Faults(piece).empty()) << piece.rmn;
  const size_t last = piece.notes.size() - 1;
  struct Change {
    const char* what;
    std::function<void(GeneratedPiece&)> change;
    const char* found;
  } const changes[] = {
      {"a semitone up", [&](GeneratedPiece& p) { p.notes[last].pitch += 1; }, "written"},
      {"an octave down", [&](GeneratedPiece& p) { p.notes[0].pitch -= 12; }, "written"},
      {"on the other staff", [&](GeneratedPiece& p) { p.notes[last].staff = 3; }, "written"},
      {"in the second voice, a semitone down",
       [&](GeneratedPiece& p) { p.notes[inner].pitch -= 1; }, "written"},
      {"syllables swapped",
       [&](GeneratedPiece& p) { std::swap(p.notes[sung[0]].syllable, p.notes[sung[1]].syllable); },
       "is not under its note"},
  };
  for (const Change& c : changes) {
    GeneratedPiece changed = piece;
    c.change(changed);
    const std::vector<std::string> faults = Faults(changed);
    EXPECT_TRUE(std::any_of(faults.begin(), faults.end(), [&](const std::string& f) {
      return f.find(c.found) != f.npos;
    })) << c.what;
  }
}

}  // namespace
}  // namespace ScoreOverlaps
