// Generated piano music, engraved and read back as a pianist reads it: each note drawn reads as
// the pitch written, whatever line, slice or bar line falls before it, a sign stands only where
// the signs in force would read otherwise, and each syllable stands under its note.
//
// The suite reads a fixed slice of seeds; score_reading_sweep, built from this file, reads the
// seeds of MELVARIN_READING_SEEDS ("first-last", 0-1999 when unset) when run by hand.

#include <gtest/gtest.h>

#include <cstdlib>
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

// What the reading check reads. Grace notes stay outside lyrics until they are drawn without a
// syllable of their own; two voices on a staff are left to the overlap checks.
MusicFeatures ReadFeatures() {
  MusicFeatures features;
  features.lyricsOverGraceNotes = false;
  features.twoVoices = false;
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
  ExpectReadAsWritten(0, 59, ReadFeatures());
}
#endif

}  // namespace
}  // namespace ScoreOverlaps
