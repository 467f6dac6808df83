#pragma once

// Variant providers shape the wrong answers of a question: they may offer a wrong answer similar
// to the question (same root key) and decide when two pool ids count as the same answer.

#include <cstdlib>
#include <vector>

#include "src/core/exercise/questions/question_pools.h"

namespace Core {

class QVariantProvider {
 public:
  virtual ~QVariantProvider() = default;
  // May replace `candidate` by an id similar to question `id`; says whether it did. The similar
  // id may be the question itself or a variant already chosen: the caller then draws again.
  virtual bool ProvideSimilarVariant(unsigned long id, int& candidate) = 0;
  virtual bool CompareVariants(unsigned long a, unsigned long b) { return a == b; }
};

// Offers a pool entry rooted on the lowest key of the question. Chord keys are sorted, so an
// inverted chord finds entries rooted on its third or fifth.
template <class Record, const std::vector<Record>& (*GetPool)()>
class RootNoteProvider : public QVariantProvider {
 public:
  explicit RootNoteProvider(const QuestionsByRootNote* byRoot) : m_byRoot(byRoot) {}

  bool ProvideSimilarVariant(unsigned long id, int& candidate) override {
    const std::vector<Record>& pool = GetPool();  // also fills the by-root lists
    if (id >= pool.size() || pool[id].Keys.empty()) return false;
    const unsigned int lowest = pool[id].Keys.front();
    if (lowest >= m_byRoot->size()) return false;
    const std::vector<int>& similar = (*m_byRoot)[lowest];
    if (similar.size() < 2) return false;
    candidate = similar[static_cast<std::size_t>(std::rand()) % similar.size()];
    return true;
  }

 private:
  const QuestionsByRootNote* m_byRoot;
};

using IntervalProvider = RootNoteProvider<QuestionChordData, &GetIntervalPool>;

// Scales that play the same notes in the direction asked are one answer: played downwards the
// melodic minor is the natural minor, so a descending question never offers both.
class ScaleProvider : public RootNoteProvider<QuestionScaleData, &GetScalePool> {
 public:
  enum Direction { Ascending, Descending };
  ScaleProvider(const QuestionsByRootNote* byRoot, Direction direction)
      : RootNoteProvider(byRoot), m_direction(direction) {}

  bool CompareVariants(unsigned long a, unsigned long b) override;

 private:
  Direction m_direction;
};

// Chords with the same keys sound and look alike, whatever their names (an augmented chord and an
// inversion of another, a major sixth and an inverted minor seventh): they count as one answer,
// so no question offers two such buttons.
class ChordProvider : public RootNoteProvider<QuestionChordData, &GetChordPool> {
 public:
  using RootNoteProvider::RootNoteProvider;

  bool CompareVariants(unsigned long a, unsigned long b) override;
};

// Tempo answers are tempo classes: two pieces of one class are the same answer, and no piece is
// "similar" to another.
class TempoProvider : public QVariantProvider {
 public:
  bool ProvideSimilarVariant(unsigned long id, int& candidate) override { return false; }
  bool CompareVariants(unsigned long a, unsigned long b) override {
    return a / MaxMelodiesPerTempo == b / MaxMelodiesPerTempo;
  }
};

// The process-wide providers the trainers hand to question generation (the note pools have none).
extern ChordProvider ChordRootNoteProvider;
extern IntervalProvider IntervalRootNoteProvider;
extern ScaleProvider ScaleRootNoteProvider;            // for scales played upwards
extern ScaleProvider DescendingScaleRootNoteProvider;  // for scales played downwards
extern TempoProvider TempoVariantProvider;

}  // namespace Core
