#include "GREvent.h"

#include <algorithm>

#include <typeinfo>

#include "ARDotFormat.h"
#include "ARMusicalEvent.h"
#include "GRArticulation.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRNoteDot.h"
#include "GRStaff.h"
#include "TagParameterFloat.h"
#include "engine_work.h"
#include "merged_boxes.h"
#include "src/common/assertion.h"
#include "stems_settling.h"

namespace {
float LineSpaceOf(GRStaff const* staff) {
  return staff ? staff->getLineSpace() : 50;
}
}  // namespace

GREvent::GREvent(GRStaff* staff, ARMusicalEvent* ar, bool ownsAR)
    : GRARCompositeNotationElement(ar, ownsAR),
      mSize(LineSpaceOf(staff) / 50),
      mCurLSPACE(LineSpaceOf(staff)) {
  mGrStaff = staff;
}

GREvent::GREvent(GRStaff* staff, ARMusicalEvent* ar, Fraction const& relativeTimePosition,
                 Fraction const& duration)
    : GREvent(staff, ar, false) {
  // Times whose fractions no longer fit an int are rounded (Fraction), so a piece reckoned from
  // the layout's own running time may stick out of its event by a rounding step: it is kept
  // within the event.
  Fraction const& start = ar->getRelativeTimePosition();
  Fraction const end = ar->getRelativeEndTimePosition();
  mRelativeTimePositionOfGR = relativeTimePosition < start ? start : relativeTimePosition;
  mDurationOfGR = duration;
  if (mRelativeTimePositionOfGR > end) mRelativeTimePositionOfGR = end;
  if (getRelativeEndTimePosition() > end) mDurationOfGR = end - mRelativeTimePositionOfGR;
  mNeedsSpring = 1;
}

// The event's articulations in the order they came, with their boxes merged as the event's box
// takes them, relative to the event's position when they were merged. A note under thousands of
// marks moves and takes one more mark without a walk over all of them for each.
struct GREvent::Articulations {
  std::vector<std::unique_ptr<GRArticulation>> marks;
  MergedBoxes boxes;
  NVPoint mergedAt;
  bool merged = false;  // boxes hold every mark, placed where it is now, against mergedAt
  bool placing = false;
  bool awaitingStem = false;
  // What the marks were last placed by: the event where it stood (until it moves again), its
  // stem's direction and its marks' flags; and whether some mark stood where it did for the end
  // of the stem.
  bool placedHere = false;
  GDirection placedForDirection = dirAUTO;
  int placedWithFlags = 0;
  bool anyFollowsStem = false;
};

GREvent::~GREvent() {
  if (mArticulations && mArticulations->awaitingStem) StemsSettling::Forget(this);
}

std::vector<std::unique_ptr<GRArticulation>> const& GREvent::getArticulations() const {
  static std::vector<std::unique_ptr<GRArticulation>> const kNone;
  return mArticulations ? mArticulations->marks : kNone;
}

bool GREvent::placesArticulations() const {
  return mArticulations && mArticulations->placing;
}

void GREvent::addToOffset(NVPoint const& offset) {
  mOffset += offset;
  GRARCompositeNotationElement::addToOffset(offset);
}

void GREvent::tellArticulations() {
  if (!mArticulations) return;
  Articulations& all = *mArticulations;
  all.merged = false;
  all.placing = true;
  all.anyFollowsStem = false;
  NVPoint const at = mPosition + NVPoint{marksShift(), 0};
  for (auto& articulation : all.marks) {
    articulation->tellPosition(this, at);
    all.anyFollowsStem = all.anyFollowsStem || articulation->followsStem();
  }
  all.placing = false;
  all.placedHere = true;
  all.placedForDirection = getStemDirection();
  all.placedWithFlags = mArticulationFlags;
}

void GREvent::followStem() {
  if (!mArticulations || mArticulations->awaitingStem) return;
  // Marks placed since the event last moved, for the stem's direction and the marks there are
  // now, stand where they do whatever the stem's length, unless they stand past its end.
  Articulations const& all = *mArticulations;
  if (all.placedHere && all.placedForDirection == getStemDirection() &&
      all.placedWithFlags == mArticulationFlags && !all.anyFollowsStem)
    return;
  if (StemsSettling::Await(this)) {
    mArticulations->awaitingStem = true;
  } else {
    tellArticulations();
  }
}

void GREvent::placeMarksOnSettledStem() {
  if (!mArticulations || !mArticulations->awaitingStem) return;
  mArticulations->awaitingStem = false;
  tellArticulations();
  updateBoundingBox();
}

void GREvent::drawArticulations(VGDevice& device, VScoreSymbolMap& map) const {
  if (!mArticulations) return;
  for (auto const& articulation : mArticulations->marks) articulation->OnDraw(device, map);
}

namespace {
// An element's box as the event's box takes it in, relative to the event's position.
NVRect BoxAgainst(GRNotationElement const& element, NVPoint const& position) {
  NVRect box = element.getBoundingBox() + element.getPosition() + element.getOffset();
  box -= position;
  return box;
}
}  // namespace

void GREvent::mergeArticulationBoxes() {
  if (!mArticulations) return;
  Articulations& all = *mArticulations;
  if (all.placing || !all.merged || !(all.mergedAt == mPosition)) {
    all.boxes.clear();
    for (auto const& articulation : all.marks) all.boxes.add(BoxAgainst(*articulation, mPosition));
    // Each mark costs as a step through a list, where the work limit sees it.
    EngineWork::tListSteps += all.marks.size();
    all.mergedAt = mPosition;
    // While the marks are being placed, some still stand where they were.
    all.merged = !all.placing;
  }
  all.boxes.mergeInto(mBoundingBox);
}

void GREvent::setPosition(NVPoint const& point) {
  // The elements told of the move may set the stem before the marks follow the event.
  if (mArticulations) mArticulations->placedHere = false;
  GRARCompositeNotationElement::setPosition(point);
  tellArticulations();
  updateBoundingBox();
}

void GREvent::setHPosition(float x) {
  if (mArticulations) mArticulations->placedHere = false;
  GRARCompositeNotationElement::setHPosition(x);
  tellArticulations();
  updateBoundingBox();
}

void GREvent::updateBoundingBox() {
  GRARCompositeNotationElement::updateBoundingBox();
  mergeArticulationBoxes();
  mLeftSpace = std::max(mLeftSpace, mReservedLeft);
  mRightSpace = std::max(mRightSpace, mReservedRight);
}

void GREvent::reserveSpace(float left, float right) {
  mReservedLeft = std::max(mReservedLeft, left);
  mReservedRight = std::max(mReservedRight, right);
  mLeftSpace = std::max(mLeftSpace, mReservedLeft);
  mRightSpace = std::max(mRightSpace, mReservedRight);
}

void GREvent::removeAssociation(GRNotationElement* element) {
  if (mGlobalStem && element == static_cast<GRNotationElement*>(mGlobalStem)) mGlobalStem = nullptr;
  GRARCompositeNotationElement::removeAssociation(element);
}

void GREvent::addArticulation(ARMusicalTag* tag) {
  if (!mArticulations) mArticulations = std::make_unique<Articulations>();
  Articulations& all = *mArticulations;
  GRArticulation* added =
      all.marks.emplace_back(std::make_unique<GRArticulation>(tag, mCurLSPACE, false)).get();
  all.placing = true;
  added->tellPosition(this, mPosition + NVPoint{marksShift(), 0});
  all.placing = false;
  // The others may stand otherwise beside the new one: they are placed again when the event moves.
  all.placedHere = false;
  // The others stay where they are: the box grows by the new one alone.
  if (all.merged && all.mergedAt == mPosition) all.boxes.add(BoxAgainst(*added, mPosition));
  mArticulationFlags |= added->getArticulationFlag();
  updateBoundingBox();
}

bool GREvent::adjustLength(Fraction const&) {
  MELVARIN_ASSERT(false);
  return false;
}

void GREvent::setGlobalStem(GRGlobalStem* stem) {
  mGlobalStem = stem;
  if (stem && stem->getFirstEl() && stem->getFirstEl() != this) mNeedsSpring = -1;
}

void GREvent::setGlobalLocation(GRGlobalLocation* location) {
  if (location && location->getFirstEl() && location->getFirstEl() != this) mNeedsSpring = -1;
}

GDirection GREvent::getStemDirection() const {
  return mGlobalStem ? mGlobalStem->getStemDir() : dirOFF;
}

void GREvent::setStemDirection(GDirection direction) {
  if (mGlobalStem) mGlobalStem->setStemDirection(direction);
}

void GREvent::setFlagOnOff(bool on) {
  if (mGlobalStem) mGlobalStem->setFlagOnOff(on);
}

bool GREvent::getStemDirSet() const {
  return mGlobalStem && mGlobalStem->getStemDirSet();
}

bool GREvent::getStemLengthSet() const {
  return mGlobalStem && mGlobalStem->getStemLengthSet();
}

float GREvent::getStemLength() const {
  return mGlobalStem ? mGlobalStem->getStemLength() : 0;
}

NVPoint GREvent::getStemStartPos() const {
  return mGlobalStem ? mGlobalStem->getStemStartPos() : NVPoint();
}

NVPoint GREvent::getStemEndPos() const {
  return mGlobalStem ? mGlobalStem->getStemEndPos() : NVPoint{mBoundingBox.right, 0};
}

float GREvent::changeStemLength(float length) {
  return mGlobalStem ? mGlobalStem->changeStemLength(length) : 0;
}

int GREvent::getNumFaehnchen() const {
  return mGlobalStem ? mGlobalStem->getNumFaehnchen() : 0;
}

void GREvent::createDots(Fraction const& duration, float dotOffset, NVPoint const& pos) {
  int const count = GRNoteDot::DurationToDotCount(duration);
  if (count < 1) return;
  auto* dot = new GRNoteDot(this, dotOffset, count);
  dot->setPosition(pos);
  AddTail(dot);
  updateBoundingBox();
}

void GREvent::keepRoomForDots() {
  if (GRNoteDot const* dot = getDot())
    mRightSpace = std::max(
        mRightSpace, dot->getOffset().x - mOffset.x + dot->getRightSpace() + kDotGap * mCurLSPACE);
}

GRNoteDot* GREvent::getDot() const {
  void* pos = First();
  while (pos) {
    GRNotationElement* element = GetNext(pos);
    if (typeid(*element) == typeid(GRNoteDot)) return static_cast<GRNoteDot*>(element);
  }
  return nullptr;
}

void GREvent::setDotFormat(ARDotFormat const* format) {
  setDotFormat(getDot(), format);
}

void GREvent::setDotFormat(GRNoteDot* dot, ARDotFormat const* format) {
  if (!dot || !format) return;
  NVPoint offset = dot->getOffset();
  if (TagParameterFloat const* dx = format->getDX()) offset.x += dx->getValue(mCurLSPACE);
  if (TagParameterFloat const* dy = format->getDY()) {
    if (!ARMTParameter::IsSet(dy)) {
      // A dot beside a head on a line moves into the space above.
      if (positionIsOnStaffLine(mPosition.y, mCurLSPACE)) offset.y -= 0.8f * mCurLSPACE / 2;
    } else {
      offset.y -= dy->getValue(mCurLSPACE);
    }
  }
  dot->setOffset(offset);
  if (TagParameterFloat const* size = format->getSize())
    dot->setSize(dot->getSize() * size->getValue(50));
}

bool GREvent::isSyncopated() const {
  Fraction duration = mDurationOfGR;
  duration.normalize();
  return mRelativeTimePositionOfGR.getDenominator() < duration.getDenominator();
}

ScoreElementDesc GREvent::PlacedElementDesc(int kind, int subtype) const {
  ScoreElementDesc desc;
  desc.kind = kind;
  desc.subtype = subtype;
  desc.date = static_cast<float>(mRelativeTimePositionOfGR.getValue());
  desc.duration = static_cast<float>(mDurationOfGR.getValue());
  desc.left = mBoundingBox.left + mPosition.x;
  desc.top = mBoundingBox.top + mPosition.y;
  desc.right = mBoundingBox.right + mPosition.x;
  desc.bottom = mBoundingBox.bottom + mPosition.y;
  desc.refX = mPosition.x;
  desc.refY = mPosition.y;
  return desc;
}
