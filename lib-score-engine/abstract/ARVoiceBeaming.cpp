// Automatic beams: the events of each beat joined under one beam.
#include "ARBar.h"
#include "ARBeam.h"
#include "ARCast.h"
#include "ARDisplayDuration.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"

namespace {

// A beam group fills one beat of the meter, or the whole measure when that is shorter. A meter
// of no kind beams by quarters.
Fraction BeatOf(ARMeter const* meter) {
  const int numerator = meter->getNumerator();
  const int denominator = meter->getDenominator();
  if (meter->getMeterType() == ARMeter::NONE || numerator <= 0) return Frac_1_4;
  Fraction beat;
  if (denominator == 2 || denominator == 4)
    beat = Frac_1_4;
  else if (denominator == 8)
    beat = Frac_3_8;
  else if (denominator > 0)
    beat = Fraction(1, denominator);
  else
    return Frac_1_4;
  const Fraction measure(numerator, denominator);
  return measure < beat ? measure : beat;
}

bool OnBeat(Fraction const& sinceBar, Fraction const& beat) {
  if (sinceBar == Frac_0) return true;
  Fraction beats = sinceBar * Fraction(beat.getDenominator(), beat.getNumerator());
  beats.normalize();
  return beats.getDenominator() == 1;
}

}  // namespace

ARAuto const* ARMusicalVoice::doAutoBeaming() {
  ARMusicalVoiceState state;
  Fraction beat = Frac_1_4;
  Fraction groupStart;
  Fraction lastBar;
  bool beamingOn = true;
  ARBeamState const* lastBeamState = nullptr;
  ARMeter const* lastMeter = nullptr;
  void* begin = nullptr;
  void* end = nullptr;
  void* beginCursor = nullptr;
  void* endCursor = nullptr;
  int writtenBeams = 0;

  auto countBeams = [](ARMusicalVoiceState::PositionTags const& tags) {
    int count = 0;
    for (ARPositionTag* tag : tags)
      if (ARMusicalVoiceState::RangeKindOf(tag) & ARMusicalVoiceState::kRangeBeam) ++count;
    return count;
  };

  void* pos = StartForwardWalk(state);
  while (pos) {
    void* p = pos;
    ARMusicalObject const* object = GetAt(p);
    if (state.curbeamstate != lastBeamState) {
      lastBeamState = state.curbeamstate;
      const bool on = !lastBeamState || lastBeamState->getBeamState() == ARBeamState::AUTO;
      if (on != beamingOn) begin = end = nullptr;
      beamingOn = on;
    }
    if (state.curmeter != lastMeter) {
      lastMeter = state.curmeter;
      beat = BeatOf(lastMeter);
      begin = end = nullptr;
    }
    writtenBeams += countBeams(state.addedpositiontags) - countBeams(state.removedpositiontags);
    if (writtenBeams < 0) writtenBeams = 0;
    if (writtenBeams > 0) begin = end = nullptr;

    if (writtenBeams == 0 && beamingOn && object->isEventClass() && !state.curgrace) {
      const Fraction t = object->getRelativeTimePosition();
      ARDisplayDuration const* shown = state.curdispdur;
      const bool startsGroup =
          !(shown && shown->getDisplayDuration() == Frac_0) && OnBeat(t - lastBar, beat);
      auto restartHere = [&] {
        begin = startsGroup ? p : nullptr;
        beginCursor = state.ptagpos;
        groupStart = t;
      };
      bool restart = false;
      if (!begin) {
        if (startsGroup)
          restartHere();
        else
          restart = true;
        if (begin) {
          const Fraction length = object->getRelativeEndTimePosition() - groupStart;
          if (length == beat) {
            end = p;
            endCursor = state.ptagpos;
          }
        }
      } else if (!end) {
        const Fraction length = object->getRelativeEndTimePosition() - groupStart;
        if (length == beat) {
          end = p;
          endCursor = state.ptagpos;
        } else if (length > beat) {
          end = nullptr;
          restart = true;
        }
      }
      if (restart) restartHere();
    } else {
      if (ar_cast<ARBar const>(object)) {
        lastBar = object->getRelativeTimePosition();
        begin = end = nullptr;
      }
      if (state.curgrace) begin = end = nullptr;
    }

    if (begin && end) {
      if (begin != end) {
        PositionTagList& list = PositionTags();
        auto* beam = new ARAutoBeam;
        beam->setIsAuto(true);
        beam->setStartPosition(begin);
        beam->setRelativeTimePosition(groupStart);
        auto* beamEnd = new ARAutoBeamEnd;
        beamEnd->setIsAuto(true);
        beamEnd->setPosition(end);
        beam->setCorrespondence(beamEnd);
        beamEnd->setCorrespondence(beam);
        VoicePass::InsertBefore(list, beginCursor, beam);
        VoicePass::InsertBefore(list, endCursor, beamEnd);
      }
      begin = end = nullptr;
    }
    GetNext(pos, state);
  }
  return state.getCurAuto();
}
