#include "line_marks.h"

#include <algorithm>
#include <unordered_set>

#include "ARCast.h"
#include "GRFirstNoteMark.h"
#include "GRJump.h"
#include "GRSText.h"
#include "GRSystem.h"
#include "NEPointerList.h"
#include "text_stack.h"

namespace {
// Between two jump marks side by side.
constexpr float kJumpGap = 25;
// Between two marks at notes standing one over the other.
constexpr float kNoteMarkGap = 10;
}  // namespace

LineMarks::LineMarks(GRSystem const& system, int staffNumber)
    : mSystem(system), mStaffNumber(staffNumber) {
  placeJumps(system, staffNumber);
  placeTexts(system, staffNumber);
  findNoteWords(system, staffNumber);
}

void LineMarks::placeJumps(GRSystem const& system, int staffNumber) {
  // Elements come in time order along the line, so the marks of one date come one after the
  // other; each starts no earlier than the marks of its date before it end.
  GRJump const* previous = nullptr;
  float reached = 0;
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    auto const* jump = ar_cast<GRJump const>(element);
    if (!jump) return;
    float const left = jump->getPosition().x + jump->getBoundingBox().left;
    float const right = jump->getPosition().x + jump->getBoundingBox().right;
    float shift = 0;
    if (previous && previous->getRelativeTimePosition() == jump->getRelativeTimePosition())
      shift = std::max(0.0f, reached + kJumpGap - left);
    else
      reached = right;
    mJumpShifts.emplace(jump, shift);
    reached = std::max(reached, right + shift);
    previous = jump;
  });
}

void LineMarks::placeTexts(GRSystem const& system, int staffNumber) {
  TextStack stack;
  system.forEachElementOnLine(staffNumber,
                              [&](GRNotationElement const* element, GRStaff const* staff) {
                                stack.add(element, staff, &system);
                              });
  stack.place();
  mTextYs = stack.textYs();
  mTextsBottom = stack.bottom();
  mCurveInk = stack.curveInk();
}

void LineMarks::findNoteWords(GRSystem const& system, int staffNumber) {
  // A note's marks are held by the note or by its staff. They come in time order along the line:
  // a mark that would meet one before it stands over it, the later further from the staff.
  std::unordered_set<GRFirstNoteMark const*> seen;
  std::vector<NVRect> met;
  auto take = [&](GRNotationElement const* element) {
    auto const* mark = dynamic_cast<GRFirstNoteMark const*>(element);
    if (!mark || !seen.insert(mark).second) return;
    std::optional<NVRect> const own = mark->ownBoxOn(&system);
    if (!own) return;
    NVRect box = *own;
    met.clear();
    for (NVRect const& before : mNoteWords)
      if (before.left < box.right + kNoteMarkGap && box.left < before.right + kNoteMarkGap)
        met.push_back(before);
    // Lowest first: once over one, the mark stays clear of those lower still.
    std::sort(met.begin(), met.end(),
              [](NVRect const& a, NVRect const& b) { return a.top > b.top; });
    for (NVRect const& before : met) {
      if (before.bottom + kNoteMarkGap <= box.top || box.bottom <= before.top - kNoteMarkGap)
        continue;
      float const rise = before.top - kNoteMarkGap - box.bottom;
      box.top += rise;
      box.bottom += rise;
    }
    if (box.top != own->top) mNoteMarkRises.emplace(mark, box.top - own->top);
    mNoteWords.push_back(box);
  };
  system.forEachElementOnLine(staffNumber, [&](GRNotationElement const* element, GRStaff const*) {
    take(element);
    if (NEPointerList const* tags =
            element->isGREventClass() ? element->getAssociations() : nullptr)
      for (void* pos = tags->GetHeadPosition(); pos;) take(tags->GetNext(pos));
  });
}

float LineMarks::noteMarkRise(GRFirstNoteMark const* mark) const {
  auto const found = mNoteMarkRises.find(mark);
  return found == mNoteMarkRises.end() ? 0 : found->second;
}

float LineMarks::noteWordsTopOver(float left, float right) const {
  float top = std::numeric_limits<float>::infinity();
  for (NVRect const& words : mNoteWords)
    if (words.right >= left && words.left <= right) top = std::min(top, words.top);
  return top;
}

float LineMarks::octavaFiguresTopOver(float left, float right) const {
  if (!mOctavaFigures) {
    mOctavaFigures.emplace();
    mSystem.forEachElementOnLine(
        mStaffNumber, [&](GRNotationElement const* element, GRStaff const*) {
          auto const* figure = ar_cast<GRSText const>(element);
          if (std::optional<NVRect> const ink = figure ? figure->inkOver() : std::nullopt)
            mOctavaFigures->push_back(*ink);
        });
  }
  float top = std::numeric_limits<float>::infinity();
  for (NVRect const& ink : *mOctavaFigures)
    if (ink.right > left && ink.left < right) top = std::min(top, ink.top);
  return top;
}

float LineMarks::curvesTopOver(float left, float right) const {
  float top = std::numeric_limits<float>::infinity();
  auto const first =
      std::lower_bound(mCurveInk.begin(), mCurveInk.end(), left - TextStack::kCurveSlice,
                       [](NVRect const& ink, float from) { return ink.left < from; });
  for (auto ink = first; ink != mCurveInk.end() && ink->left <= right; ++ink)
    if (ink->right >= left) top = std::min(top, ink->top);
  return top;
}

float LineMarks::jumpShift(GRJump const* jump) const {
  auto const found = mJumpShifts.find(jump);
  return found == mJumpShifts.end() ? 0 : found->second;
}

void LineMarks::textY(GRText const* text, float* y) const {
  auto const found = mTextYs.find(text);
  if (found != mTextYs.end()) *y = found->second;
}
