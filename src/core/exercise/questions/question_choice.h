#pragma once

// Choosing the next question of an exercise, and turning a variant's notes into one chord.

#include <algorithm>
#include <vector>

#include "src/core/exercise/questions/question_generator.h"
#include "src/core/exercise/records/ex_stat.h"
#include "src/core/exercise/records/question.h"

namespace Core {

// Fills `ids` with the six variant ids of a new question, asked among the `allowed` ids, and
// returns the position of the correct one. `lessonRecords` (the current lesson's records of the
// exercise and section, sorted by Id) weights the pick towards missed questions; null picks
// uniformly. The same question is not asked twice in a row unless ten attempts found nothing else;
// `lastQuestionId` is read and updated.
int GenerateQuestionData(const AllowedIds& allowed, std::vector<int>& ids,
                         QVariantProvider* provider, const std::vector<ExStat>* lessonRecords,
                         int& lastQuestionId);

// As above, reading the lesson's records from a statistics database (anything with
// GetLocalSummary(exerciseId, section, out)) when weighted picking is on and a database is given.
template <class Statistics>
int GenerateQuestionData(const AllowedIds& allowed, std::vector<int>& ids,
                         QVariantProvider* provider, bool weighted, Statistics* statistics,
                         int exerciseId, int section, int& lastQuestionId) {
  if (!weighted || statistics == nullptr)
    return GenerateQuestionData(allowed, ids, provider, nullptr, lastQuestionId);
  std::vector<ExStat> records;
  statistics->GetLocalSummary(exerciseId, section, records);
  std::sort(records.begin(), records.end(), &ExStat::CompareById);
  return GenerateQuestionData(allowed, ids, provider, &records, lastQuestionId);
}

// Makes the variant's notes sound at once: every note starts at 0 s and stops after
// `noteLength` seconds. The new stream plays in time order: all the strikes in the order of the
// old stream, then the releases in theirs. A stream that strikes the same note twice in a row (a
// repeated note, which a chord cannot hold) is left as it is.
void MakeSimultaneous(QuestionData& variant, double noteLength);

}  // namespace Core
