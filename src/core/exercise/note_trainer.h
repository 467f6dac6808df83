#pragma once

// The note-reading trainer: the learner sees a single note, an interval or a chord on a staff and
// names it on the keyboard or with the multiple-choice buttons. Sections: 0 single notes,
// 1 intervals, 2 chords.

#include <memory>
#include <vector>

#include "src/core/exercise/exercise.h"
#include "src/core/settings/exercise_settings.h"

namespace Core {

// The trainer's pools, shared by every note trainer and refilled whenever one builds its
// sections. Question ids are indices into them; a note's id is its key.
namespace NoteTrainer {
extern std::vector<QuestionNoteData> SingleNotes;
extern std::vector<QuestionChordData> Intervals;
extern std::vector<QuestionChordData> Chords;
}  // namespace NoteTrainer

// The clef of the previous note trainer question (true = treble), kept for the process.
extern bool PrevGKey;

// Picks the clef of a question whose lowest key is `key`: with both clefs allowed they take
// turns, starting with treble; a key the chosen clef cannot show takes the other. Updates
// PrevGKey and returns true for the treble clef.
bool ChooseNoteTrainerClef(const CleffSettings& clefs, unsigned int key);

class ExerciseNoteTrainer : public Exercise {
 public:
  // Builds sections and pools at once.
  ExerciseNoteTrainer();
  ~ExerciseNoteTrainer() override;

  unsigned int GetSupportedAnswerMethods(const Question& question) override;
  unsigned int GetNoteById(int section, int id) override;
  QString GetQuestionTextById(int section, int id) override;
  bool CompareQuestionGroup(int section, int id1, int id2) override;
  QString GetGroupTextById(int section, int id) override;
  void GetQuestionGroups(int section, std::vector<int>& groups) override;
  void GetRazidAnswer(unsigned long section, const Question& question, const Answer& answer,
                      std::string& rmn, std::vector<NoteWAnalysis>& notes, int& highlight) override;
  void ApplySettings() override;

 protected:
  void DoCreateSections(std::vector<SectionInfo>& sections) override;
  void DoCreateQuestionPool(unsigned long section, std::vector<Question>& pool) override;
  void DoPrepareQuestion(unsigned long section, Question& question) override;

 private:
  // The ids each section's settings allow, kept until those settings change.
  struct AllowedQuestions;
  std::unique_ptr<AllowedQuestions> m_allowed;
};

}  // namespace Core
