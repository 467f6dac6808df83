#include "MoreMusicalTags.h"

#include "ARCast.h"
#include "RmnOutput.h"
#include "src/common/assertion.h"

// The repeat end is a structure tag of its own; its count is read in this one place.
#if __has_include("ARRepeatEnd.h")
#include "ARRepeatEnd.h"
int ARRepeatEndRangeEnd::getNumRepeat() const {
  return repeatEnd ? repeatEnd->getNumRepeat() : -1;
}
#else
int ARRepeatEndRangeEnd::getNumRepeat() const {
  MELVARIN_ASSERT(repeatEnd == nullptr);
  return -1;
}
#endif

ARTagEnd::ARTagEnd(int newId, ARTagEnd const* copy)
    : ARMTParameter(newId, copy), ARPositionTag(true) {
  assoc = 0;
}

void ARTagEnd::print() const {
  PrintRmnLine(*this);
}

void* ARTagEnd::getEndPosition() const {
  MELVARIN_ASSERT(!"an end marker has no end position");
  return nullptr;
}

void ARTagEnd::setEndPosition(void*) {
  MELVARIN_ASSERT(!"an end marker has no end position");
}

ARDummyRangeEnd::ARDummyRangeEnd(char const* text) {
  setEndText(text);
}

ARDummyRangeEnd::ARDummyRangeEnd(ARDummyRangeEnd const* copy)
    : ARTagEnd(-1, copy), endText(copy->endText) {}

ARAutoBeamEnd::ARAutoBeamEnd() {
  isAuto = true;
}

ARAutoBeam::ARAutoBeam() {
  assoc = 1;
  isAuto = true;
}

ARBase::ARBase() {
  assoc = 1;
  rangeSetting = ONLYRANGE;
}

void ARBase::print() const {
  PrintRmnLine(*this);
}

void ARBase::PrintParameters(std::ostream& os) const {
  os << base.getNumerator() << "," << base.getDenominator() << "," << sumDuration.getNumerator()
     << "," << sumDuration.getDenominator();
}

void ARBase::addEvent(ARMusicalEvent const* event) {
  MELVARIN_ASSERT(event != nullptr);
  sumDuration += event->getDuration();
}

// A merge is only ever written as a range.
ARMerge::ARMerge() {
  rangeSetting = ONLYRANGE;
}

void ARMerge::print() const {
  PrintRmnLine(*this);
}

void ARMerge::setError(int newError) {
  ARMusicalTag::setError(newError);
  if (newError == 0) return;
  assoc = 4;
  if (auto* end = ar_cast<ARMusicalTag>(correspondence)) end->setAssociation(3);
}

void ARSecondGlue::print() const {
  PrintRmnLine(*this);
}

void ARBeamState::print() const {
  PrintRmnLine(*this);
}

void ARBeamState::PrintName(std::ostream& os) const {
  os << "\\beams" << (state == AUTO ? "Auto" : "Off");
}

void ARNewPage::print() const {
  PrintRmnLine(*this);
}

void ARPossibleBreak::print() const {
  PrintRmnLine(*this);
}

void ARStaffOn::print() const {
  PrintRmnLine(*this);
}

void ARStaffOff::print() const {
  PrintRmnLine(*this);
}
