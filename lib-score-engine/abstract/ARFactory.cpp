#include "ARFactory.h"

#include <algorithm>
#include <cstring>

#include "ARAlter.h"
#include "ARCast.h"
#include "ARCue.h"
#include "ARDisplayDuration.h"
#include "ARDotFormat.h"
#include "ARGrace.h"
#include "ARMTParameter.h"
#include "ARMusic.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARNote.h"
#include "ARNoteFormat.h"
#include "AROctava.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "ARRest.h"
#include "ARRestFormat.h"
#include "ARStaff.h"
#include "ARTDummy.h"
#include "ARTHead.h"
#include "ARTStem.h"
#include "ARText.h"
#include "ARTrill.h"
#include "MoreMusicalTags.h"
#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

long ARFactory::sMaxTagId = -1;

ARFactory::ARFactory() {
  sMaxTagId = -1;
}

ARFactory::~ARFactory() {
  for (OpenTag const& open : mTags)
    if (open.stackOnly) delete open.tag;
  delete mSavedVoice;
  delete mCurrentEvent;
  delete mCurrentVoice;
  delete mCurrentMusic;
  mTagParameterList.RemoveAll();
}

void ARFactory::createMusic() {
  workChanged();
  MELVARIN_ASSERT(!mCurrentMusic);
  mCurrentMusic = new ARMusic();
}

ARMusic* ARFactory::getMusic() {
  MELVARIN_ASSERT(!mCurrentEvent);
  MELVARIN_ASSERT(!mCurrentVoice);
  MELVARIN_ASSERT(mCurrentMusic);
  mCurrentMusic->setMaxTagId(sMaxTagId + 1L);
  ARMusic* music = mCurrentMusic;
  mCurrentMusic = nullptr;
  sMaxTagId = -1;
  // A few bytes can ask for millions of bar lines and note pieces, or for dates finer than the
  // time arithmetic holds, or tie hundreds of equal notes each to each.
  if (!music->FitsOneParse() || !music->doAutoStuff()) {
    ZudidOvod("Music too large for one parse - ignored");
    delete music;
    return nullptr;
  }
  return music;
}

bool ARFactory::isFull() const {
  if (!mWorkKnown) {
    mWork = mFinishedWork + ARMusic::kWorkPerParameter * mTagParameterList.GetCount();
    for (ARMusicalVoice const* voice : {mCurrentVoice, mSavedVoice})
      if (voice) mWork += ARMusic::ObjectWork(*voice);
    mWorkKnown = true;
  }
  return mWork > ARMusic::sMaxPassWork;
}

void ARFactory::createVoice() {
  workChanged();
  MELVARIN_ASSERT(!mCurrentVoice);
  mCurrentVoice = new ARMusicalVoice();
  mCurrentVoice->setVoiceNum(mVoiceNum++);
}

void ARFactory::addVoice() {
  workChanged();
  MELVARIN_ASSERT(!mCurrentEvent);
  MELVARIN_ASSERT(mCurrentMusic);
  MELVARIN_ASSERT(mCurrentVoice);
  mCurrentVoice->ConvertToNormalForm();
  mCurrentMusic->AddTail(mCurrentVoice);
  mFinishedWork += ARMusic::ObjectWork(*mCurrentVoice);
  mCurrentVoice = nullptr;
  resetVoiceState();
}

void ARFactory::resetVoiceState() {
  mCurrentRegister = 1;
  mCurrentNumerator = 1;
  mCurrentDenominator = 4;
  mCurrentIntensity = 80;
  // A repeat end may still refer to a repeat begin of an earlier voice.
  ARRepeatBegin* const repeatBegin = mCurrent.repeatBegin;
  mCurrent = PreviousStateTags{};
  mCurrent.repeatBegin = repeatBegin;
  mCurrentGrace = nullptr;
  mCurrentCue = nullptr;
  mCurrentTrill = nullptr;
  mCurrentStaff = nullptr;
}

void ARFactory::createChord() {
  workChanged();
  MELVARIN_ASSERT(mCurrentVoice);
  mCurrentVoice->BeginChord();
}

void ARFactory::initChordNote() {
  workChanged();
  MELVARIN_ASSERT(mCurrentVoice);
  mCurrentVoice->initChordNote();
}

void ARFactory::addChord() {
  workChanged();
  MELVARIN_ASSERT(mCurrentVoice);
  mCurrentVoice->FinishChord();
}

void ARFactory::createEvent(char const* name) {
  MELVARIN_ASSERT(!mCurrentEvent);
  MELVARIN_ASSERT(name);
  // Every event comes by here; "_" is the rest the scanner gives, "rest" the one a caller may.
  bool const rest =
      name[0] == '_' ? name[1] == '\0' : name[0] == 'r' && std::strcmp(name, "rest") == 0;
  if (rest)
    mCurrentEvent = new ARRest(mCurrentNumerator, mCurrentDenominator);
  else
    mCurrentEvent = new ARNote(name, 0, mCurrentRegister, mCurrentNumerator, mCurrentDenominator,
                               mCurrentIntensity);
}

void ARFactory::setRegister(int newRegister) {
  MELVARIN_ASSERT(mCurrentEvent);
  auto* note = ar_cast<ARNote>(mCurrentEvent);
  if (!note) return;
  // The running register stays inside the register range too, so the next note does not start
  // from a register no note can have.
  mCurrentRegister = std::clamp(newRegister, MIN_REGISTER, MAX_REGISTER);
  note->setRegister(mCurrentRegister);
}

// The running duration is the one the event ended up with: the event keeps its length within the
// range an event can last.
void ARFactory::setNumerator(int newNumerator) {
  MELVARIN_ASSERT(mCurrentEvent);
  mCurrentEvent->setNumerator(newNumerator);
  mCurrentNumerator = mCurrentEvent->getDuration().getNumerator();
}

void ARFactory::setDenominator(int newDenominator) {
  MELVARIN_ASSERT(mCurrentEvent);
  mCurrentEvent->setDenominator(newDenominator);
  mCurrentDenominator = mCurrentEvent->getDuration().getDenominator();
}

void ARFactory::setAccidentals(int newAccidentals) {
  auto* note = ar_cast<ARNote>(mCurrentEvent);
  MELVARIN_ASSERT(note);
  // A note holds at most a double sharp or a double flat; "c###" is read as the most it can hold.
  note->setAccidentals(std::clamp(newAccidentals, MIN_ACCIDENTALS, MAX_ACCIDENTALS));
}

void ARFactory::addSharp() {
  auto* note = ar_cast<ARNote>(mCurrentEvent);
  MELVARIN_ASSERT(note);
  note->addSharp();
}

void ARFactory::addFlat() {
  auto* note = ar_cast<ARNote>(mCurrentEvent);
  MELVARIN_ASSERT(note);
  note->addFlat();
}

void ARFactory::setPoints(int pointCount) {
  MELVARIN_ASSERT(mCurrentEvent);
  mCurrentEvent->setPoints(pointCount);
}

void ARFactory::addEvent() {
  workChanged();
  MELVARIN_ASSERT(mCurrentVoice);
  MELVARIN_ASSERT(mCurrentEvent);
  // A grace note sounds for no time and keeps its written length for display only.
  ARDisplayDuration* graceDisplay = nullptr;
  if (mCurrentGrace && mCurrentEvent->getDuration() > DURATION_0) {
    MELVARIN_ASSERT(mCurrentGrace->getRange());
    graceDisplay = new ARDisplayDuration();
    graceDisplay->setDisplayDuration(mCurrentEvent->getDuration());
    mCurrentVoice->AddPositionTag(graceDisplay);
    mCurrentEvent->setDuration(DURATION_0);
  }
  mCurrentVoice->AddTail(mCurrentEvent);
  mLastEvent = mCurrentEvent;
  mCurrentEvent = nullptr;
  if (graceDisplay) {
    mCurrentVoice->setPositionTagEndPos(-1, new ARDummyRangeEnd("\\dispDurEnd"), graceDisplay);
    closeInVoiceState(graceDisplay);
  }
}

// A closed range is no longer open at the voice's end. Left open there, every closed range would
// be carried along by every later copy of that state (one per chord).
void ARFactory::closeInVoiceState(ARPositionTag* begin) {
  ARMusicalVoiceState* const state = mCurrentVoice->getVoiceState();
  if (begin && state->IsOpen(begin)) state->RemovePositionTag(begin, 0);
}

ARMusicalTag* ARFactory::newestTag() const {
  return mTags.empty() ? nullptr : mTags.back().tag;
}

void ARFactory::createTag(char const* name, long id) {
  workChanged();
  MELVARIN_ASSERT(mCurrentMusic);
  MELVARIN_ASSERT(mCurrentVoice);
  MELVARIN_ASSERT(!mCurrentEvent);
  MELVARIN_ASSERT(name);
  id = std::min(id, kMaxTagId);
  if (id > sMaxTagId) sMaxTagId = id;
  int const tagId = static_cast<int>(id);

  TagName const* entry = FindTagName(name);
  TagEntry kind = entry ? entry->entry : TagEntry::None;
  bool const refusedCue = kind == TagEntry::Cue && mCurrentCue;
  bool const refusedGrace = std::strcmp(name, "grace") == 0 && mCurrentGrace;
  if (refusedCue || refusedGrace) {
    if (refusedCue) ZudidOvod("There is a cue already active");
    if (refusedGrace) ZudidOvod("There is a grace already active");
    entry = nullptr;
    kind = TagEntry::None;
  }
  ARMusicalTag* const tag = entry ? entry->make(mCurrent) : new ARTDummy();
  if (std::strcmp(name, "chord") == 0) RidevUzuze("chord-Tag is no longer supported!");
  fileTag(tag, kind, tagId);

  if (entry) {
    if (auto* grace = ar_cast<ARGrace>(tag)) mCurrentGrace = grace;
    if (auto* trill = ar_cast<ARTrill>(tag); trill && !mCurrentTrill) mCurrentTrill = trill;
    if (auto* cue = ar_cast<ARCue>(tag)) openCue(cue);
    if (auto* begin = ar_cast<ARRepeatBegin>(tag)) mCurrent.repeatBegin = begin;
    if (auto* end = ar_cast<ARRepeatEnd>(tag); end && mCurrent.repeatBegin)
      mCurrent.repeatBegin->setRepeatEnd(end);
    if (auto* staff = ar_cast<ARStaff>(tag)) mCurrentStaff = staff;
  }

  MELVARIN_ASSERT(mTagParameterList.empty());
  // A tag whose range is optional also stands in the event list, as it will stay there when the
  // text gives it no range.
  if (kind == TagEntry::Range && tag->getRangeSetting() == ARMusicalTag::RANGEDC) {
    MELVARIN_ASSERT(mCurrentVoice->GetTail() != tag);
    mCurrentVoice->AddTail(tag);
  }
  if (tag->IsStateTag()) rememberStateTag(tag);
  if (tagId != -1) tag->setID(tagId);
}

void ARFactory::fileTag(ARMusicalTag* tag, TagEntry kind, int id) {
  bool stackOnly = false;
  switch (kind) {
    case TagEntry::Object:
      mCurrentVoice->AddTail(tag);
      break;
    case TagEntry::Begin:
      // Open until the end tag of its name closes it; a range written after it is ignored.
      tag->setAllowRange(0);
      [[fallthrough]];
    case TagEntry::Range:
      mCurrentVoice->AddPositionTag(ar_cast<ARPositionTag>(tag));
      break;
    case TagEntry::End:
      tag->setID(id);
      stackOnly = !mCurrentVoice->setPositionTagEndPos(id, tag, nullptr);
      closeInVoiceState(ar_cast<ARPositionTag>(tag)->getCorrespondence());
      break;
    case TagEntry::None:
    case TagEntry::Cue:
      stackOnly = true;
      break;
  }
  mTags.push_back({tag, stackOnly});
}

void ARFactory::rememberStateTag(ARMusicalTag* tag) {
  if (auto* octava = ar_cast<AROctava>(tag))
    mCurrent.octava = octava;
  else if (auto* stem = ar_cast<ARTStem>(tag))
    mCurrent.stem = stem;
  else if (auto* head = ar_cast<ARTHead>(tag))
    mCurrent.head = head;
  else if (auto* noteFormat = ar_cast<ARNoteFormat>(tag))
    mCurrent.noteFormat = noteFormat;
  else if (auto* alter = ar_cast<ARAlter>(tag))
    mCurrent.alter = alter;
  else if (auto* restFormat = ar_cast<ARRestFormat>(tag))
    mCurrent.restFormat = restFormat;
  else if (auto* dotFormat = ar_cast<ARDotFormat>(tag))
    mCurrent.dotFormat = dotFormat;
}

void ARFactory::openCue(ARCue* cue) {
  mCurrentCue = cue;
  ARMusicalVoice* const mainVoice = mCurrentVoice;
  mSavedVoice = mainVoice;
  mCurrentVoice = new ARMusicalVoice();
  mCurrentVoice->setVoiceNum(-1);
  if (mCurrentStaff)
    mCurrentVoice->AddTail(new ARStaff(*mCurrentStaff));
  else
    mCurrentVoice->AddTail(new ARStaff(mainVoice->getVoiceNum()));
  // The cue starts where the main voice stands.
  mCurrentVoice->AddTail(new ARNote(mainVoice->getDuration()));
  auto* small = new ARNoteFormat();
  small->setSize(0.6f);
  small->setColor("blue");
  mCurrentVoice->AddTail(small);
}

void ARFactory::closeCue(ARCue* cue) {
  mCurrentVoice->ConvertToNormalForm();
  mCurrentMusic->AddTail(mCurrentVoice);
  mFinishedWork += ARMusic::ObjectWork(*mCurrentVoice);
  mCurrentVoice = mSavedVoice;
  mSavedVoice = nullptr;
  mCurrentCue = nullptr;
  TagParameterString const* const name = cue->getName();
  if (!name) return;
  auto* text = new ARText(NVstring(name->getValue()), 0);
  if (TagParameterFloat const* dy = cue->getDY())
    text->setDY(static_cast<TagParameterFloat*>(dy->getCopy()));
  if (TagParameterFloat const* dx = cue->getDX())
    text->setDX(static_cast<TagParameterFloat*>(dx->getCopy()));
  if (TagParameterString const* color = cue->getColor()) text->setColor(color->getValue());
  if (TagParameterFloat const* size = cue->getSize()) text->setSize(size->getValue(50));
  mCurrentVoice->AddTail(text);
}

void ARFactory::addTagParameter(char const* text) {
  workChanged();
  if (ar_cast<ARMTParameter>(newestTag())) mTagParameterList.AddTail(new TagParameterString(text));
}

void ARFactory::addTagParameter(int value) {
  workChanged();
  if (ar_cast<ARMTParameter>(newestTag())) mTagParameterList.AddTail(new TagParameterInt(value));
}

void ARFactory::addTagParameter(double value) {
  workChanged();
  if (ar_cast<ARMTParameter>(newestTag()))
    mTagParameterList.AddTail(new TagParameterFloat(static_cast<float>(value)));
}

void ARFactory::setUnit(char const* unit) {
  if (mTagParameterList.empty()) return;
  auto* tpf = ar_cast<TagParameterFloat>(mTagParameterList.GetTail());
  MELVARIN_ASSERT(tpf);
  tpf->setUnit(unit);
}

void ARFactory::setParameterName(char const* name) {
  if (mTagParameterList.empty()) return;
  mTagParameterList.GetTail()->mName = name ? name : "";
}

void ARFactory::addTag() {
  workChanged();
  MELVARIN_ASSERT(!mTags.empty());
  if (auto* tag = ar_cast<ARMTParameter>(newestTag())) tag->setTagParameterList(mTagParameterList);
  mTagParameterList.RemoveAll();
}

void ARFactory::tagRange() {
  MELVARIN_ASSERT(!mTags.empty());
  newestTag()->setRange(true);
}

void ARFactory::endTag() {
  workChanged();
  MELVARIN_ASSERT(!mCurrentEvent);
  MELVARIN_ASSERT(mCurrentVoice);
  MELVARIN_ASSERT(!mTags.empty());
  OpenTag const open = mTags.back();
  mTags.pop_back();
  ARMusicalTag* const tag = open.tag;

  bool kept = true;
  if (tag == mCurrentCue) {
    closeCue(mCurrentCue);
  } else {
    if (tag == mCurrentGrace) {
      if (!tag->getRange()) RidevUzuze("Grace-tag without range ignored!");
      mCurrentGrace = nullptr;
    } else if (tag == mCurrentTrill) {
      if (!tag->getRange()) RidevUzuze("trill-tag without range ignored!");
      mCurrentTrill = nullptr;
    }
    kept = closeRange(tag);
  }
  if (kept) {
    // Only a text that kept its range spans time; one whose range was refused stays a plain tag
    // of no duration, as the passes take every object with a duration for an event.
    if (auto* text = ar_cast<ARText>(tag); text && tag->getRange())
      text->setRelativeEndTimePosition(mCurrentVoice->getDuration());
    if (auto* repeatEnd = ar_cast<ARRepeatEnd>(tag); repeatEnd && tag->getRange())
      mCurrentVoice->AddTail(new ARRepeatEndRangeEnd(repeatEnd));
    if (open.stackOnly) delete tag;
  }
  MELVARIN_ASSERT(mTagParameterList.empty());
}

bool ARFactory::closeRange(ARMusicalTag* tag) {
  auto* const positionTag = ar_cast<ARPositionTag>(tag);
  int const setting = tag->getRangeSetting();
  // A range with no event in it is no range: an optional one leaves a plain tag, a required one
  // leaves nothing.
  if (tag->getRange() && positionTag && !positionTag->isEndTagClass() &&
      !positionTag->getPosition() && setting != ARMusicalTag::NORANGE) {
    tag->setRange(false);
    if (setting == ARMusicalTag::ONLYRANGE) {
      mCurrentVoice->RemovePositionTag(positionTag);
      delete tag;
      return false;
    }
  }

  if (tag->getRange() && setting == ARMusicalTag::NORANGE) {
    ZudidOvod("Tagrange ignored (1)");
    tag->setRange(false);
  } else if (!tag->getRange() && setting == ARMusicalTag::ONLYRANGE) {
    ZudidOvod("Tag has no range - ignored");
    if (positionTag) mCurrentVoice->RemovePositionTag(positionTag);
    delete tag;
    return false;
  } else if (tag->getRange() && tag->IsStateTag()) {
    closeStateTagRange(tag, positionTag);
  } else if (tag->getRange() && positionTag && !positionTag->isEndTagClass() &&
             positionTag->getPosition()) {
    auto* end = new ARDummyRangeEnd(nullptr);
    if (!mCurrentVoice->setPositionTagEndPos(tag->getID(), end, tag)) delete end;
    // Only a tag whose range is optional went into the event list as well; looking for any other
    // there would walk the whole voice for nothing at every range. Either way the range is no
    // longer open at the voice's end.
    if (setting == ARMusicalTag::RANGEDC)
      mCurrentVoice->removeTag(tag);
    else
      closeInVoiceState(positionTag);
  } else if (!tag->getRange() && positionTag && setting == ARMusicalTag::RANGEDC) {
    mCurrentVoice->RemovePositionTag(positionTag);
  }
  return true;
}

// A state tag written with a range holds for the range only: it stays where the range began as a
// plain tag, and the state it interrupted comes back after the range.
void ARFactory::closeStateTagRange(ARMusicalTag* tag, ARPositionTag* positionTag) {
  ARMusicalTag* endState = nullptr;
  if (auto* octava = ar_cast<AROctava>(tag))
    endState = octava->getEndTag();
  else if (auto* stem = ar_cast<ARTStem>(tag))
    endState = stem->getEndTag();
  else if (auto* head = ar_cast<ARTHead>(tag))
    endState = head->getEndTag();
  else if (auto* noteFormat = ar_cast<ARNoteFormat>(tag))
    endState = noteFormat->getEndTag();
  else if (auto* alter = ar_cast<ARAlter>(tag))
    endState = alter->getEndTag();
  else if (auto* restFormat = ar_cast<ARRestFormat>(tag))
    endState = restFormat->getEndTag();
  else if (auto* dotFormat = ar_cast<ARDotFormat>(tag))
    endState = dotFormat->getEndTag();
  if (!endState) {
    MELVARIN_ASSERT(false);
  }
  tag->setRange(false);
  if (positionTag) mCurrentVoice->RemovePositionTag(positionTag);
  // Inside the range of another tag of its class the state to come back to is that tag's, which
  // is still ranged; the state after the range is a plain tag all the same.
  endState->setRange(false);
  mCurrentVoice->AddTail(endState);
  rememberStateTag(endState);
}
