// Questions picked among the allowed-id lists, kept while the settings stay the same, are the
// questions of the former pick, which asked the validator about every pool id for every question:
// the same seed gives the same variants, draw for draw, and leaves the C generator in the same
// state. The settings take a random walk, one value at a time, so a value the lists overlook
// shows as a stale list.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <random>
#include <vector>

#include "src/core/exercise/questions/question_generator.h"
#include "src/core/exercise/questions/question_shapes.h"
#include "src/core/exercise/questions/random_draws.h"

namespace Core {
namespace {

// The former pick; the variant filling after it is unchanged.
int FormerPick(unsigned long n, QValidator& validator, const std::vector<ExStat>* stats) {
  if (stats == nullptr) {
    std::vector<int> ids(n);
    std::iota(ids.begin(), ids.end(), 0);
    for (unsigned long i = 0; i < n; ++i) {
      const unsigned long j = i + DrawIndexBelow(n - i);
      if (validator.Validate(static_cast<unsigned long>(ids[j]))) return ids[j];
      std::swap(ids[i], ids[j]);
    }
    return ids[0];
  }
  std::vector<std::pair<int, unsigned int>> kept;
  std::uint64_t total = 0;
  auto record = stats->begin();
  for (int id = 0; id < static_cast<int>(n); ++id) {
    while (record != stats->end() && record->Id < id) ++record;
    int correct = 0, wrong = 0;
    for (; record != stats->end() && record->Id == id; ++record) {
      correct += record->Correct;
      wrong += record->Wrong;
    }
    if (!validator.Validate(static_cast<unsigned long>(id))) continue;
    kept.emplace_back(id, QuestionGenerator::Weight(correct, wrong));
    total += kept.back().second;
  }
  if (kept.empty()) return static_cast<int>(DrawIndexBelow(n));
  const std::uint64_t target = static_cast<std::uint64_t>(DrawWord32()) * total / 4294967295u;
  std::uint64_t sum = 0;
  for (const auto& [id, weight] : kept)
    if ((sum += weight) >= target) return id;
  return -1;
}

using Walk = std::mt19937;

int Draw(Walk& walk, int lo, int hi) {
  return std::uniform_int_distribution<int>(lo, hi)(walk);
}

// A lesson's records, with repeats, ids outside the pool and, now and then, out of order.
std::vector<ExStat> Records(Walk& walk, int poolSize) {
  std::vector<ExStat> records(static_cast<std::size_t>(Draw(walk, 0, 40)));
  for (ExStat& r : records)
    r = {Draw(walk, -3, poolSize + 3), 0, 0, Draw(walk, 0, 4), Draw(walk, 0, 4)};
  if (Draw(walk, 0, 3) != 0) std::sort(records.begin(), records.end(), &ExStat::CompareById);
  return records;
}

void Step(NotesDiapason& range, Walk& walk) {
  const int pick = Draw(walk, 0, 3);
  if (pick < 2) {
    (pick == 0 ? range.minimum : range.maximum) = Draw(walk, -4, 92);
  } else {
    bool& allowed = pick == 2 ? range.chromatic.white : range.chromatic.black;
    allowed = !allowed;
  }
}

// Flips one flag of the record, or moves its range, or changes a value that selects nothing.
template <class Settings>
void Step(Settings& settings, Walk& walk, const std::vector<bool Settings::*>& flags) {
  const int n = static_cast<int>(flags.size());
  const int pick = Draw(walk, 0, n + 2);
  if (pick < n) {
    bool& flag = settings.*flags[static_cast<std::size_t>(pick)];
    flag = !flag;
  } else if (pick == n) {
    settings.duration.questions = Draw(walk, 0, 9);
  } else if constexpr (requires { settings.diapason; }) {
    Step(settings.diapason, walk);
  }
}

template <class Settings, bool (*Fn)(unsigned long, const Settings*), class StepFn>
void CompareOverAWalk(unsigned long poolSize, QVariantProvider* provider, StepFn step) {
  Walk walk(static_cast<unsigned>(poolSize));
  Settings settings;
  AllowedIdsCache<Settings, Fn> cache;
  for (int change = 0; change < 200; ++change) {
    step(settings, walk);
    SimpleValidator<Settings, Fn> validator(&settings);
    const std::vector<ExStat> records = Records(walk, static_cast<int>(poolSize));
    for (unsigned seed = 1; seed <= 4; ++seed) {
      for (const std::vector<ExStat>* stats :
           {&records, static_cast<decltype(&records)>(nullptr)}) {
        QuestionGenerator generator(cache.Get(poolSize, settings), provider);
        std::srand(seed);
        std::vector<int> expected;
        const int position =
            generator.FillVariants(FormerPick(poolSize, validator, stats), expected);
        const int nextDraw = std::rand();
        std::srand(seed);
        std::vector<int> variants;
        ASSERT_EQ(
            stats ? generator.GenerateByStatistics(variants, *stats) : generator.Generate(variants),
            position)
            << "change " << change << " seed " << seed;
        ASSERT_EQ(variants, expected) << "change " << change << " seed " << seed;
        ASSERT_EQ(std::rand(), nextDraw);
      }
    }
  }
}

TEST(AllowedIds, QuestionsAreThoseOfTheFormerPickDrawForDraw) {
  static const std::vector<bool ChordSettings::*> chordFlags = {
      &ChordSettings::MajorTriad,        &ChordSettings::MinorTriad,
      &ChordSettings::MajorSixth,        &ChordSettings::MinorSixth,
      &ChordSettings::MajorSeventh,      &ChordSettings::MinorSeventh,
      &ChordSettings::DominantSeventh,   &ChordSettings::Suspended2,
      &ChordSettings::Suspended4,        &ChordSettings::SuspendedSixth2,
      &ChordSettings::SuspendedSixth4,   &ChordSettings::SuspendedSeventh2,
      &ChordSettings::SuspendedSeventh4, &ChordSettings::Augmented,
      &ChordSettings::AugmentedSixth,    &ChordSettings::AugmentedSeventh,
      &ChordSettings::Diminished,        &ChordSettings::DiminishedSeventh,
      &ChordSettings::FirstInversion,    &ChordSettings::SecondInversion,
      &ChordSettings::Arpeggiated};
  static const std::vector<bool ScalesSettings::*> scaleFlags = {
      &ScalesSettings::NaturalMaj,    &ScalesSettings::NaturalMin, &ScalesSettings::PentatonicMaj,
      &ScalesSettings::PentatonicMin, &ScalesSettings::Harmonic,   &ScalesSettings::MelodicMin,
      &ScalesSettings::Diminished,    &ScalesSettings::Blues,      &ScalesSettings::Augmented,
      &ScalesSettings::WholeTone,     &ScalesSettings::Ascending};
  static const std::vector<bool TempoSettings::*> tempoFlags = {
      &TempoSettings::Largo,       &TempoSettings::Adagio,   &TempoSettings::Andante,
      &TempoSettings::Allegro,     &TempoSettings::Moderato, &TempoSettings::Presto,
      &TempoSettings::Prestissimo, &TempoSettings::Vivace};

  CompareOverAWalk<NotesDiapason, &ValidateNoteQuestion>(
      PianoKeyCount, nullptr, [](NotesDiapason& range, Walk& walk) { Step(range, walk); });
  CompareOverAWalk<IntervalSettings, &ValidateIntervalQuestion>(
      IntervalPoolSize, &IntervalRootNoteProvider, [](IntervalSettings& s, Walk& walk) {
        if (Draw(walk, 0, 2) == 0)
          (Draw(walk, 0, 1) ? s.intervalStart : s.intervalEnd) = Draw(walk, -2, 14);
        else
          Step<IntervalSettings>(s, walk, {});
      });
  CompareOverAWalk<ChordSettings, &ValidateChordQuestion>(
      ChordPoolSize, &ChordRootNoteProvider,
      [](ChordSettings& s, Walk& walk) { Step(s, walk, chordFlags); });
  CompareOverAWalk<ScalesSettings, &ValidateScaleQuestion>(
      ScalePoolSize, &ScaleRootNoteProvider,
      [](ScalesSettings& s, Walk& walk) { Step(s, walk, scaleFlags); });
  CompareOverAWalk<TempoSettings, &ValidateTempoQuestion>(
      TempoPoolSize, &TempoVariantProvider,
      [](TempoSettings& s, Walk& walk) { Step(s, walk, tempoFlags); });
}

}  // namespace
}  // namespace Core
