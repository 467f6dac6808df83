#include "src/core/exercise/questions/variant_providers.h"

namespace Core {

ChordProvider ChordRootNoteProvider(&ChordQuestionsByRootNote);
IntervalProvider IntervalRootNoteProvider(&IntervalQuestionsByRootNote);
ScaleProvider ScaleRootNoteProvider(&ScaleQuestionsByRootNote);
TempoProvider TempoVariantProvider;

bool ChordProvider::CompareVariants(unsigned long a, unsigned long b) {
  if (a == b) return true;
  const std::vector<QuestionChordData>& pool = GetChordPool();
  if (a >= pool.size() || b >= pool.size()) return false;
  return pool[a].Keys == pool[b].Keys;
}

}  // namespace Core
