#include "src/core/exercise/trainer_support.h"

#include <QCoreApplication>

#include "src/core/exercise/questions/question_pools.h"
#include "src/core/exercise/theory/key_geometry.h"
#include "src/core/exercise/theory/names.h"

namespace Core::TrainerSupport {

void AddSections(std::vector<SectionInfo>& sections, std::initializer_list<SectionName> names) {
  for (const SectionName& name : names)
    sections.push_back({QCoreApplication::translate("QApplication", name.name),
                        QCoreApplication::translate("QApplication", name.description)});
}

void AddPlaceholder(std::vector<Question>& pool, unsigned int type, unsigned int answerMethods) {
  Question placeholder;
  placeholder.Type = type;
  placeholder.AnswerMethods = answerMethods;
  placeholder.GClef = false;
  pool.push_back(placeholder);
}

QString OnOneLine(QString text) {
  return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

namespace {

enum KeySection : int { NotesSection = 0, IntervalsSection = 1, ChordsSection = 2 };

unsigned int PitchClass(const QuestionNoteData& note) {
  return GetNoteType(static_cast<unsigned char>(note.Key));
}

}  // namespace

const QuestionChordData* KeySectionLookups::ChordEntry(int section, int id) const {
  if (section == IntervalsSection) return PoolEntry(m_intervals, id);
  if (section == ChordsSection) return PoolEntry(m_chords, id);
  return nullptr;
}

unsigned int KeySectionLookups::NoteById(int section, int id) const {
  if (section == NotesSection) {
    const QuestionNoteData* note = PoolEntry(m_notes, id);
    return note ? note->Key : NoKey;
  }
  const QuestionChordData* entry = ChordEntry(section, id);
  return entry ? entry->Root : NoKey;
}

QString KeySectionLookups::QuestionTextById(int section, int id) const {
  const QuestionData* entry = ChordEntry(section, id);
  if (section == NotesSection) entry = PoolEntry(m_notes, id);
  return entry ? OnOneLine(entry->Text) : QString();
}

bool KeySectionLookups::CompareQuestionGroup(int section, int id1, int id2) const {
  // Ids outside the pool (from an older statistics file) form groups of their own.
  switch (section) {
    case NotesSection: {
      const QuestionNoteData* first = PoolEntry(m_notes, id1);
      const QuestionNoteData* second = PoolEntry(m_notes, id2);
      if (first && second) return PitchClass(*first) == PitchClass(*second);
      break;
    }
    case IntervalsSection:
    case ChordsSection: {
      const std::vector<QuestionChordData>& pool =
          section == IntervalsSection ? m_intervals : m_chords;
      const QuestionChordData* first = PoolEntry(pool, id1);
      const QuestionChordData* second = PoolEntry(pool, id2);
      if (first && second) return first->Kind == second->Kind;
      break;
    }
    default:
      break;
  }
  return id1 == id2;
}

QString KeySectionLookups::GroupTextById(int section, int id) const {
  switch (section) {
    case NotesSection:
      if (const QuestionNoteData* note = PoolEntry(m_notes, id))
        return GetNoteStringByType(PitchClass(*note), false);
      break;
    case IntervalsSection:
      if (const QuestionChordData* interval = PoolEntry(m_intervals, id))
        return GetIntervalStringByType(static_cast<int>(interval->Kind));
      break;
    case ChordsSection:
      if (const QuestionChordData* chord = PoolEntry(m_chords, id))
        return GetChordStringType(chord->Kind);
      break;
    default:
      break;
  }
  return QString();
}

void KeySectionLookups::QuestionGroups(int section, std::vector<int>& groups) const {
  switch (section) {
    case NotesSection:
      // C1 to B1: one key per pitch class.
      for (int key = 3; key <= 14; ++key) groups.push_back(key);
      break;
    case IntervalsSection:
      GetIntervalGroups(groups);
      break;
    case ChordsSection:
      GetChordGroups(groups);
      break;
    default:
      break;
  }
}

}  // namespace Core::TrainerSupport
