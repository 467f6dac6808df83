// The voice manager's events: notes, grace notes, rests, chords and empties, each drawn at the
// length it shows, joined to the spanners open around it and written to staff and voice.

#include <algorithm>

#include "ARCast.h"
#include "ARChord.h"
#include "ARDisplayDuration.h"
#include "ARDotFormat.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "AROctava.h"
#include "ARRest.h"
#include "ARTStem.h"
#include "GRChord.h"
#include "GRChordTag.h"
#include "GREmpty.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRGrace.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "GRTag.h"
#include "GRTie.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "TagParameterFloat.h"
#include "TagParameterRanges.h"
#include "src/common/assertion.h"

namespace {

GDirection stemDirectionOf(ARTStem const& stem) {
  switch (stem.getStemState()) {
    case ARTStem::UP:
      return dirUP;
    case ARTStem::DOWN:
      return dirDOWN;
    case ARTStem::OFF:
      return dirOFF;
    default:
      return dirAUTO;
  }
}

bool isSet(TagParameter const* parameter) {
  return parameter && parameter->mState != TagParameter::NOTSET;
}

ARDotFormat const* dotFormatOr(ARDotFormat const* format) {
  return format ? format : &defaultARDotFormat;
}

}  // namespace

Fraction GRVoiceManager::displayedLength(Fraction const& duration) const {
  ARDisplayDuration const* shown = mVoiceState->getCurDisplayDuration();
  if (!shown) return duration;
  // Each dot adds half of what the one before added, for as many dots as a tag may give.
  Fraction length = shown->getDisplayDuration();
  Fraction added = length;
  int const dots = std::min(shown->getDots(), TagParameterRanges::kMaxDots);
  for (int dot = 0; dot < dots; ++dot) {
    added = added * Frac_1_2;
    length = length + added;
  }
  length.normalize();
  return length;
}

void GRVoiceManager::associateOpenTags(GRNotationElement* element) {
  // A grace note among a chord's notes is none of them: it has a stem of its own.
  bool const chordGrace = mCurGrace && mGraceInChord;
  for (void* pos = mGrTags->GetHeadPosition(); pos;) {
    GRTag* tag = mGrTags->GetNext(pos);
    if (chordGrace &&
        (ar_cast<GRGlobalLocation>(tag) || ar_cast<GRGlobalStem>(tag) || ar_cast<GRChordTag>(tag)))
      continue;
    // A grace group leans on the event after it; its own notes it only places.
    if (auto* grace = ar_cast<GRGrace>(tag))
      grace->addGraceNote(element);
    else if (auto* spanner = ar_cast<GRNotationElement>(tag))
      spanner->addAssociation(element);
  }
  // It takes no spring: its group places it before the chord, which keeps the room for it.
  if (chordGrace) element->setNeedsSpring(0);
}

void GRVoiceManager::addToVoice(GRNotationElement* element) {
  if (mGRVoice) mGRVoice->AddTail(element);
}

GRNotationElement* GRVoiceManager::placeEvent(GREvent* event) {
  associateOpenTags(event);
  mCurGrStaff->addNotationElement(event);
  // Only notes make a voice's music share the staff: an empty event holds a place, and a rest
  // leaves the staff to the other voice.
  if (mGRVoice && ar_cast<GRSingleNote>(event)) mCurGrStaff->holdNoteOf(mGRVoice);
  addToVoice(event);
  mLastCreatedEvent = event;
  mLineBegun = true;
  return event;
}

bool GRVoiceManager::isTiedOver(ARNote const* note) const {
  for (void* pos = mGrTags->GetHeadPosition(); pos;) {
    auto* tie = ar_cast<GRTie>(mGrTags->GetNext(pos));
    NEPointerList* held = tie ? tie->getAssociations() : nullptr;
    if (!held || held->GetCount() == 0) continue;
    auto const* first = ar_cast<GRNote const>(held->GetHead());
    if (first && first->getARNote()->CompareNameOctavePitch(*note)) return true;
  }
  return false;
}

GREvent* GRVoiceManager::createSingleNote(Fraction const& tp, ARNote* note,
                                          Fraction const& shownFrom, float stemLineSpace,
                                          bool grace) {
  Fraction const& duration = note->getDuration();
  if (note->getPitch() == 0) return new GREmpty(mCurGrStaff, note, tp, duration);
  mCurEv = note;
  Fraction const shown = displayedLength(shownFrom);
  if (auto* octava = ar_cast<AROctava>(mVoiceState->getCurStateTag(typeid(AROctava))))
    note->applyOctava(octava->getOctava());
  auto* single = new GRSingleNote(mCurGrStaff, note, tp, duration);
  GRGlobalStem* const stem = grace && mGraceInChord ? nullptr : mCurGlobalStem;
  if (stem) {
    single->setGlobalStem(stem);
  } else if (mCurStemState) {
    single->setStemDirection(stemDirectionOf(*mCurStemState));
    if (isSet(mCurStemState->getLength()))
      single->setStemLength(mCurStemState->getLength()->getValue(stemLineSpace));
  }
  // Grace notes point their stems up unless the score says otherwise: their flags then lean
  // away from the note that follows.
  if (grace && !stem && single->getStemDirection() == dirAUTO) single->setStemDirection(dirUP);
  if (mCurHeadState) single->setHeadState(mCurHeadState);
  single->setTiedOver(isTiedOver(note));
  if (mCurNoteFormat) single->setNoteFormat(mCurNoteFormat);
  // A grace note is small in all its parts: they take the note's size when they are made.
  if (grace) single->setSize(graceSize());
  single->doCreateNote(shown);
  single->setDotFormat(dotFormatOr(mCurDotFormat));
  return single;
}

float GRVoiceManager::graceSize() const {
  return mCurGrStaff ? mCurGrStaff->getLineSpace() / 50 * 0.75f : 0.75f;
}

GRNotationElement* GRVoiceManager::CreateNote(Fraction const& tp, ARMusicalObject* object) {
  auto* note = ar_cast<ARNote>(object);
  MELVARIN_ASSERT(note);
  if (!(note->getDuration() > Frac_0) && !mVoiceState->getCurDisplayDuration()) return nullptr;
  return placeEvent(createSingleNote(tp, note, note->getDuration(), mCurGrStaff->getLineSpace()));
}

GRNotationElement* GRVoiceManager::CreateGraceNote(Fraction const& tp, ARMusicalObject* object,
                                                   Fraction const& duration) {
  if (!object->isEventClass()) {
    mCurEv = nullptr;
    return nullptr;
  }
  auto* note = ar_cast<ARNote>(object);
  if (!note) return nullptr;
  if (!(note->getDuration() > Frac_0) && !mVoiceState->getCurDisplayDuration()) return nullptr;
  // Grace stems keep the length written for a full-size staff.
  GREvent* event = createSingleNote(tp, note, duration, 50, true);
  if (auto* single = ar_cast<GRSingleNote>(event)) {
    single->setGrace(true);
    single->updateBoundingBox();
  } else {
    event->setSize(graceSize());
  }
  return placeEvent(event);
}

GRNotationElement* GRVoiceManager::CreateRest(Fraction const& tp, ARMusicalObject* object) {
  auto* rest = ar_cast<ARRest>(object);
  MELVARIN_ASSERT(rest);
  Fraction const& duration = rest->getDuration();
  if (!(duration > Frac_0)) return nullptr;
  mCurEv = rest;
  auto* event = new GRSingleRest(mCurGrStaff, rest, tp, duration, displayedLength(duration));
  event->setRestFormat(mCurRestFormat);
  event->setDotFormat(dotFormatOr(mCurDotFormat));
  if (mCurStemState) event->setVoiceStem(stemDirectionOf(*mCurStemState));
  return placeEvent(event);
}

GRNotationElement* GRVoiceManager::CreateChord(Fraction const& tp, ARMusicalObject* object) {
  auto* chord = ar_cast<ARChord>(object);
  MELVARIN_ASSERT(chord);
  Fraction const& duration = chord->getDuration();
  if (!(duration > Frac_0)) return nullptr;
  mCurEv = chord;
  auto* event = new GRChord(mCurGrStaff, chord, tp, duration, displayedLength(duration));
  event->setDotFormat(dotFormatOr(mCurDotFormat));
  return placeEvent(event);
}

GRNotationElement* GRVoiceManager::CreateEmpty(Fraction const& tp, ARMusicalObject* object) {
  if (object->getDuration() > Frac_0) return nullptr;
  auto* ev = ar_cast<ARMusicalEvent>(object);
  MELVARIN_ASSERT(ev);
  auto* event = new GREmpty(mCurGrStaff, ev, tp, ev->getDuration());
  return placeEvent(event);
}
