#include "GRArticulation.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <typeinfo>

#include "ARAccent.h"
#include "ARBreathMark.h"
#include "ARFermata.h"
#include "ARMarcato.h"
#include "ARStaccato.h"
#include "ARTenuto.h"
#include "GRBeam.h"
#include "GRGlobalStem.h"
#include "GRSingleNote.h"
#include "GRSingleRest.h"
#include "GRStaff.h"
#include "NEPointerList.h"
#include "src/common/assertion.h"
#include "voice_side.h"

namespace {
// Masks of the event's flags that an articulation stacks outside of.
constexpr int kStaccatoMask = 3;
constexpr int kOutsideStaffMask = 56;
constexpr int kAccentOrMarcatoMask = 24;
// The marks that stack between the head and a fermata on the same side.
constexpr int kInsideFermataMask = kStaccatoMask | GRArticulation::kTenuto | kAccentOrMarcatoMask;

// The height of the highest (lowest) note of the event's chord on its staff, or the event's own.
float OuterHeadY(GREvent const* event, bool highest) {
  float y = event->getPosition().y;
  GRGlobalStem const* shared = event->getGlobalStem();
  if (!shared) return y;
  auto const take = [&](GRNotationElement const* element) {
    auto const* note = dynamic_cast<GRSingleNote const*>(element);
    if (note && note->getGRStaff() == event->getGRStaff())
      y = highest ? std::min(y, note->getPosition().y) : std::max(y, note->getPosition().y);
  };
  take(shared->getFirstEl());
  if (NEPointerList const* chord = shared->getAssociations())
    for (void* pos = chord->GetHeadPosition(); pos;) take(chord->GetNext(pos));
  return y;
}

// The far end of the event's stem when it points that way (its chord's stem for a note of a
// chord).
std::optional<float> StemEnd(GREvent const* event, GDirection direction) {
  if (event->getStemDirection() != direction) return std::nullopt;
  if (GRGlobalStem const* shared = event->getGlobalStem()) return shared->getStemStartPos().y;
  auto const* note = dynamic_cast<GRSingleNote const*>(event);
  if (!note || !note->getStem()) return std::nullopt;
  return note->getStemStartPos().y;
}

// How far the beams over the event's stem reach over the stretch from left to right: their top
// for a stem up, their bottom for one down. A steep beam stands higher (lower) over the head than
// where it meets the stem, and a mark over the head keeps clear of it there.
std::optional<float> BeamEdge(GREvent const* event, GDirection direction, float left, float right) {
  GRStaff const* staff = event->getGRStaff();
  GRSystem const* system = staff ? staff->getGRSystem() : nullptr;
  if (!system) return std::nullopt;
  std::optional<float> edge;
  // A note holds a few tags; of a text that stacks hundreds on one, only so many are looked
  // through for each of its marks.
  constexpr int kTagsLookedAt = 32;
  // The beam holds one note of a chord, which need not be the one holding the mark.
  auto const look = [&](GRNotationElement const* element) {
    NEPointerList const* tags = element ? element->getAssociations() : nullptr;
    int looked = 0;
    for (void* pos = tags ? tags->GetHeadPosition() : nullptr; pos && looked < kTagsLookedAt;
         ++looked) {
      auto const* beam = dynamic_cast<GRBeam const*>(tags->GetNext(pos));
      float top = 0, bottom = 0;
      if (!beam || !beam->coverOver(system, left, right, &top, &bottom)) continue;
      float const reach = direction == dirUP ? top : bottom;
      edge = !edge ? reach : direction == dirUP ? std::min(*edge, reach) : std::max(*edge, reach);
    }
  };
  look(event);
  if (GRGlobalStem const* shared = event->getGlobalStem()) {
    look(shared->getFirstEl());
    if (NEPointerList const* chord = shared->getAssociations())
      for (void* pos = chord->GetHeadPosition(); pos;) look(chord->GetNext(pos));
  }
  return edge;
}

// Whether the score gave the event's voice stems down: a lower voice of its staff, whose marks
// that stand outside the staff go below it, clear of the upper voice.
bool InLowerVoice(GREvent const* event) {
  if (auto const* rest = dynamic_cast<GRSingleRest const*>(event))
    return rest->getVoiceStem() == dirDOWN;
  if (GRGlobalStem const* shared = event->getGlobalStem()) return shared->hasStemsGivenDown();
  return event->getStemDirSet() && event->getStemDirection() == dirDOWN;
}

}  // namespace

int GRArticulation::FlagOf(ARMusicalTag const& tag) {
  std::type_info const& kind = typeid(tag);
  if (kind == typeid(ARAccent)) return kAccent;
  if (kind == typeid(ARMarcato)) return kMarcato;
  if (kind == typeid(ARTenuto)) return kTenuto;
  if (kind == typeid(ARFermata)) return kFermata;
  if (kind == typeid(ARBreathMark)) return kBreathMark;
  return kStaccato;
}

GRArticulation::GRArticulation(ARMusicalTag* tag, float lineSpace, bool ownsAR)
    : GRTagARNotationElement(tag, lineSpace, ownsAR) {
  MELVARIN_ASSERT(tag);
  switch (FlagOf(*tag)) {
    case kAccent:
      Set(62, kAccent, 25, -25, 25);
      break;
    case kMarcato:
      setMarcatoDirection(true);
      break;
    case kTenuto:
      Set(45, kTenuto, 0, -6, 0);
      break;
    case kFermata:
      setFermataDirection(true);
      break;
    case kBreathMark:
      Set(44, kBreathMark, -49.875f, -66.5f, 0);
      break;
    default:
      Set(46, kStaccato, 0, -10, 0);
  }
}

void GRArticulation::Set(unsigned int symbol, int flag, float refY, float top, float bottom) {
  setArticulationSymbol(symbol);
  mArticulationFlag = static_cast<std::uint8_t>(flag);
  mRefpos = NVPoint{-mLeftSpace, refY};
  mBoundingBox.Set(-mLeftSpace, top, mRightSpace, bottom);
}

void GRArticulation::setArticulationSymbol(unsigned int symbol) {
  mSymbol = symbol;
  mLeftSpace = mRightSpace = 0.5f * GetSymbolExtent(symbol);
}

void GRArticulation::setMarcatoDirection(bool up) {
  if (up) {
    Set(94, kMarcato, 26.4f, -60, 20);
  } else {
    Set(118, kMarcato, 56, -24, 56);
  }
}

void GRArticulation::setFermataDirection(bool above) {
  if (above) {
    Set(85, kFermata, 0, -66.5f, 0);
  } else {
    Set(117, kFermata, 0, 0, 66.5f);
  }
}

void GRArticulation::tellPosition(GObject* caller, NVPoint const& point) {
  if (!caller || !caller->isGREventClass()) return;
  auto* event = static_cast<GREvent*>(caller);
  NVPoint q = point;
  mFollowsStem = false;
  float const lineSpace = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  // A note of a chord holds the chord's one mark: it takes its place from the chord's head away
  // from the stem.
  bool const stemUp =
      dynamic_cast<GRSingleNote const*>(event) && event->getStemDirection() == dirUP;
  bool const fermataBelow = mArticulationFlag == kFermata && InLowerVoice(event);
  GDirection const voiceSide =
      mArticulationFlag & (kFermata | kBreathMark) ? dirAUTO : VoiceSide(event);
  if (voiceSide == dirUP || voiceSide == dirDOWN) {
    placeOnVoiceSide(event, q, voiceSide == dirUP);
  } else {
    if (mArticulationFlag != kBreathMark)
      q.y = OuterHeadY(event, mArticulationFlag == kFermata ? !fermataBelow : !stemUp);
    switch (mArticulationFlag) {
      case kMarcato:
        setMarcatoDirection(!stemUp);
        placeAfterNote(event, q, !stemUp);
        break;
      case kFermata:
        setFermataDirection(!fermataBelow);
        // Where voices share the staff, the event's other marks stand at its stem's end on the
        // fermata's side: it stacks outside them there.
        if (event->hasArticulation(kInsideFermataMask) &&
            VoiceSide(event) == (fermataBelow ? dirDOWN : dirUP)) {
          placeOnVoiceSide(event, q, !fermataBelow);
        } else if (fermataBelow) {
          placeFermataBelow(event, q);
        } else {
          placeFermata(event, q, stemUp);
        }
        break;
      case kBreathMark:
        q.y = -0.5f * lineSpace;
        q.x += 75;
        break;
      default:
        placeAfterNote(event, q, !stemUp);
    }
  }
  setPosition(q);
  if (mArticulationFlag != kBreathMark) {
    event->addToBoundingBox(this);
    // An event placing all its marks rebuilds its box once, after the last.
    if (!event->placesArticulations()) event->updateBoundingBox();
  }
}

void GRArticulation::placeOnVoiceSide(GREvent const* event, NVPoint& q, bool above) {
  float const L = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  q.y = OuterHeadY(event, above);
  // The stacking starts from the end of a stem on the mark's side, as from a head beyond it, so
  // that the innermost mark keeps half a space from the stem's end (and the beam there).
  if (std::optional<float> const end = stemEnd(event, above ? dirUP : dirDOWN, q.x))
    q.y = above ? std::min(q.y, *end + 0.5f * L) : std::max(q.y, *end - 0.5f * L);
  if (mArticulationFlag == kMarcato) setMarcatoDirection(above);
  placeAfterNote(event, q, above);
}

std::optional<float> GRArticulation::stemEnd(GREvent const* event, GDirection direction, float x) {
  std::optional<float> end = StemEnd(event, direction);
  mFollowsStem = mFollowsStem || end.has_value();
  if (!end) return end;
  if (std::optional<float> const beam = BeamEdge(event, direction, x - mLeftSpace, x + mRightSpace))
    end = direction == dirUP ? std::min(*end, *beam) : std::max(*end, *beam);
  return end;
}

void GRArticulation::placeFermata(GREvent const* event, NVPoint& q, bool stemUp) {
  float const L = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  if (stemUp) {
    q.y = -0.5f * L;
  } else {
    placeAfterNote(event, q, true);
  }
  // Its dot keeps half a space above the end of a stem that points up.
  if (std::optional<float> const end = stemEnd(event, dirUP, q.x))
    q.y = std::min(q.y, *end - 0.5f * L);
}

void GRArticulation::placeFermataBelow(GREvent const* event, NVPoint& q) {
  float const L = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  placeAfterNote(event, q, false);
  // Turned over, its dot keeps half a space below the end of a stem that points down.
  if (std::optional<float> const end = stemEnd(event, dirDOWN, q.x))
    q.y = std::max(q.y, *end + 0.5f * L);
}

void GRArticulation::placeAfterNote(GREvent const* event, NVPoint& point, bool above) const {
  if (above) {
    placeAbove(event, point);
  } else {
    placeBelow(event, point);
  }
}

void GRArticulation::placeAbove(GREvent const* event, NVPoint& q) const {
  float const L = event->getGRStaff() ? event->getGRStaff()->getLineSpace() : 50;
  float const h = 0.5f * L;
  int const own = mArticulationFlag;
  q.y -= L;
  if (q.y >= 0 && positionIsOnStaffLine(q.y, L)) q.y -= h;
  // A staccato stays by its head: moved to the staff's outer space beside an accent, marcato or
  // fermata, its dot would stand where the dot of a neighbouring head in that space stands.
  if (own & kStaccatoMask) return;
  if (event->hasArticulation(kOutsideStaffMask) && q.y > h) q.y = h;
  if (event->hasArticulation(kStaccatoMask)) q.y -= (q.y > 0 ? L : h);
  if (own == kTenuto) return;
  if (event->hasArticulation(kTenuto)) q.y -= (q.y > 0 ? L : h);
  if (q.y > -L) {
    q.y = -L;
  } else {
    q.y -= h;
  }
  if (own & kAccentOrMarcatoMask) return;
  if (event->hasArticulation(kAccent)) {
    q.y -= L;
  } else if (event->hasArticulation(kMarcato)) {
    q.y -= L + h;
  }
}

void GRArticulation::placeBelow(GREvent const* event, NVPoint& q) const {
  GRStaff const* staff = event->getGRStaff();
  float const L = staff ? staff->getLineSpace() : 50;
  float const h = 0.5f * L;
  float const B = ((staff ? staff->getNumlines() : 5) - 1) * L;
  int const own = mArticulationFlag;
  q.y += L;
  if (B >= q.y && positionIsOnStaffLine(q.y, L)) q.y += h;
  if (own & kStaccatoMask) return;  // by its head, as above
  if (event->hasArticulation(kOutsideStaffMask) && B - h > q.y) q.y = B - h;
  if (event->hasArticulation(kStaccatoMask)) q.y += (q.y < B ? L : h);
  if (own == kTenuto) return;
  if (event->hasArticulation(kTenuto)) q.y += (q.y < B ? L : h);
  if (B + L > q.y) {
    q.y = B + L;
  } else {
    q.y += h;
  }
  if (own & kAccentOrMarcatoMask) return;
  if (event->hasArticulation(kAccent)) {
    q.y += L;
  } else if (event->hasArticulation(kMarcato)) {
    q.y += L + h;
  }
}
