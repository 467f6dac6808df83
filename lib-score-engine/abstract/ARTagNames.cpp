#include "ARTagNames.h"

#include <string_view>
#include <unordered_map>

#include "ARAcc.h"
#include "ARAccelerando.h"
#include "ARAccent.h"
#include "ARAccol.h"
#include "ARAlter.h"
#include "ARAuto.h"
#include "ARBar.h"
#include "ARBarFormat.h"
#include "ARBeam.h"
#include "ARBembel.h"
#include "ARBreathMark.h"
#include "ARClef.h"
#include "ARCoda.h"
#include "ARColor.h"
#include "ARComposer.h"
#include "ARCrescendo.h"
#include "ARCue.h"
#include "ARDaCapo.h"
#include "ARDaCapoAlFine.h"
#include "ARDaCoda.h"
#include "ARDalSegno.h"
#include "ARDalSegnoAlFine.h"
#include "ARDefineTag.h"
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
#include "ARNewSystem.h"
#include "ARNoteFormat.h"
#include "AROctava.h"
#include "ARPageFormat.h"
#include "ARRepeatBegin.h"
#include "ARRepeatEnd.h"
#include "ARRestFormat.h"
#include "ARRitardando.h"
#include "ARSegno.h"
#include "ARShareLocation.h"
#include "ARSlur.h"
#include "ARSpace.h"
#include "ARSpecial.h"
#include "ARStaccato.h"
#include "ARStaff.h"
#include "ARStaffFormat.h"
#include "ARSystemFormat.h"
#include "ARTDummy.h"
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
#include "MoreMusicalTags.h"

namespace {

using Previous = PreviousStateTags;

template <class Tag>
ARMusicalTag* Make(Previous const&) {
  return new Tag();
}

template <int Kind>
ARMusicalTag* MakeHead(Previous const& previous) {
  return new ARTHead(Kind, previous.head);
}

template <int Kind>
ARMusicalTag* MakeStem(Previous const& previous) {
  return new ARTStem(Kind, previous.stem);
}

template <ARTrill::TYPE Kind>
ARMusicalTag* MakeTrill(Previous const&) {
  return new ARTrill(Kind);
}

template <int State>
ARMusicalTag* MakeBeamState(Previous const&) {
  return new ARBeamState(State);
}

// A named range end carries the name it was written with.
template <char const* Text>
ARMusicalTag* MakeEnd(Previous const&) {
  return new ARDummyRangeEnd(Text);
}

constexpr char kAccelEnd[] = "\\accelEnd";
constexpr char kBeamEnd[] = "\\beamEnd";
constexpr char kCrescEnd[] = "\\crescEnd";
constexpr char kDimEnd[] = "\\dimEnd";
constexpr char kRitEnd[] = "\\ritEnd";
constexpr char kSlurEnd[] = "\\slurEnd";
constexpr char kStaccEnd[] = "\\staccEnd";
constexpr char kTieEnd[] = "\\tieEnd";
constexpr char kVoltaEnd[] = "\\voltaEnd";

ARMusicalTag* MakeAlter(Previous const& previous) {
  return new ARAlter(previous.alter);
}
ARMusicalTag* MakeDotFormat(Previous const& previous) {
  return new ARDotFormat(previous.dotFormat);
}
ARMusicalTag* MakeNoteFormat(Previous const& previous) {
  return new ARNoteFormat(previous.noteFormat);
}
ARMusicalTag* MakeOctava(Previous const& previous) {
  return new AROctava(previous.octava);
}
ARMusicalTag* MakeRestFormat(Previous const& previous) {
  return new ARRestFormat(previous.restFormat);
}
ARMusicalTag* MakeIntens(Previous const&) {
  return new ARIntens("", -1);
}
ARMusicalTag* MakeBembel(Previous const&) {
  return new ARBembel(0);
}
ARMusicalTag* MakeDrVesk(Previous const&) {
  return new ARDrVesk(0);
}
ARMusicalTag* MakeDrPild(Previous const&) {
  return new ARDrPild(0);
}
ARMusicalTag* MakeRepeatEnd(Previous const& previous) {
  return new ARRepeatEnd(previous.repeatBegin);
}

using enum TagEntry;

constexpr TagName kTagNames[] = {
    {"acc", Range, Make<ARAcc>},
    {"accel", Range, Make<ARAccelerando>},
    {"accelBegin", Begin, Make<ARAccelerando>},
    {"accelEnd", End, MakeEnd<kAccelEnd>},
    {"accent", Range, Make<ARAccent>},
    {"accol", Object, Make<ARAccol>},
    {"alter", Range, MakeAlter},
    {"auto", Object, Make<ARAuto>},
    {"set", Object, Make<ARAuto>},
    {"bar", Object, Make<ARBar>},
    {"barFormat", Object, Make<ARBarFormat>},
    {"beam", Range, Make<ARBeam>},
    {"bm", Range, Make<ARBeam>},
    {"b", Range, Make<ARBeam>},
    {"beamBegin", Begin, Make<ARBeam>},
    {"beamEnd", End, MakeEnd<kBeamEnd>},
    {"beamsAuto", Object, MakeBeamState<ARBeamState::AUTO>},
    {"beamsOff", Object, MakeBeamState<ARBeamState::OFF>},
    {"bembel", Object, MakeBembel},
    {"breathMark", Object, Make<ARBreathMark>},
    {"chord", Range, Make<ARUserChordTag>},
    {"splitChord", Range, Make<ARUserChordTag>},
    {"clef", Object, Make<ARClef>},
    {"coda", Object, Make<ARCoda>},
    {"color", Object, Make<ARColor>},
    {"colour", Object, Make<ARColor>},
    {"composer", Object, Make<ARComposer>},
    {"cresc", Range, Make<ARCrescendo>},
    {"crescBegin", Begin, Make<ARCrescendo>},
    {"crescEnd", End, MakeEnd<kCrescEnd>},
    {"cue", Cue, Make<ARCue>},
    {"daCapo", Object, Make<ARDaCapo>},
    {"daCapoAlFine", Object, Make<ARDaCapoAlFine>},
    {"daCoda", Object, Make<ARDaCoda>},
    {"dalSegno", Object, Make<ARDalSegno>},
    {"dalSegnoAlFine", Object, Make<ARDalSegnoAlFine>},
    {"decresc", Range, Make<ARDiminuendo>},
    {"dim", Range, Make<ARDiminuendo>},
    {"diminuendo", Range, Make<ARDiminuendo>},
    {"dimBegin", Begin, Make<ARDiminuendo>},
    {"dimEnd", End, MakeEnd<kDimEnd>},
    {"defineTag", Object, Make<ARDefineTag>},
    {"dispDur", Range, Make<ARDisplayDuration>},
    {"dotFormat", Range, MakeDotFormat},
    {"doubleBar", Object, Make<ARDoubleBar>},
    {"DrVesk", Object, MakeDrVesk},
    {"DrPild", Object, MakeDrPild},
    {"endBar", Object, Make<ARFinishBar>},
    {"fermata", Range, Make<ARFermata>},
    {"fine", Object, Make<ARFine>},
    {"fingering", Range, Make<ARFingering>},
    {"grace", Range, Make<ARGrace>},
    {"headsNormal", Range, MakeHead<ARTHead::NORMAL>},
    {"headsReverse", Range, MakeHead<ARTHead::REVERSE>},
    {"headsCenter", Range, MakeHead<ARTHead::CENTER>},
    {"headsRight", Range, MakeHead<ARTHead::RIGHT>},
    {"headsLeft", Range, MakeHead<ARTHead::LEFT>},
    {"i", Object, MakeIntens},
    {"intens", Object, MakeIntens},
    {"instr", Object, Make<ARInstrument>},
    {"key", Object, Make<ARKey>},
    {"label", Range, Make<ARLabel>},
    {"lyrics", Range, Make<ARLyrics>},
    {"marcato", Range, Make<ARMarcato>},
    {"mark", Object, Make<ARMark>},
    {"merge", Range, Make<ARMerge>},
    {"meter", Object, Make<ARMeter>},
    {"trill", Range, MakeTrill<ARTrill::TRILL>},
    {"turn", Range, MakeTrill<ARTrill::TURN>},
    {"mord", Range, MakeTrill<ARTrill::MORD>},
    {"newLine", Object, Make<ARNewSystem>},
    {"newSystem", Object, Make<ARNewSystem>},
    {"newPage", Object, Make<ARNewPage>},
    {"noteFormat", Range, MakeNoteFormat},
    {"oct", Range, MakeOctava},
    {"pageFormat", Object, Make<ARPageFormat>},
    {"port", None, Make<ARTDummy>},
    {"...", None, Make<ARTDummy>},
    {"repeatBegin", Object, Make<ARRepeatBegin>},
    {"repeatEnd", Object, MakeRepeatEnd},
    {"restFormat", Range, MakeRestFormat},
    {"rit", Range, Make<ARRitardando>},
    {"ritBegin", Begin, Make<ARRitardando>},
    {"ritEnd", End, MakeEnd<kRitEnd>},
    {"segno", Object, Make<ARSegno>},
    {"shareLocation", Range, Make<ARShareLocation>},
    {"slur", Range, Make<ARSlur>},
    {"sl", Range, Make<ARSlur>},
    {"slurBegin", Begin, Make<ARSlur>},
    {"slurEnd", End, MakeEnd<kSlurEnd>},
    {"space", Object, Make<ARSpace>},
    {"special", Object, Make<ARSpecial>},
    {"stacc", Range, Make<ARStaccato>},
    {"staccBegin", Begin, Make<ARStaccato>},
    {"staccEnd", End, MakeEnd<kStaccEnd>},
    {"staff", Object, Make<ARStaff>},
    {"staffFormat", Object, Make<ARStaffFormat>},
    {"staffOff", Object, Make<ARStaffOff>},
    {"staffOn", Object, Make<ARStaffOn>},
    {"stemsUp", Range, MakeStem<ARTStem::UP>},
    {"stemsDown", Range, MakeStem<ARTStem::DOWN>},
    {"stemsAuto", Range, MakeStem<ARTStem::AUTO>},
    {"stemsOff", Range, MakeStem<ARTStem::OFF>},
    {"systemFormat", Object, Make<ARSystemFormat>},
    {"t", Range, Make<ARText>},
    {"text", Range, Make<ARText>},
    {"tempo", Object, Make<ARTempo>},
    {"ten", Range, Make<ARTenuto>},
    {"tie", Range, Make<ARTie>},
    {"tieBegin", Begin, Make<ARTie>},
    {"tieEnd", End, MakeEnd<kTieEnd>},
    {"title", Object, Make<ARTitle>},
    {"trem", Range, Make<ARTremolo>},
    {"tuplet", Range, Make<ARTuplet>},
    {"units", Object, Make<ARUnits>},
    {"volta", Range, Make<ARVolta>},
    {"voltaBegin", Begin, Make<ARVolta>},
    {"voltaEnd", End, MakeEnd<kVoltaEnd>},
};

}  // namespace

TagName const* FindTagName(char const* name) {
  static auto const* const index = [] {
    auto* byName = new std::unordered_map<std::string_view, TagName const*>();
    for (TagName const& entry : kTagNames) byName->emplace(entry.name, &entry);
    return byName;
  }();
  if (!name) return nullptr;
  auto const found = index->find(name);
  return found == index->end() ? nullptr : found->second;
}

std::span<TagName const> AllTagNames() {
  return kTagNames;
}
