#pragma once

// Small pieces the three trainers share: their section lists, the one-question pools that every
// drawing refills, the variants taken from a process-wide pool, and the lookups of the statistics
// views, which must survive ids that came from an older statistics file.

#include <QString>

#include <cstddef>
#include <initializer_list>
#include <vector>

#include "src/core/exercise/records/exercise_state.h"
#include "src/core/exercise/records/question.h"

namespace Core::TrainerSupport {

struct SectionName {
  const char* name;
  const char* description;
};

// Appends one section per entry, translated in the context "QApplication".
void AddSections(std::vector<SectionInfo>& sections, std::initializer_list<SectionName> names);

// A pool of one question, which every drawing refills: the pools themselves are process-wide.
void AddPlaceholder(std::vector<Question>& pool, unsigned int type, unsigned int answerMethods);

// Statistics texts are shown on one line.
QString OnOneLine(QString text);

// The pool entry `id`, or null when the id lies outside the pool.
template <class Pool>
const typename Pool::value_type* PoolEntry(const Pool& pool, int id) {
  if (id < 0 || static_cast<std::size_t>(id) >= pool.size()) return nullptr;
  return &pool[static_cast<std::size_t>(id)];
}

// What the statistics views get for a question id that names no piano key.
constexpr unsigned int NoKey = static_cast<unsigned int>(-1);

// The piano key a note question stands for, and the root of an interval, chord or scale.
inline unsigned int RootKey(const QuestionNoteData& entry) {
  return entry.Key;
}
inline unsigned int RootKey(const QuestionChordData& entry) {
  return entry.Root;
}

// The statistics group: notes by pitch class, intervals, chords and scales by their kind.
unsigned int GroupOf(const QuestionNoteData& entry);
inline unsigned int GroupOf(const QuestionChordData& entry) {
  return entry.Kind;
}

template <class Pool>
unsigned int RootKeyOf(const Pool& pool, int id) {
  const auto* entry = PoolEntry(pool, id);
  return entry ? RootKey(*entry) : NoKey;
}

// Ids outside the pool form groups of their own.
template <class Pool>
bool SameGroup(const Pool& pool, int id1, int id2) {
  const auto* first = PoolEntry(pool, id1);
  const auto* second = PoolEntry(pool, id2);
  return first && second ? GroupOf(*first) == GroupOf(*second) : id1 == id2;
}

// The six pool entries named by `ids` become the question's variants, `correct` the right one.
template <class Record>
void TakeVariants(Question& question, const std::vector<Record>& pool, const std::vector<int>& ids,
                  int correct) {
  question.CorrectVariant = static_cast<unsigned long>(correct);
  for (int id : ids) question.VariantData.push_back(pool[static_cast<std::size_t>(id)]);
}

}  // namespace Core::TrainerSupport
