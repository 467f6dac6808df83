#include "src/core/exercise/questions/variant_providers.h"

namespace Core {

ChordProvider ChordRootNoteProvider(&ChordQuestionsByRootNote);
IntervalProvider IntervalRootNoteProvider(&IntervalQuestionsByRootNote);
ScaleProvider ScaleRootNoteProvider(&ScaleQuestionsByRootNote, ScaleProvider::Ascending);
ScaleProvider DescendingScaleRootNoteProvider(&ScaleQuestionsByRootNote, ScaleProvider::Descending);
TempoProvider TempoVariantProvider;

bool ChordProvider::CompareVariants(unsigned long a, unsigned long b) {
  if (a == b) return true;
  const std::vector<QuestionChordData>& pool = GetChordPool();
  if (a >= pool.size() || b >= pool.size()) return false;
  return pool[a].Keys == pool[b].Keys;
}

bool ScaleProvider::CompareVariants(unsigned long a, unsigned long b) {
  if (a == b) return true;
  const std::vector<QuestionScaleData>& pool = GetScalePool();
  if (a >= pool.size() || b >= pool.size()) return false;
  if (m_direction == Descending) return pool[a].DescendingKeys == pool[b].DescendingKeys;
  return pool[a].Keys == pool[b].Keys;
}

}  // namespace Core
