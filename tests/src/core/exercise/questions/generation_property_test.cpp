// Over every pool, with the validators and providers the trainers use and many seeds: a question
// always gets six different answers with the correct one at the returned position, the correct
// one is allowed by the settings, and generation takes bounded time.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "src/core/exercise/questions/question_choice.h"
#include "src/core/exercise/questions/tempo_pool.h"
#include "support/patience.h"
#include "support/thread_cpu_clock.h"

namespace Core {
namespace {

struct Case {
  const char* name;
  unsigned long poolSize;
  QValidator* validator;
  QVariantProvider* provider;
};

bool Same(QVariantProvider* provider, int a, int b) {
  return provider ? provider->CompareVariants(static_cast<unsigned long>(a),
                                              static_cast<unsigned long>(b))
                  : a == b;
}

// Lesson records for a few random ids, sorted as the exercise hands them over.
std::vector<ExStat> RandomRecords(unsigned long poolSize) {
  std::vector<ExStat> records;
  for (int i = 0; i < 30; ++i)
    records.push_back(
        {static_cast<int>(std::rand() % poolSize), 0, 0, std::rand() % 4, std::rand() % 4});
  std::sort(records.begin(), records.end(), &ExStat::CompareById);
  records.erase(std::unique(records.begin(), records.end(),
                            [](const ExStat& a, const ExStat& b) { return a.Id == b.Id; }),
                records.end());
  return records;
}

void CheckCase(const Case& c, int seeds) {
  SCOPED_TRACE(c.name);
  using Clock = Testing::ThreadCpuClock;
  Clock::duration slowest{};
  for (int seed = 1; seed <= seeds; ++seed) {
    std::srand(static_cast<unsigned>(seed));
    const std::vector<ExStat> records = RandomRecords(c.poolSize);
    for (bool weighted : {false, true}) {
      std::vector<int> ids;
      int last = -1;
      const auto start = Clock::now();
      const int position = GenerateQuestionData(AllowedIds(c.poolSize, *c.validator), ids,
                                                c.provider, weighted ? &records : nullptr, last);
      slowest = std::max(slowest, Clock::now() - start);

      ASSERT_EQ(ids.size(), 6u) << "seed " << seed;
      ASSERT_TRUE(position >= 0 && position < 6);
      const int correct = ids[static_cast<std::size_t>(position)];
      ASSERT_EQ(last, correct);
      ASSERT_TRUE(c.validator->Validate(static_cast<unsigned long>(correct))) << "seed " << seed;
      for (std::size_t i = 0; i < 6; ++i) {
        ASSERT_TRUE(ids[i] >= 0 && static_cast<unsigned long>(ids[i]) < c.poolSize);
        for (std::size_t j = i + 1; j < 6; ++j)
          ASSERT_FALSE(Same(c.provider, ids[i], ids[j]))
              << "seed " << seed << ": variants " << ids[i] << " and " << ids[j];
      }
    }
  }
  EXPECT_LT(std::chrono::duration<double>(slowest).count(), Testing::EndlessWorkSeconds);
}

TEST(GenerationProperty, DefaultSettingsOfEveryPool) {
  NotesDiapason notes;
  IntervalSettings intervals;
  ChordSettings chords;
  ScalesSettings scales;
  TempoSettings tempo;
  NoteValidator noteValidator(&notes);
  IntervalValidator intervalValidator(&intervals);
  ChordValidator chordValidator(&chords);
  ScaleValidator scaleValidator(&scales);
  TempoValidator tempoValidator(&tempo);
  std::vector<QuestionTempoData> tempoPool;
  GenerateTempoPool(tempoPool);

  const Case cases[] = {
      {"notes", GetNotesPoolSharp().size(), &noteValidator, nullptr},
      {"intervals", GetIntervalPool().size(), &intervalValidator, &IntervalRootNoteProvider},
      {"chords", GetChordPool().size(), &chordValidator, &ChordRootNoteProvider},
      {"scales", GetScalePool().size(), &scaleValidator, &ScaleRootNoteProvider},
      {"tempo", tempoPool.size(), &tempoValidator, &TempoVariantProvider},
  };
  for (const Case& c : cases) CheckCase(c, 300);
}

TEST(GenerationProperty, NarrowSettingsAtTheEdgesOfTheKeyboard) {
  // Intervals rooted on the top keys have one or two entries per root to offer as similar ones.
  IntervalSettings topIntervals;
  topIntervals.diapason.minimum = 85;
  topIntervals.diapason.maximum = 88;
  // Augmented and diminished seventh chords only, where inversions repeat other chords' keys.
  ChordSettings alikeChords;
  alikeChords.MajorTriad = alikeChords.MinorTriad = alikeChords.MajorSixth = false;
  alikeChords.MinorSixth = alikeChords.MajorSeventh = alikeChords.MinorSeventh = false;
  alikeChords.DominantSeventh = alikeChords.Suspended2 = alikeChords.Suspended4 = false;
  alikeChords.SuspendedSixth2 = alikeChords.SuspendedSixth4 = false;
  alikeChords.SuspendedSeventh2 = alikeChords.SuspendedSeventh4 = false;
  alikeChords.AugmentedSixth = alikeChords.AugmentedSeventh = alikeChords.Diminished = false;
  alikeChords.diapason.minimum = 60;
  alikeChords.diapason.maximum = 88;
  // One scale type on the highest roots.
  ScalesSettings topScales;
  topScales.NaturalMaj = topScales.NaturalMin = topScales.PentatonicMaj = false;
  topScales.PentatonicMin = topScales.Harmonic = topScales.MelodicMin = false;
  topScales.Diminished = topScales.Blues = topScales.Augmented = false;
  topScales.diapason.minimum = 74;
  topScales.diapason.maximum = 88;
  // One tempo class; the other answers must still be five different classes.
  TempoSettings oneTempo;
  oneTempo.Largo = oneTempo.Adagio = oneTempo.Andante = oneTempo.Allegro = false;
  oneTempo.Moderato = oneTempo.Presto = oneTempo.Prestissimo = false;
  // Black keys only, in a range too narrow for one.
  NotesDiapason blackOnly;
  blackOnly.minimum = 8;
  blackOnly.maximum = 9;
  blackOnly.chromatic.white = false;

  IntervalValidator intervalValidator(&topIntervals);
  ChordValidator chordValidator(&alikeChords);
  ScaleValidator scaleValidator(&topScales);
  TempoValidator tempoValidator(&oneTempo);
  NoteValidator noteValidator(&blackOnly);
  std::vector<QuestionTempoData> tempoPool;
  GenerateTempoPool(tempoPool);

  const Case cases[] = {
      {"top intervals", IntervalPoolSize, &intervalValidator, &IntervalRootNoteProvider},
      {"aug and dim7", ChordPoolSize, &chordValidator, &ChordRootNoteProvider},
      {"top whole-tone scales", ScalePoolSize, &scaleValidator, &ScaleRootNoteProvider},
      {"vivace only", tempoPool.size(), &tempoValidator, &TempoVariantProvider},
      {"black keys only", 88, &noteValidator, nullptr},
  };
  for (const Case& c : cases) CheckCase(c, 300);
}

}  // namespace
}  // namespace Core
