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

// The statistics lookups of the note and ear trainers' first three sections (single notes,
// intervals, chords), which both trainers label and group alike over their own pools. Sections
// beyond these get the answers of a section without groups.
class KeySectionLookups {
 public:
  KeySectionLookups(const std::vector<QuestionNoteData>& notes,
                    const std::vector<QuestionChordData>& intervals,
                    const std::vector<QuestionChordData>& chords)
      : m_notes(notes), m_intervals(intervals), m_chords(chords) {}

  // The note's key, or the root of an interval or chord.
  unsigned int NoteById(int section, int id) const;
  // Names on one line.
  QString QuestionTextById(int section, int id) const;
  // Notes by pitch class, intervals and chords by their kind.
  bool CompareQuestionGroup(int section, int id1, int id2) const;
  QString GroupTextById(int section, int id) const;
  // One id per group: the keys C1 to B1, then the interval and chord groups.
  void QuestionGroups(int section, std::vector<int>& groups) const;

 private:
  // The interval or chord entry of `id`; null in other sections or outside the pool.
  const QuestionChordData* ChordEntry(int section, int id) const;

  const std::vector<QuestionNoteData>& m_notes;
  const std::vector<QuestionChordData>& m_intervals;
  const std::vector<QuestionChordData>& m_chords;
};

// The six pool entries named by `ids` become the question's variants, `correct` the right one.
template <class Record>
void TakeVariants(Question& question, const std::vector<Record>& pool, const std::vector<int>& ids,
                  int correct) {
  question.CorrectVariant = static_cast<unsigned long>(correct);
  for (int id : ids) question.VariantData.push_back(pool[static_cast<std::size_t>(id)]);
}

}  // namespace Core::TrainerSupport
