#include "ARMusicalVoiceState.h"

#include <algorithm>
#include <cstdint>

#include "ARAuto.h"
#include "ARBeam.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARDisplayDuration.h"
#include "ARGrace.h"
#include "ARMeter.h"
#include "ARMusicalTag.h"
#include "ARPositionTag.h"
#include "ARTie.h"
#include "ARTuplet.h"
#include "MoreMusicalTags.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

// The tag whose range an end marker closes; a begin tag stands for itself.
ARPositionTag* RangeOf(ARPositionTag* tag) {
  if (!tag->isEndMarker()) return tag;
  MELVARIN_ASSERT(tag->getCorrespondence() != nullptr);
  return tag->getCorrespondence();
}

// Clef, key, meter, staff, glue, automatic settings and a few more.
constexpr std::size_t kStateTagRoom = 8;

}  // namespace

std::uint8_t ARMusicalVoiceState::RangeKindOf(ARPositionTag const* tag) {
  std::uint8_t kind = tag->getRangeKind();
  if (kind != 0) return kind;
  kind = kRangeKnown;
  // A chord label is of a class derived from the chord tag; it may span chords.
  if (IsExactly<ARChordTag>(tag)) kind |= kRangeChord;
  if (ar_cast<ARGrace const>(tag)) kind |= kRangeGrace;
  if (ar_cast<ARDisplayDuration const>(tag)) kind |= kRangeDisplayDuration;
  if (ar_cast<ARTie const>(tag)) kind |= kRangeTie;
  if (ar_cast<ARTuplet const>(tag)) kind |= kRangeTuplet;
  if (ar_cast<ARMerge const>(tag)) kind |= kRangeMerge;
  if (ar_cast<ARBeam const>(tag)) kind |= kRangeBeam;
  tag->setRangeKind(kind);
  return kind;
}

ARMusicalVoiceState::ARMusicalVoiceState(ARMusicalVoiceState const& other) {
  CopyFrom(other, true);
}

ARMusicalVoiceState& ARMusicalVoiceState::operator=(ARMusicalVoiceState const& other) {
  if (this != &other) {
    // The source may be one of this state's own snapshots: copy before letting go of them.
    ARMusicalVoiceState copy(other);
    DeleteAll();
    CopyFrom(copy, true);
  }
  return *this;
}

ARMusicalVoiceState::~ARMusicalVoiceState() {
  DeleteAll();
}

void ARMusicalVoiceState::CopyFrom(ARMusicalVoiceState const& other, bool withSnapshots) {
  curlastbartp = other.curlastbartp;
  curlastbarpos = other.curlastbarpos;
  ptagpos = other.ptagpos;
  curtp = other.curtp;
  curstatetags = other.curstatetags;
  addedpositiontags = other.addedpositiontags;
  removedpositiontags = other.removedpositiontags;
  curpositiontags = other.curpositiontags;
  opendisplaydurations = other.opendisplaydurations;
  vpos = other.vpos;
  curmeter = other.curmeter;
  curdispdur = other.curdispdur;
  curbeamstate = other.curbeamstate;
  curauto = other.curauto;
  curgrace = other.curgrace;
  curchordtag = other.curchordtag;
  keepsChordSnapshots = other.keepsChordSnapshots;
  if (!withSnapshots) return;
  // Snapshots are one level deep; one holding snapshots of its own would make copies grow
  // without end.
  for (ARMusicalVoiceState const* snapshot : {other.chordState, other.prevchordState}) {
    if (!snapshot) continue;
    MELVARIN_ASSERT(snapshot->chordState == nullptr);
    MELVARIN_ASSERT(snapshot->prevchordState == nullptr);
  }
  if (other.chordState) chordState = other.chordState->Snapshot();
  if (other.prevchordState) prevchordState = other.prevchordState->Snapshot();
}

ARMusicalVoiceState* ARMusicalVoiceState::Snapshot(ARMusicalVoiceState* spare) const {
  MELVARIN_ASSERT(spare != this);
  ARMusicalVoiceState* copy = spare ? spare : new ARMusicalVoiceState;
  // A spare is a snapshot itself and holds none: CopyFrom overwrites every other member.
  MELVARIN_ASSERT(copy->chordState == nullptr && copy->prevchordState == nullptr);
  copy->CopyFrom(*this, false);
  return copy;
}

void ARMusicalVoiceState::DeleteAll() {
  curstatetags.clear();
  DeleteAddedAndRemovedPTags();
  curpositiontags.clear();
  opendisplaydurations.clear();
  delete chordState;
  chordState = nullptr;
  delete prevchordState;
  prevchordState = nullptr;
}

void ARMusicalVoiceState::AddStateTag(ARMusicalTag* tag) {
  MELVARIN_ASSERT(tag != nullptr);
  auto const same = std::find_if(curstatetags.begin(), curstatetags.end(),
                                 [&](ARMusicalTag* held) { return typeid(*held) == typeid(*tag); });
  if (same != curstatetags.end()) {
    *same = tag;
  } else {
    // Room for the few classes of state tags at once, rather than growing step by step in
    // every walk's state.
    if (curstatetags.capacity() == 0) curstatetags.reserve(kStateTagRoom);
    curstatetags.push_back(tag);
  }
  if (auto* meter = ar_cast<ARMeter>(tag))
    curmeter = meter;
  else if (auto* beamState = ar_cast<ARBeamState>(tag))
    curbeamstate = beamState;
  else if (auto* automatic = ar_cast<ARAuto>(tag))
    curauto = automatic;
}

ARMusicalTag* ARMusicalVoiceState::getCurStateTag(std::type_info const& type) const {
  for (ARMusicalTag* tag : curstatetags)
    if (typeid(*tag) == type) return tag;
  return nullptr;
}

ARMusicalTag* ARMusicalVoiceState::RemoveCurStateTag(std::type_info const& type) {
  auto const found = std::find_if(curstatetags.begin(), curstatetags.end(),
                                  [&](ARMusicalTag* held) { return typeid(*held) == type; });
  if (found == curstatetags.end()) return nullptr;
  ARMusicalTag* tag = *found;
  curstatetags.erase(found);
  return tag;
}

void ARMusicalVoiceState::AddPositionTag(ARPositionTag* tag, int addToAdded) {
  MELVARIN_ASSERT(tag != nullptr);
  const std::uint8_t kind = RangeKindOf(tag);
  if (kind & kRangeChord) {
    if (curchordtag) RidevUzuze("nested chordtags are not allowed!");
    MELVARIN_ASSERT(curchordtag == nullptr);
    curchordtag = static_cast<ARChordTag*>(tag);
  } else if (kind & kRangeGrace) {
    if (curgrace) RidevUzuze("nested gracetags are notallowed!");
    MELVARIN_ASSERT(curgrace == nullptr);
    curgrace = static_cast<ARGrace*>(tag);
  } else if (kind & kRangeDisplayDuration) {
    curdispdur = static_cast<ARDisplayDuration*>(tag);
    opendisplaydurations.push_back(tag);
  }
  curpositiontags.push_back(tag);
  if (addToAdded) addedpositiontags.push_back(tag);
}

void ARMusicalVoiceState::RemovePositionTag(ARPositionTag* tag, int addToRemoved) {
  ARPositionTag* range = RangeOf(tag);
  const bool removed = curpositiontags.RemoveFirst(range);
  MELVARIN_ASSERT(removed);
  Closed(range, addToRemoved);
}

void ARMusicalVoiceState::CloseIfOpen(ARPositionTag* tag) {
  ARPositionTag* range = tag->isEndMarker() ? tag->getCorrespondence() : tag;
  if (range && curpositiontags.RemoveFirst(range)) Closed(range, 1);
}

void ARMusicalVoiceState::Closed(ARPositionTag* range, int addToRemoved) {
  if (addToRemoved) removedpositiontags.push_back(range);
  addedpositiontags.RemoveFirst(range);
  if (curdispdur && (RangeKindOf(range) & kRangeDisplayDuration)) {
    // The innermost display duration still open is the one in force again.
    if (opendisplaydurations.RemoveFirst(range) || range == curdispdur)
      curdispdur = static_cast<ARDisplayDuration*>(opendisplaydurations.back());
  } else if (range == curchordtag) {
    curchordtag = nullptr;
  } else if (range == curgrace) {
    curgrace = nullptr;
  }
}

bool ARMusicalVoiceState::IsOpen(ARPositionTag const* tag) const {
  if (!tag) return false;
  if (tag->isEndMarker()) tag = tag->getCorrespondence();
  return curpositiontags.Contains(tag);
}

ARChordTag* ARMusicalVoiceState::AsChordRange(ARPositionTag* tag) {
  return tag && (RangeKindOf(tag) & kRangeChord) ? static_cast<ARChordTag*>(tag) : nullptr;
}

void ARMusicalVoiceState::DeleteAddedAndRemovedPTags() {
  // Cleared, not freed: the next step fills them again.
  addedpositiontags.clear();
  removedpositiontags.clear();
}

void ARMusicalVoiceState::Forget(ARPositionTag* tag) {
  if (IsOpen(tag) && !tag->isEndTagClass()) RemovePositionTag(tag, 0);
  addedpositiontags.RemoveFirst(tag);
  removedpositiontags.RemoveFirst(tag);
  for (ARMusicalVoiceState* snapshot : {chordState, prevchordState})
    if (snapshot) snapshot->Forget(tag);
}
