#pragma once

// The music-symbols trainer: the learner sees a picture of a notation symbol and picks its name
// among six buttons. Sections: 0 note lengths, 1 key signatures, 2 tempo, 3 loudness, 4 note
// modifiers. Multiple choice only; MIDI input is not used.

#include <memory>
#include <vector>

#include "src/core/exercise/exercise.h"

namespace Core {

// Built once per process from the symbol tables; ids are row indices (tempo: class * 64 + k).
namespace SymbolTrainer {
extern std::vector<QuestionData> LengthPool;
extern std::vector<QuestionData> SignaturesPool;
extern std::vector<QuestionTempoData> TempoPool;
extern std::vector<QuestionData> LoudnessPool;
extern std::vector<QuestionData> ModifiersPool;
}  // namespace SymbolTrainer

class ExerciseSymbolTrainer : public Exercise {
 public:
  // Builds sections and pools at once.
  ExerciseSymbolTrainer();
  ~ExerciseSymbolTrainer() override;

  unsigned int GetSupportedAnswerMethods(const Question& question) override;
  bool CanUseMidiIn() override;
  QString GetQuestionTextById(int section, int id) override;
  bool CompareQuestionGroup(int section, int id1, int id2) override;
  QString GetGroupTextById(int section, int id) override;
  void GetQuestionGroups(int section, std::vector<int>& groups) override;
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
