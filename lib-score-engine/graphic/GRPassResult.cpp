#include "GRPassResult.h"

#include "GRVoiceManager.h"

void GRPassResult::take(int code, Fraction const& t, float possibleBreakValue) {
  if (code != GRVoiceManager::kFinished) allFinished = false;
  if (mode == GRVoiceManager::kTagPass) {
    switch (code) {
      case GRVoiceManager::kPossibleBreak:
        if (breakKind == 0) {
          breakKind = 3;
          breakValue = possibleBreakValue;
        }
        break;
      case GRVoiceManager::kNewPage:
        breakKind = 2;
        break;
      case GRVoiceManager::kNewSystem:
        if (breakKind == 0 || breakKind == 3) breakKind = 1;
        break;
      case GRVoiceManager::kZeroDurationNext:
        tagPassAgain = true;
        break;
      default:
        break;
    }
    return;
  }
  if (code < GRVoiceManager::kLaterEvent) return;
  if (t < nextTime) nextTime = t;
  const bool zeroDurationNext =
      code == GRVoiceManager::kLaterZeroDuration || code == GRVoiceManager::kZeroDurationNext;
  if (zeroDurationNext && t < zeroDurationMinimum) zeroDurationMinimum = t;
}
