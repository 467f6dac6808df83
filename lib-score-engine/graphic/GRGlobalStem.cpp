#include "GRGlobalStem.h"
#include "ARCast.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "ARDisplayDuration.h"
#include "ARNoteFormat.h"
#include "ARShareStem.h"
#include "ARTStem.h"
#include "GREmpty.h"
#include "GRFlag.h"
#include "GRSingleNote.h"
#include "GRStaff.h"
#include "GRStdNoteHead.h"
#include "GRStem.h"
#include "GRSystemSlice.h"
#include "GRSystemTag.h"
#include "NEPointerList.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "engine_globals.h"

GRGlobalStem::GRGlobalStem(GRStaff* staff, ARShareStem* tag, ARTStem* stemTag,
                           ARDisplayDuration* dispDurTag, ARNoteFormat* format)
    : GRPTagARNotationElement(tag), mStemTag(stemTag), mLineSpace(staff->getLineSpace()) {
  addFirstStartEnd(staff);
  if (dispDurTag && dispDurTag->getDisplayDuration() > Frac_0)
    mDisplayDuration = dispDurTag->getDisplayDuration();
  size = mLineSpace / 50;
  if (!format) return;
  if (format->getSize()) size = format->getSize()->getValue(50);
  if (TagParameterString const* color = format->getColor()) {
    if (!colRef) colRef = new unsigned char[4];
    if (!color->getRGB(colRef)) {
      delete[] colRef;
      colRef = nullptr;
    }
  }
  if (format->getDX()) offset.x = format->getDX()->getValue(mLineSpace);
  if (format->getDY()) offset.y = -format->getDY()->getValue(mLineSpace);
}

GRGlobalStem::~GRGlobalStem() {
  if (!IsWholeLayoutGoing()) {
    // The ends of each piece hold the tag too.
    DeleteAllSSEs();
    if (mFirstEl) mFirstEl->removeAssociation(this);
    if (NEPointerList* list = getAssociations()) {
      for (void* pos = list->GetHeadPosition(); pos;) list->GetNext(pos)->removeAssociation(this);
    }
  }
  delete mGroupStem;
  delete mGroupFlag;
}

void GRGlobalStem::addAssociation(GRNotationElement* element) {
  if (error || !element->isGREventClass()) return;
  auto* event = static_cast<GREvent*>(element);
  if (auto const* note = ar_cast<GRSingleNote const>(event)) {
    Fraction const& shown = note->getDurTemplate();
    if (shown > note->getDuration() && shown > mDisplayDuration) mDisplayDuration = shown;
  }
  event->setGlobalStem(this);
  if (!mFirstEl || event->getDuration() > Frac_0) event->setNeedsSpring(1);
  if (!mFirstEl) {
    mFirstEl = event;
  } else {
    GRPTagARNotationElement::addAssociation(event);
  }
  event->GRNotationElement::addAssociation(this);
}

void GRGlobalStem::removeAssociation(GRNotationElement* element) {
  if (element && element == mFirstEl) {
    GRNotationElement::removeAssociation(element);
    mFirstEl = nullptr;
  } else {
    GRPTagARNotationElement::removeAssociation(element);
  }
}

template <class Visit>
void GRGlobalStem::ForEachEvent(Visit visit) const {
  auto visitEvent = [&](GRNotationElement* element) {
    if (element && element->isGREventClass() && !ar_cast<GREmpty>(element)) visit(element);
  };
  visitEvent(mFirstEl);
  if (NEPointerList* list = getAssociations()) {
    for (void* pos = list->GetHeadPosition(); pos;) visitEvent(list->GetNext(pos));
  }
}

float GRGlobalStem::NoteY(GRNotationElement const* element) const {
  // Notes on other staves count by where their staff stands below the first one's.
  float y = element->getPosition().y;
  GRStaff const* staff = element->getGRStaff();
  GRStaff const* firstStaff = mFirstEl ? mFirstEl->getGRStaff() : nullptr;
  if (staff && firstStaff && staff != firstStaff)
    y += staff->getPosition().y - firstStaff->getPosition().y;
  return y;
}

float GRGlobalStem::MeasureHeights() {
  int count = 0;
  float sum = 0;
  ForEachEvent([&](GRNotationElement* element) {
    float const y = NoteY(element);
    mLowestY = count == 0 ? y : std::min(mLowestY, y);
    mHighestY = count == 0 ? y : std::max(mHighestY, y);
    sum += y;
    ++count;
  });
  if (count == 0) mLowestY = mHighestY = 0;
  return count ? sum / count : 0;
}

GDirection GRGlobalStem::ChooseDirection(float meanY) const {
  if (mDisplayDuration >= Frac_1) return dirOFF;
  if (mStemTag && mStemTag->getStemState() != ARTStem::AUTO) {
    switch (mStemTag->getStemState()) {
      case ARTStem::UP:
        return dirUP;
      case ARTStem::DOWN:
        return dirDOWN;
      default:
        return dirOFF;
    }
  }
  // The stem goes away from the note furthest from the middle line.
  float const middle = 2 * mLineSpace;
  float const above = middle - mLowestY;
  float const below = mHighestY - middle;
  if (above > below) return dirDOWN;
  if (above < below) return dirUP;
  return meanY >= middle ? dirUP : dirDOWN;
}

void GRGlobalStem::PlaceStemAndFlag(GDirection direction) {
  delete mGroupStem;
  mGroupStem = new GRStem(this);
  mGroupStem->setStemDir(direction);
  float length = mLineSpace * 3.5f * size + (mHighestY - mLowestY);
  if (mStemTag && ARMTParameter::IsSet(mStemTag->getLength())) {
    length = mStemTag->getLength()->getValue(50);
    mStemLengthSet = true;
  }
  mGroupStem->setStemLength(length);
  NVPoint const at{mFirstEl ? mFirstEl->getPosition().x : 0,
                   direction == dirDOWN ? mLowestY : mHighestY};
  mGroupStem->setPosition(at);
  delete mGroupFlag;
  mGroupFlag = nullptr;
  mGroupFlag = new GRFlag(this, mDisplayDuration, direction, mGroupStem->getStemLength());
  if (!mFlagOn) mGroupFlag->setFlagOnOff(false);
  mGroupFlag->setPosition(at);
  updateBoundingBox();
}

void GRGlobalStem::RangeEnd(GRStaff* staff) {
  if (!mFirstEl) return;
  GRPTagARNotationElement::RangeEnd(staff);
  int const firstStaff = mFirstEl->getStaffNumber();
  bool acrossStaves = false;
  if (NEPointerList* list = getAssociations()) {
    for (void* pos = list->GetHeadPosition(); pos;)
      if (list->GetNext(pos)->getStaffNumber() != firstStaff) acrossStaves = true;
  }
  if (acrossStaves && tagType != SYSTEMTAG) {
    tagType = SYSTEMTAG;
    if (GRSystemSlice* slice = mFirstEl->getGRSystemSlice())
      slice->addSystemTag(new GRSystemTag(this));
  }
  float const mean = MeasureHeights();
  if (mStemDir == dirOFF) mStemDir = ChooseDirection(mean);
  PlaceStemAndFlag(mStemDir);
  if (tagType != SYSTEMTAG) updateGlobalStem();
}

void GRGlobalStem::updateGlobalStem() {
  std::vector<GRSingleNote*> notes;
  ForEachEvent([&](GRNotationElement* element) {
    if (auto* note = ar_cast<GRSingleNote>(element)) notes.push_back(note);
  });
  // From the stem's far end: lowest note first for stems up or none, highest for stems down.
  bool const down = getStemDir() == dirDOWN;
  std::stable_sort(notes.begin(), notes.end(), [&](GRSingleNote* a, GRSingleNote* b) {
    return down ? NoteY(a) < NoteY(b) : NoteY(a) > NoteY(b);
  });
  int const normalSide = down ? GRSingleNote::kRight : GRSingleNote::kLeft;
  bool moved = false;
  int previousSide = 0;
  float previousY = 0;
  for (GRSingleNote* note : notes) {
    GRStdNoteHead* head = note->getNoteHead();
    // A head a second from one that kept its side goes to the other side of the stem.
    bool const second =
        previousSide == normalSide && StaffStepsApart(NoteY(note), previousY, mLineSpace) < 2;
    if (head) head->setOffset(NVPoint{note->getOffset().x, head->getOffset().y});
    previousSide =
        note->adjustHeadPosition(second ? GRSingleNote::kReverse : GRSingleNote::kNormal);
    previousY = NoteY(note);
    if (head && head->getOffset().x != note->getOffset().x) moved = true;
    note->updateBoundingBox();
  }
  if (moved)
    for (GRSingleNote* note : notes) note->updateAccidentalsPos();
}

void GRGlobalStem::checkPosition(GRSystem const*) {
  mIsSystemCall = true;
  if (mFirstEl) tellPosition(mFirstEl, mFirstEl->getPosition());
  mIsSystemCall = false;
}

void GRGlobalStem::tellPosition(GObject* caller, NVPoint const& point) {
  if (error || !mFirstEl || caller != mFirstEl) return;
  if (mIsSystemCall) {
    MeasureHeights();
    PlaceStemAndFlag(mStemDir);
    updateGlobalStem();
  }
  setHPosition(point.x);
}

void GRGlobalStem::setHPosition(float x) {
  if (error || (tagType == SYSTEMTAG && !mIsSystemCall)) return;
  GRNotationElement::setHPosition(offset.x + x);
  if (mGroupStem) mGroupStem->setHPosition(x);
  if (mGroupFlag) mGroupFlag->setHPosition(x);
  updateBoundingBox();
}

void GRGlobalStem::updateBoundingBox() {
  mBoundingBox = NVRect{};
  GDirection const direction = getStemDir();
  if (direction != dirUP && direction != dirDOWN) return;
  NVPoint const tip = getStemStartPos();
  float const heads = mGroupStem->getPosition().y + offset.y;
  mBoundingBox = NVRect{tip.x - mPosition.x, std::min(tip.y, heads), tip.x - mPosition.x,
                        std::max(tip.y, heads)};
}

void GRGlobalStem::OnDraw(VGDevice& device, VScoreSymbolMap& map) const {
  if (error) return;
  if (mGroupStem) mGroupStem->OnDraw(device, map);
  if (mGroupFlag) mGroupFlag->OnDraw(device, map);
}

float GRGlobalStem::getHeadsRightShift() const {
  float shift = 0;
  ForEachEvent([&](GRNotationElement* element) {
    auto const* note = ar_cast<GRSingleNote>(element);
    if (note && note->getNoteHead())
      shift = std::max(shift, note->getNoteHead()->getOffset().x - note->getOffset().x);
  });
  return shift;
}

bool GRGlobalStem::hasStemsGivenDown() const {
  return mStemTag && mStemTag->getStemState() == ARTStem::DOWN;
}

GDirection GRGlobalStem::getStemDir() const {
  return mGroupStem ? mGroupStem->getStemDir() : dirOFF;
}

int GRGlobalStem::getNumFaehnchen() const {
  return mGroupFlag ? mGroupFlag->getNumFaehnchen() : GRFlag::CountFor(mDisplayDuration);
}

void GRGlobalStem::setFlagOnOff(bool on) {
  mFlagOn = on;
  if (!mGroupFlag) return;
  mGroupFlag->setFlagOnOff(on);
  // The notes' dots stand past the flag only while it is drawn, and their room follows.
  ForEachEvent([](GRNotationElement* element) {
    auto* note = ar_cast<GRSingleNote>(element);
    if (note && note->getDot()) note->updateBoundingBox();
  });
}

float GRGlobalStem::changeStemLength(float length) {
  if (mStemLengthSet) {
    ZudidOvod("Stemlength already set!");
  } else if (mGroupStem) {
    mGroupStem->setStemLength(length);
    updateBoundingBox();
  }
  return getStemLength();
}

void GRGlobalStem::setNoteStemLength(GREvent* event, float length) {
  if (!mGroupStem) return;
  mGroupStem->setStemLength(length);
  mStemLengthSet = true;
  if (mGroupFlag) mGroupFlag->changeStemLength(event, length, mGroupStem->getStemDir());
  updateBoundingBox();
}

float GRGlobalStem::getStemLength() const {
  return mGroupStem ? mGroupStem->getStemLength() : 0;
}

void GRGlobalStem::setStemDirection(GDirection direction) {
  mStemDir = direction;
  if (!mGroupStem) return;
  GDirection const before = mGroupStem->getStemDir();
  mGroupStem->setStemDir(direction);
  if (before == direction) return;
  float const span = mHighestY - mLowestY;
  mGroupStem->setStemLength(mGroupStem->getStemLength() + span);
  NVPoint at = mGroupStem->getPosition();
  at.y += direction == dirDOWN ? -span : direction == dirUP ? span : 0;
  mGroupStem->setPosition(at);
  updateBoundingBox();
}

NVPoint GRGlobalStem::getStemStartPos() const {
  if (!mGroupStem) return mPosition;
  NVPoint const stem = mGroupStem->getPosition();
  float const length = mGroupStem->getStemLength();
  if (mGroupStem->getStemDir() == dirDOWN)
    return NVPoint{stem.x - 30 * size + offset.x, stem.y + length + offset.y};
  return NVPoint{stem.x + 26 * size + offset.x, stem.y - length + offset.y};
}

NVPoint GRGlobalStem::getStemEndPos() const {
  NVPoint end = getStemStartPos();
  if (!mGroupStem) return end;
  end.x += mGroupStem->getStemDir() == dirDOWN ? 4 * size : 3 * size;
  return end;
}

bool GRGlobalStem::getHighestAndLowestNoteHead(GRStdNoteHead** highest,
                                               GRStdNoteHead** lowest) const {
  *highest = *lowest = nullptr;
  float high = 0, low = 0;
  if (NEPointerList* list = getAssociations()) {
    for (void* pos = list->GetHeadPosition(); pos;) {
      auto* note = ar_cast<GRSingleNote>(list->GetNext(pos));
      if (!note || !note->getNoteHead()) continue;
      float const y = note->getPosition().y;
      if (!*highest || y < high) *highest = note->getNoteHead(), high = y;
      if (!*lowest || y > low) *lowest = note->getNoteHead(), low = y;
    }
  }
  return *highest != nullptr;
}
