// The staff manager's line breaking: the finished slices go to the break search, and the lines
// it picks become systems on pages.

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ARSystemFormat.h"
#include "ARVoiceManager.h"
#include "GRClef.h"
#include "GRInstrument.h"
#include "GRKey.h"
#include "GRLineBreaker.h"
#include "GRMusic.h"
#include "GRPage.h"
#include "GRPossibleBreakState.h"
#include "GRRod.h"
#include "GRRodList.h"
#include "GRSliceHeight.h"
#include "GRSpaceForceFunction2.h"
#include "GRSpring.h"
#include "GRStaffManager.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "TagParameterFloat.h"
#include "head_bands.h"
#include "src/common/assertion.h"

namespace {

GRLineSpacing spacingAtOptimum(GRSpaceForceFunction2 const* sff) {
  if (!sff) return {};
  return {sff->getOverOptExtent(), sff->getOptConstant()};
}

// The least force at which the heads on the spring stand the air clear of those on the next
// one; 0 where its rods hold it that long already, and where only a force beyond the optimum
// would (its rods then set it as they must on any line).
float headsApartForceOf(GRSpring const* spring, float optForce) {
  if (!spring || spring->isFrozen() || spring->getHeadsApart() <= 0) return 0;
  const float wanted = HeadsApartWithAir(*spring);
  if (spring->getExtent() >= wanted) return 0;
  const float force = wanted * spring->getConstant();
  return force <= optForce ? force : 0;
}

// How much longer than at a force the rods across the break after a slice hold its last
// spring (those the next slice made from its first spring back); the system that takes both
// slices stretches it so.
std::function<float(float)> acrossWidthOf(GRSpring const* spring, GRRodList const& rods) {
  if (!spring) return {};
  std::vector<GRRod*> across;
  rods.collectStartingIn(spring->getID(), spring->getID() + 1, across);
  float length = 0;
  for (GRRod const* rod : across) length = std::max(length, rod->getLength());
  const float held = spring->getExtent();
  if (length <= held) return {};
  return [spring, length, held](float force) {
    const float free = spring->isFrozen() ? held : std::max(held, force / spring->getConstant());
    return std::max(0.0f, length - free);
  };
}

// How much wider the opening of a line that starts with the slice stands than the begin
// spacing tells: the clef and key keep the room of their sides where the begin spacing takes
// only their widths, and the notes the line opens with keep theirs after them (a chord's signs,
// a syllable's first half).
float openingBeyondBegin(GRSpaceForceFunction2 const& begin, GRClef const* clef, GRKey const* key,
                         GRSpring const* first) {
  float signs = 0;
  if (clef && key)
    signs = clef->getLeftSpace() + clef->getRightSpace() + key->getLeftSpace() +
            key->getRightSpace() - begin.getExtent(0);
  float room = 0;
  if (first)
    for (void* pos = first->getElements().GetHeadPosition(); pos;)
      room = std::max(room, first->getElements().GetNext(pos)->getLeftSpace());
  return std::max(0.0f, signs) + room;
}

// The least gap between systems, as a share of the default distance, that keeps the ink of one
// (a stem reaching down) off the next (a beam above its staff) once a page is spread.
constexpr float kLeastSystemGapShare = 0.5f;

float measuredTightWidth(GRSpaceForceFunction2 const* sff, float optForce) {
  return sff ? sff->getExtent(kTightestForceShare * optForce) : 0;
}

// Heights of candidate lines from the staves of their slices.
class SliceLineHeights : public GRLineHeights {
 public:
  explicit SliceLineHeights(std::vector<GRSystemSlice*> const& slices)
      : mSlices(slices), mMeasured(slices.size(), false) {}

  void startLine(int firstSlice, bool withBegin) override {
    mHeight = std::make_unique<GRSliceHeight>();
    if (!withBegin) return;
    // The search starts lines at a slice again and again while nothing on it moves: its staves
    // measure their boxes, and stack their texts, the first time only.
    mHeight->AddSystemSlice(mSlices[firstSlice], true, mMeasured[firstSlice]);
    mMeasured[firstSlice] = true;
  }
  void addSlice(int slice) override { mHeight->AddSystemSlice(mSlices[slice], false); }
  float getHeight(bool firstOnPage) const override { return mHeight->getHeight(firstOnPage); }

 private:
  std::vector<GRSystemSlice*> const& mSlices;
  std::vector<bool> mMeasured;
  std::unique_ptr<GRSliceHeight> mHeight;
};

}  // namespace

float GRStaffManager::FindOptimumBreaks(int mode, float usedHeight) {
  GRLineBreakPage page;
  page.areas = sOptPageFill && mode != 1 ? 12 : 1;
  page.mode = mode;
  page.optForce = GRSpaceForceFunction2::getOptForce();
  page.systemDistance = sDefaultSystemDistance;
  float distance = -1;
  if (usedHeight > 0 && mCurrentSystemDistance > 0) distance = mCurrentSystemDistance;
  usedHeight = usedHeightAtDistance(usedHeight, mCurrentSystemDistance, sDefaultSystemDistance);
  mCurrentSystemDistance = mPendingSystemDistance;
  mPendingSystemDistance = -1;
  if (!mCurrentPage) return 0;
  page.usedHeight = usedHeight;
  page.innerHeight = mCurrentPage->getInnerHeight();
  page.innerWidth = mCurrentPage->getInnerWidth();
  if (mSystemFormat && mSystemFormat->getDX())
    page.firstLineIndent = mSystemFormat->getDX()->getValue(50);

  std::vector<GRSystemSlice*> slices;
  std::vector<GRBreakSlice> breakSlices;
  for (void* pos = mFinishedSlices.GetHeadPosition(); pos;) {
    GRSystemSlice* slice = mFinishedSlices.GetNext(pos);
    slices.push_back(slice);
    GRBreakSlice entry;
    GRPossibleBreakState* state = slice->getPossibleBreakState();
    GRSpaceForceFunction2 const* sff = state ? state->getSpaceForceFunction() : nullptr;
    entry.spacing = spacingAtOptimum(sff);
    entry.tightWidth = measuredTightWidth(sff, page.optForce);
    if (sff) entry.widthAt = [sff](float force) { return sff->getExtent(force); };
    entry.weakBreak = state && state->value < ARVoiceManager::kBarBreakWorth;
    entry.betweenBeats = state && state->value < 0;
    const int last = slice->getEndSpringID();
    for (int id = slice->getStartSpringID(); id < last; ++id)
      entry.headsApartForce =
          std::max(entry.headsApartForce, headsApartForceOf(mSprings->Get(id), page.optForce));
    entry.headsApartForceAcross = headsApartForceOf(mSprings->Get(last), page.optForce);
    entry.acrossWidthAt = acrossWidthOf(mSprings->Get(last), *mSimpleRods);
    if (GRSpaceForceFunction2 const* begin = slice->getBeginSpaceForceFunction()) {
      const float beyond = openingBeyondBegin(*begin, mBeginClef, mBeginKey,
                                              mSprings->Get(slice->getStartSpringID()));
      // The line's cost stays that of the begin spacing; only how tight it may be set takes the
      // opening as it stands.
      entry.begin = spacingAtOptimum(begin);
      entry.beginTightWidth = measuredTightWidth(begin, page.optForce) + beyond;
      entry.beginWidthAt = [begin, beyond](float force) {
        return begin->getExtent(force) + beyond;
      };
    }
    breakSlices.push_back(entry);
  }
  // Instruments named where the first line begins stand in the margin before it, where the
  // line keeps room for its first slice: a line that would be squeezed rather leaves them at
  // their place.
  float namesRoom = slices.empty() ? 0 : InstrumentNamesRoom(*slices.front());
  if (std::optional<float> const tight =
          breakSlices.empty() ? std::nullopt : breakSlices.front().tightWidth;
      tight && *tight > page.innerWidth - page.firstLineIndent - namesRoom)
    namesRoom = 0;
  page.firstLineIndent = std::max(page.firstLineIndent, namesRoom);
  SliceLineHeights heights(slices);
  const std::vector<breakentry> path = findOptimumBreakPath(breakSlices, heights, page);

  bool madeSystem = false;
  // Set when a system that did not fit started a page the breaker had not planned: the next
  // planned page start is then already made.
  bool pageMovedOn = false;
  std::function<void()> newPage;
  auto addSystem = [&](Fraction const& time, int count, GRSystemSlice* beginSlice, bool last) {
    auto* system = new GRSystem(this, mCurrentPage, time, mFinishedSlices, count, beginSlice,
                                *mSprings, mSystemFormat, last, namesRoom);
    if (mCurrentSystem &&
        !mCurrentPage->hasRoomFor(*system, kLeastSystemGapShare * sDefaultSystemDistance)) {
      newPage();
      system->setGRPage(mCurrentPage);
      pageMovedOn = true;
    }
    mCurrentSystem = system;
    madeSystem = true;
    if (mAccoladeTag) system->notifyAccoladeTag(mAccoladeTag);
    mSystemFormat = nullptr;
    namesRoom = 0;
    const bool added = mCurrentPage->addSystem(system, &distance);
    MELVARIN_ASSERT(added);
  };

  newPage = [&] {
    auto* next =
        new GRPage(mGrMusic, this, mCurrentSystem->getRelativeEndTimePosition(), mCurrentPage);
    // The systems made so far stay on the page they were placed on, so that a time in them
    // finds that page.
    mCurrentPage->finishPage(false);
    NewPage(next);
  };

  GRSystemSlice* lastOfLine = nullptr;
  for (size_t n = 0; n < path.size(); ++n) {
    breakentry const& line = path[n];
    if (line.newPage && mCurrentSystem) {
      if (!pageMovedOn) newPage();
      pageMovedOn = false;
    }
    Fraction time;
    GRSystemSlice* beginSlice = nullptr;
    if (!lastOfLine) {
      time = mFinishedSlices.GetHead()->getRelativeTimePosition();
    } else {
      beginSlice = CreateBeginSlice(lastOfLine, mFinishedSlices.GetHead());
      ShowSignsAgainOnLine(lastOfLine, beginSlice, line.numSlices);
      time = lastOfLine->getRelativeTimePosition();
      ResumeOpenTags(lastOfLine, beginSlice);
    }
    void* at = mFinishedSlices.GetHeadPosition();
    for (int k = 1; k < line.numSlices && at; ++k) mFinishedSlices.GetNext(at);
    lastOfLine = at ? mFinishedSlices.GetNext(at) : nullptr;
    addSystem(time, line.numSlices, beginSlice, n + 1 == path.size() && mode == 0);
  }
  if (!mFinishedSlices.IsEmpty()) {
    // The slices no line took (all too loose, as a short line ended by a new-system tag is)
    // make one more line, which starts a page when it does not fit below the page's systems.
    const int first = static_cast<int>(slices.size()) - mFinishedSlices.GetCount();
    heights.startLine(first, false);
    for (int k = first; k < static_cast<int>(slices.size()); ++k) heights.addSlice(k);
    const float above =
        madeSystem ? mCurrentPage->getStackedHeight() + sDefaultSystemDistance : usedHeight;
    if (mCurrentSystem && !mCurrentPage->getSystems().IsEmpty() &&
        heights.getHeight(false) + above > page.innerHeight)
      newPage();
    addSystem(mFinishedSlices.GetHead()->getRelativeTimePosition(), mFinishedSlices.GetCount(),
              nullptr, mode == 0);
  }

  // Measured before the page is finished and spread: the room the spreading takes up is given
  // back when the page is finished again with more systems.
  const float used = madeSystem ? mCurrentPage->getStackedHeight() : 0;
  mCurrentPage->finishPage(true);
  return used;
}
