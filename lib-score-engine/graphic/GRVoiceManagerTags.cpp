// The voice manager's tags: the elements of tags without range, the state the manager keeps
// from state tags, and the spanners of range tags from where they start to where they end.

#include <typeinfo>

#include "ARABreak.h"
#include "ARAcc.h"
#include "ARAccelerando.h"
#include "ARAccent.h"
#include "ARAlter.h"
#include "ARAuto.h"
#include "ARBar.h"
#include "ARBarFormat.h"
#include "ARBeam.h"
#include "ARBembel.h"
#include "ARBreathMark.h"
#include "ARCast.h"
#include "ARChordComma.h"
#include "ARChordTag.h"
#include "ARClef.h"
#include "ARCoda.h"
#include "ARColor.h"
#include "ARComposer.h"
#include "ARCrescendo.h"
#include "ARDaCapo.h"
#include "ARDaCapoAlFine.h"
#include "ARDaCoda.h"
#include "ARDalSegno.h"
#include "ARDalSegnoAlFine.h"
#include "ARDiminuendo.h"
#include "ARDisplayDuration.h"
#include "ARDotFormat.h"
#include "ARDoubleBar.h"
#include "ARDrPild.h"
#include "ARDrVesk.h"
#include "ARFermata.h"
#include "ARFine.h"
#include "ARFingering.h"
#include "ARFinishBar.h"
#include "ARGrace.h"
#include "ARInstrument.h"
#include "ARIntens.h"
#include "ARKey.h"
#include "ARLabel.h"
#include "ARLyrics.h"
#include "ARMarcato.h"
#include "ARMark.h"
#include "ARMeter.h"
#include "ARMusicalVoiceState.h"
#include "ARNaturalKey.h"
#include "ARNoteFormat.h"
#include "AROctava.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "ARRestFormat.h"
#include "ARRitardando.h"
#include "ARSegno.h"
#include "ARShareLocation.h"
#include "ARShareStem.h"
#include "ARSlur.h"
#include "ARSpace.h"
#include "ARSpecial.h"
#include "ARStaccato.h"
#include "ARStaff.h"
#include "ARStaffFormat.h"
#include "ARTHead.h"
#include "ARTStem.h"
#include "ARTempo.h"
#include "ARTenuto.h"
#include "ARText.h"
#include "ARTie.h"
#include "ARTitle.h"
#include "ARTremolo.h"
#include "ARTrill.h"
#include "ARTuplet.h"
#include "ARUnits.h"
#include "ARUserChordTag.h"
#include "ARVolta.h"
#include "GRAccelerando.h"
#include "GRArticulation.h"
#include "GRAutoBeam.h"
#include "GRBar.h"
#include "GRBeam.h"
#include "GRBembel.h"
#include "GRBreathMark.h"
#include "GRChordTag.h"
#include "GRClef.h"
#include "GRCoda.h"
#include "GRCrescendo.h"
#include "GRDiminuendo.h"
#include "GRDrPild.h"
#include "GRDrVesk.h"
#include "GREvent.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRGlue.h"
#include "GRGrace.h"
#include "GRJump.h"
#include "GRKey.h"
#include "GRMeter.h"
#include "GRMusic.h"
#include "GRNewTuplet.h"
#include "GRPageText.h"
#include "GRPositionTag.h"
#include "GRRange.h"
#include "GRRepeatBegin.h"
#include "GRRepeatEnd.h"
#include "GRRitardando.h"
#include "GRSegno.h"
#include "GRSlur.h"
#include "GRSpace.h"
#include "GRSpecial.h"
#include "GRStaff.h"
#include "GRStaffManager.h"
#include "GRSystemSlice.h"
#include "GRSystemTag.h"
#include "GRTagARNotationElement.h"
#include "GRTempo.h"
#include "GRText.h"
#include "GRTie.h"
#include "GRTremolo.h"
#include "GRTrill.h"
#include "GRVoice.h"
#include "GRVoiceManager.h"
#include "GRVolta.h"
#include "MoreMusicalTags.h"
#include "NEPointerList.h"
#include "TagParameterFloat.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

namespace {

// The stiffness of a spring that keeps to the length its rods give it: a line loose enough to
// stretch it noticeably is set far looser than any the line breaker takes.
constexpr float kUnstretchedConstant = 10000;

template <class T>
bool is(ARMusicalObject const* object) {
  return IsExactly<T>(object);
}

// The page texts take their texts as engine strings; a text not written stays empty.
GRNotationElement* makePageText(ARText* tag, char const* name, char const* pageFormat) {
  NVstring const text(name ? name : "");
  NVstring const format(pageFormat ? pageFormat : "");
  NVstring const textFormat(tag->getTextformat() ? tag->getTextformat() : "");
  NVstring const font(tag->getFont() ? tag->getFont() : "");
  NVstring const attributes(tag->getFAttrib() ? tag->getFAttrib() : "");
  return new GRPageText(tag, nullptr, &text, &format, tag->getTextformat() ? &textFormat : nullptr,
                        tag->getFont() ? &font : nullptr, tag->getFSize(50),
                        tag->getFAttrib() ? &attributes : nullptr);
}

}  // namespace

void GRVoiceManager::applyBarFilling(GRBar* bar, bool wholeMeasure) {
  if (auto* event = ar_cast<GREvent>(mLastNonZeroEvent)) {
    GRNotationElement* left = mLastBar;
    if (!left) left = mCurGrStaff->getSecondGlue();
    Fraction const& start = event->getRelativeTimePosition();
    bool const fromLeft = start == Frac_0 || (left && start == left->getRelativeTimePosition());
    ARMeter const* meter = mVoiceState ? mVoiceState->getCurMeter() : nullptr;
    bool const fills = !wholeMeasure || (meter && event->getDuration() == meter->getMeterTime());
    if (event->getRelativeEndTimePosition() == bar->getRelativeTimePosition() &&
        event->getGRStaff() == bar->getGRStaff() && fromLeft && fills) {
      event->setFillsBar(true, left, bar);
      bar->addAssociation(event);
    }
  }
  mLastNonZeroEvent = nullptr;
  mLastBar = bar;
}

void GRVoiceManager::standClearOfBar(GRTagARNotationElement* sign, GRStaff const* staff,
                                     float air) {
  // Clefs and meters stand centred on their place, keys begin just before it: after a bar line
  // each begins where a key would, so that the bar line runs into none of them.
  float const space = staff->getLineSpace();
  sign->standInkFrom(GRKey::FirstSignLead(space), air * space);
}

std::shared_ptr<Bitmap const> GRVoiceManager::picture(char const* name) {
  return gCurMusic ? gCurMusic->pictures().Of(name) : ScorePictures().Of(name);
}

GRNotationElement* GRVoiceManager::parseTag(ARMusicalObject* object) {
  if (ar_cast<ARDummyRangeEnd>(object)) return nullptr;
  auto* tag = ar_cast<ARMusicalTag>(object);
  MELVARIN_ASSERT(tag);
  if (tag->IsStateTag() && parseStateTag(tag)) {
    mStaffMgr->setStaffStateTag(tag, mStaffNum);
    return nullptr;
  }

  GRStaff* staff = mCurGrStaff;
  GRNotationElement* element = nullptr;
  ARMusicalTag* stateTag = tag;  // what the staff's state takes: a carried clef or key may differ
  bool toVoice = true;
  bool const afterBar = mBarJustMade;
  mBarJustMade = false;
  auto asStaffTag = [&](GRNotationElement* made, int needsSpring) {
    made->setNeedsSpring(needsSpring);
    staff->AddTag(made);
    return made;
  };

  if (is<ARClef>(tag)) {
    auto* clef = static_cast<GRClef*>(staff->AddClef(static_cast<ARClef*>(tag)));
    // At a line's start the key follows the clef a line space away, even without signs, and the
    // second glue keeps another from the first note.
    if (mLineBegun) clef->keepRoomAfter(2 * staff->getLineSpace());
    if (afterBar) standClearOfBar(clef, staff, 0.5f);
    element = clef;
    stateTag = clef->getARClef();
  } else if (is<ARMeter>(tag)) {
    element = staff->AddMeter(static_cast<ARMeter*>(tag));
    // A meter keeps a space before the first note, as it does where it opens a line.
    if (afterBar) standClearOfBar(static_cast<GRMeter*>(element), staff, 1);
  } else if (is<ARKey>(tag) || is<ARNaturalKey>(tag)) {
    element = staff->AddKey(static_cast<ARKey*>(tag));
    if (element && !is<ARNaturalKey>(tag))
      if (auto* used = ar_cast<ARMusicalTag>(
              const_cast<ARMusicalObject*>(element->getAbstractRepresentation())))
        stateTag = used;
  } else if (is<ARSecondGlue>(tag)) {
    auto* glue = new GRGlue(staff, GRGlue::SECOND_GLUE);
    glue->setRelativeTimePosition(tag->getRelativeTimePosition());
    staff->AddSecondGlue(glue);
    element = glue;
    mLineBegun = true;
  } else if (is<ARBar>(tag)) {
    GRRepeatEnd* repeat = repeatEndJustBefore(staff, tag->getRelativeTimePosition());
    auto* bar = static_cast<GRBar*>(staff->AddBar(static_cast<ARBar*>(tag), mVoiceTime));
    applyBarFilling(bar);
    // A repeat sign written just before is the bar line: this one stands in its place, on its
    // spring, drawing nothing and taking no room.
    if (repeat) {
      bar->setError(1);
      bar->setLeftSpace(0);
      bar->setRightSpace(0);
      bar->setNeedsSpring(-1);
      mStaffMgr->AddGRSyncElement(bar, staff, -1, mGRVoice, repeat);
    }
    mBarJustMade = true;
    element = bar;
  } else if (is<ARDoubleBar>(tag) || is<ARFinishBar>(tag)) {
    // A measure that ends at a double or final bar is filled as one ending at a plain bar: its
    // whole-measure rest stands in its middle too.
    auto* bar = static_cast<GRBar*>(
        is<ARDoubleBar>(tag) ? staff->AddDoubleBar(static_cast<ARDoubleBar*>(tag), mVoiceTime)
                             : staff->AddFinishBar(static_cast<ARFinishBar*>(tag), mVoiceTime));
    applyBarFilling(bar, true);
    mBarJustMade = true;
    element = bar;
  } else if (is<ARRepeatBegin>(tag)) {
    element = staff->AddRepeatBegin(static_cast<ARRepeatBegin*>(tag));
    // The repeat sign has its own lines: a plain bar line written just before it goes.
    if (GRBar* bar = barJustBefore(staff, tag->getRelativeTimePosition())) bar->setError(1);
  } else if (is<ARRepeatEnd>(tag)) {
    GRBar* bar = barJustBefore(staff, tag->getRelativeTimePosition());
    element = staff->AddRepeatEnd(static_cast<ARRepeatEnd*>(tag));
    mBarJustMade = element != nullptr;
    // The repeat sign is the bar line: a plain one written just before it goes.
    if (element && bar) bar->setError(1);
    // A repeat end followed by a repeat begin stands closer to it.
    if (element && checkRepeatBeginNext())
      if (auto* grtag = ar_cast<GRTag>(element)) grtag->setSConst(100);
  } else if (is<ARText>(tag) || is<ARLabel>(tag) || is<ARMark>(tag)) {
    auto* text = new GRText(staff, static_cast<ARText*>(tag));
    // Its spring stands just before its event's and keeps its length however loose the line:
    // the text takes no room of the events', only its place in time.
    text->setSConst(kUnstretchedConstant);
    element = asStaffTag(text, 1);
  } else if (is<ARTempo>(tag)) {
    element = new GRTempo(staff, static_cast<ARTempo*>(tag));
    toVoice = false;
  } else if (is<ARIntens>(tag)) {
    element = staff->AddIntens(static_cast<ARIntens*>(tag));
  } else if (is<ARFermata>(tag)) {
    element = asStaffTag(new GRArticulation(tag, 50, false), 1);
  } else if (is<ARSpace>(tag)) {
    element = asStaffTag(new GRSpace(static_cast<ARSpace*>(tag), false), 0);
  } else if (is<ARBembel>(tag)) {
    element = staff->AddTag(new GRBembel(tag));
  } else if (is<ARBreathMark>(tag)) {
    element = staff->AddTag(new GRBreathMark(tag));
  } else if (is<ARCoda>(tag)) {
    element = staff->AddTag(new GRCoda(static_cast<ARCoda*>(tag)));
  } else if (is<ARSegno>(tag)) {
    element = staff->AddTag(new GRSegno(static_cast<ARSegno*>(tag)));
  } else if (is<ARDaCapo>(tag) || is<ARDaCapoAlFine>(tag) || is<ARDaCoda>(tag) ||
             is<ARDalSegno>(tag) || is<ARDalSegnoAlFine>(tag) || is<ARFine>(tag)) {
    // A jump mark ends at its place, over the end of the measure before it; one that opens a
    // measure (written after a bar, or at the line's start, before any note) starts there
    // instead, clear of what stands before the bar. A mark after an automatic bar was written
    // at the end of the measure: the bar went in front of it.
    bool const afterAutoBar = mLastBar && mLastBar->getARBar() && mLastBar->getARBar()->getIsAuto();
    bool const opensMeasure = mLastNonZeroEvent == nullptr && !afterAutoBar;
    element = staff->AddTag(new GRJump(static_cast<ARJump*>(tag), !opensMeasure));
  } else if (is<ARInstrument>(tag)) {
    element = staff->AddInstrument(static_cast<ARInstrument*>(tag));
  } else if (is<ARSpecial>(tag)) {
    element = staff->AddTag(new GRSpecial(static_cast<ARSpecial*>(tag), false));
  } else if (is<ARTitle>(tag)) {
    auto* title = static_cast<ARTitle*>(tag);
    element = makePageText(title, title->getName(), title->getPageFormat());
    toVoice = false;
  } else if (is<ARComposer>(tag)) {
    auto* composer = static_cast<ARComposer*>(tag);
    element = makePageText(composer, composer->getName(), composer->getPageFormat());
    toVoice = false;
  } else if (is<AROctava>(tag)) {
    element = staff->AddOctava(static_cast<AROctava*>(tag));
  } else if (is<ARChordComma>(tag)) {
    element = staff->AddTag(new GRTagARNotationElement(tag, 50));
  } else if (is<ARAlter>(tag)) {
    ZudidOvod("need to work on this, add ARAlter");
  } else if (is<ARDrVesk>(tag)) {
    element =
        staff->AddTag(new GRDrVesk(static_cast<ARDrVesk*>(tag), picture(GRDrVesk::kImageName)));
  } else if (is<ARDrPild>(tag)) {
    element =
        staff->AddTag(new GRDrPild(static_cast<ARDrPild*>(tag), picture(GRDrPild::kImageName)));
  }

  if (element && toVoice) addToVoice(element);
  mStaffMgr->setStaffStateTag(stateTag, mStaffNum);
  return element;
}

bool GRVoiceManager::parseStateTag(ARMusicalTag* tag) {
  if (auto* staff = ar_cast<ARStaff>(tag)) {
    if (switchToStaff(staff->getStaffNumber())) {
      if (TagParameterFloat const* dy = staff->getDY(); dy && dy->mState != TagParameter::NOTSET) {
        mCurGrStaff->getStaffState().distance = dy->getValue(50);
        mCurGrStaff->getStaffState().distanceset = true;
      }
    }
  } else if (auto* staffFormat = ar_cast<ARStaffFormat>(tag)) {
    mCurGrStaff->setStaffFormat(staffFormat);
  } else if (auto* barFormat = ar_cast<ARBarFormat>(tag)) {
    mStaffMgr->setBarFormat(barFormat, mCurGrStaff);
  } else if (auto* stem = ar_cast<ARTStem>(tag)) {
    mCurStemState = stem;
  } else if (auto* head = ar_cast<ARTHead>(tag)) {
    mCurHeadState = head;
  } else if (ar_cast<ARColor>(tag) || ar_cast<ARUnits>(tag)) {
  } else if (auto* dotFormat = ar_cast<ARDotFormat>(tag)) {
    mCurDotFormat = dotFormat;
  } else if (auto* noteFormat = ar_cast<ARNoteFormat>(tag)) {
    mCurNoteFormat = noteFormat;
  } else if (auto* restFormat = ar_cast<ARRestFormat>(tag)) {
    mCurRestFormat = restFormat;
  } else if (auto* abreak = ar_cast<ARABreak>(tag)) {
    mStaffMgr->setAutoBreak(abreak);
  } else if (auto* autoTag = ar_cast<ARAuto>(tag)) {
    mStaffMgr->setAutoTag(autoTag);
  } else {
    return false;
  }
  return true;
}

void GRVoiceManager::parsePositionTag(ARPositionTag* ptag) {
  auto* tag = ar_cast<ARMusicalTag>(ptag);
  if (!tag) return;
  GRStaff* staff = mCurGrStaff;
  GRNotationElement* spanner = nullptr;
  bool atHead = true;

  if (is<ARTrill>(tag)) {
    spanner = new GRTrill(staff, static_cast<ARTrill*>(tag));
  } else if (is<ARTremolo>(tag)) {
    spanner = new GRTremolo(staff, static_cast<ARTremolo*>(tag));
  } else if (is<ARRitardando>(tag)) {
    spanner = new GRRitardando(staff, static_cast<ARRitardando*>(tag));
  } else if (is<ARAccelerando>(tag)) {
    spanner = new GRAccelerando(staff, static_cast<ARAccelerando*>(tag));
  } else {
    atHead = false;
    if (is<ARVolta>(tag)) {
      spanner = new GRVolta(staff, static_cast<ARVolta*>(tag));
    } else if (is<ARCrescendo>(tag)) {
      spanner = new GRCrescendo(staff, static_cast<ARCrescendo*>(tag));
    } else if (is<ARDiminuendo>(tag)) {
      spanner = new GRDiminuendo(staff, static_cast<ARDiminuendo*>(tag));
    } else if (is<ARSlur>(tag)) {
      spanner = new GRSlur(staff, static_cast<ARSlur*>(tag));
    } else if (is<ARTie>(tag)) {
      spanner = new GRTie(staff, static_cast<ARTie*>(tag));
    } else if (is<ARBeam>(tag)) {
      spanner = new GRBeam(staff, static_cast<ARBeam*>(tag));
    } else if (is<ARText>(tag) || is<ARLabel>(tag) || is<ARFingering>(tag)) {
      spanner = new GRText(staff, static_cast<ARText*>(tag));
    } else if (is<ARTuplet>(tag)) {
      spanner = new GRNewTuplet(staff, static_cast<ARTuplet*>(tag));
    } else if (is<ARAutoBeam>(tag)) {
      auto* beam = new GRAutoBeam(staff, static_cast<ARAutoBeam*>(tag));
      // A beam that found nothing to join is dropped.
      if (beam->getError()) {
        delete beam;
        return;
      }
      spanner = beam;
    }
  }

  if (!spanner) {
    atHead = true;
    if (is<ARGrace>(tag)) {
      auto* grace = new GRGrace(staff, static_cast<ARGrace*>(tag));
      mCurGrace = grace;
      mGraceInChord = mCurGlobalLocation != nullptr;
      spanner = grace;
    } else if (is<ARAcc>(tag) || is<ARFermata>(tag) || is<ARStaccato>(tag) || is<ARAccent>(tag) ||
               is<ARMarcato>(tag) || is<ARTenuto>(tag)) {
      spanner = new GRRange(staff, tag);
    } else if (is<ARShareStem>(tag)) {
      spanner = openSharedStem(static_cast<ARShareStem*>(tag));
    } else if (is<ARShareLocation>(tag)) {
      auto* location = new GRGlobalLocation(staff, static_cast<ARShareLocation*>(tag));
      mCurGlobalLocation = location;
      spanner = location;
    } else if (is<ARUserChordTag>(tag)) {
      auto* chord = new GRChordTag(staff, static_cast<ARUserChordTag*>(tag));
      mCurChordTag = chord;
      if (GRSystemSlice* slice = staff->getGRSystemSlice())
        slice->addSystemTag(new GRSystemTag(chord));
      spanner = chord;
    } else if (is<ARChordTag>(tag) || is<ARBase>(tag) || is<ARDisplayDuration>(tag) ||
               is<ARLyrics>(tag)) {
      // Lyrics are drawn by the texts the lyrics pass cut from them.
      return;
    } else {
      RidevUzuze("Warning, PositionTag not handled");
      return;
    }
  }

  addGRTag(ar_cast<GRTag>(spanner), atHead);
  staff->AddTag(spanner);
  addToVoice(spanner);
}

// A shared stem of a chord whose label another voice at this time already shares: the other
// voice's stem serves both, and this one is kept undrawn.
GRNotationElement* GRVoiceManager::openSharedStem(ARShareStem* tag) {
  GRStaff* staff = mCurGrStaff;
  auto* stem = new GRGlobalStem(staff, tag, mCurStemState, mVoiceState->getCurDisplayDuration(),
                                mCurNoteFormat);
  GRGlobalStem* other = nullptr;
  if (mCurChordTag)
    other =
        mStaffMgr->getOtherGlobalStem(staff->getGRSystemSlice(), this, mCurChordTag->getLabel());
  if (other) {
    addGRTag(other, 1);
    mCurGlobalStem = other;
    stem->setError(1);
  } else {
    mCurGlobalStem = stem;
    if (mCurGrace) {
      stem->setSize(staff->getLineSpace() / 50 * 0.75f);
      // A grace chord points its stem up as a grace note does, unless the score says otherwise.
      if (!mCurStemState || mCurStemState->getStemState() == ARTStem::AUTO)
        stem->setStemDirection(dirUP);
    }
  }
  return stem;
}

void GRVoiceManager::checkStartPTags(void* position) {
  for (ARPositionTag* tag : mVoiceState->getAddedPositionTags()) {
    MELVARIN_ASSERT(tag->getPosition() == position);
    parsePositionTag(tag);
  }
}

void GRVoiceManager::addStartPTags() {
  for (ARPositionTag* tag : mVoiceState->getCurPositionTags()) parsePositionTag(tag);
}

void GRVoiceManager::checkEndPTags(void* position) {
  for (void* pos = mGrTags->GetHeadPosition(); pos;) {
    auto* ptag = ar_cast<GRPositionTag>(mGrTags->GetNext(pos));
    if (!ptag || ptag->getEndPosition() != position) continue;
    if (auto* grace = ar_cast<GRGrace>(ptag)) {
      if (mGraceInChord) {
        mChordGrace = grace;
      } else {
        if (!mToAddGrace) mToAddGrace = new KF_IPointerList<GRTag>(0);
        mToAddGrace->AddTail(grace);
      }
      mCurGrace = nullptr;
      mGraceInChord = false;
    } else if (auto* stem = ar_cast<GRGlobalStem>(ptag)) {
      if (stem != mCurGlobalStem && mCurGlobalStem) {
        mCurGlobalStem->RangeEnd(mCurGrStaff);
        mGrTags->RemoveElement(mCurGlobalStem);
      }
      mCurGlobalStem = nullptr;
    } else if (ar_cast<GRGlobalLocation>(ptag)) {
      mCurGlobalLocation = nullptr;
    } else if (ar_cast<GRChordTag>(ptag)) {
      mCurChordTag = nullptr;
    }
    ptag->RangeEnd(mCurGrStaff);
    // The chord is whole: a grace group written among its notes stands before it.
    if (auto* location = ar_cast<GRGlobalLocation>(ptag); location && mChordGrace) {
      if (auto* chord = ar_cast<GREvent>(location->getFirstEl())) mChordGrace->leanOnChord(chord);
      mChordGrace = nullptr;
    }
    mGrTags->RemoveElement(ptag);
    pos = mGrTags->GetHeadPosition();
  }
}

GRRepeatEnd* GRVoiceManager::repeatEndJustBefore(GRStaff const* staff, Fraction const& tp) {
  NEPointerList const& elements = staff->getElements();
  for (void* pos = elements.GetTailPosition(); pos;) {
    GRNotationElement* element = elements.GetPrev(pos);
    if (ar_cast<GRPositionTag>(element) || ar_cast<GRGlue>(element)) continue;
    auto* repeat = dynamic_cast<GRRepeatEnd*>(element);
    if (repeat && !repeat->getError() && repeat->getRelativeTimePosition() == tp) return repeat;
    return nullptr;
  }
  return nullptr;
}

GRBar* GRVoiceManager::barJustBefore(GRStaff* staff, Fraction const& tp) const {
  auto lastBar = [&tp](GRStaff const* on) -> GRBar* {
    NEPointerList const& elements = on->getElements();
    for (void* pos = elements.GetTailPosition(); pos;) {
      GRNotationElement* element = elements.GetPrev(pos);
      if (ar_cast<GRPositionTag>(element) || ar_cast<GRGlue>(element) ||
          ar_cast<GRRepeatBegin>(element))
        continue;
      if (typeid(*element) == typeid(GRBar) && element->getRelativeTimePosition() == tp) {
        // Another voice's repeat sign hid this one already: the voice's own bar line there
        // stands before it.
        if (static_cast<GRBar*>(element)->getError()) continue;
        return static_cast<GRBar*>(element);
      }
      return nullptr;
    }
    return nullptr;
  };
  if (GRBar* bar = lastBar(staff)) return bar;
  GRSystemSlice const* own = staff->getGRSystemSlice();
  GRSystemSlice const* closed = mStaffMgr->getFinishedSlices().GetTail();
  if (!own || !closed || closed == own) return nullptr;
  GRStaff const* before = closed->getStaff(own->getStaffNumber(staff));
  return before ? lastBar(before) : nullptr;
}
