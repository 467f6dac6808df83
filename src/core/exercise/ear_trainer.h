#pragma once

// The ear trainer: the learner hears a single note, an interval, a chord, a scale or a short
// piece and names what was played, on the keyboard or with the multiple-choice buttons (the tempo
// of a piece with the buttons only). Sections: 0 single notes, 1 intervals, 2 chords, 3 scales,
// 4 tempo.

#include <memory>
#include <vector>

#include "src/core/exercise/exercise.h"

namespace Core {

// The trainer's pools, shared by every ear trainer. The first four are refilled whenever one
// builds its sections; the tempo pool is built once, from the tempo bank of the first ear
// trainer that builds its sections.
namespace EarTrainer {
extern std::vector<QuestionNoteData> SingleNotes;
extern std::vector<QuestionChordData> Intervals;
extern std::vector<QuestionChordData> Chords;
extern std::vector<QuestionScaleData> Scales;
extern std::vector<QuestionTempoData> Tempos;
}  // namespace EarTrainer

// Treble clef from an average note of middle C (MIDI 60) up, over the note-ons of the correct
// variant's stream; treble when it has none.
void SetGKey(Question& question);

class ExerciseEarTrainer : public Exercise {
 public:
  // Sections and pools are built by Reset, once the screen has handed over the tempo bank.
  ExerciseEarTrainer();
  ~ExerciseEarTrainer() override;

  // By the current section: from the tempo section on, multiple choice only.
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
