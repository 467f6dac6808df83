#include "GRIntens.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "ARCast.h"
#include "ARIntens.h"
#include "GREvent.h"
#include "GRGlobalLocation.h"
#include "GRGlobalStem.h"
#include "GRStaff.h"
#include "NEPointerList.h"
#include "VGFont.h"
#include "engine_globals.h"
#include "graphic_globals.h"
#include "music_ink.h"
#include "src/common/assertion.h"

namespace {
struct IntensGlyph {
  char const* text;
  unsigned int glyph;
};

constexpr IntensGlyph kGlyphs[] = {
    {"p", 112}, {"pp", 132}, {"ppp", 240}, {"pppp", 241}, {"mp", 80},  {"mf", 70},
    {"f", 102}, {"ff", 131}, {"fff", 39},  {"ffff", 242}, {"sf", 243}, {"sfz", 244},
};
}  // namespace

GRIntens::GRIntens(GRStaff* staff, ARIntens* intens) : GRTagARNotationElement(intens, 50) {
  MELVARIN_ASSERT(intens);
  mNeedsSpring = 1;
  sconst = 100;
  mGrStaff = staff;
  for (IntensGlyph const& entry : kGlyphs) {
    if (!intens->getText().equal(entry.text)) continue;
    mSymbol = entry.glyph;
    break;
  }
  if (mSymbol) {
    float width = 0;
    float height = 0;
    if (gGlobalSettings.gDevice && gFontDefs.music.font)
      gFontDefs.music.font->GetExtent(static_cast<unsigned char>(mSymbol), &width, &height,
                                      gGlobalSettings.gDevice);
    // The letters reach two line spaces above their base line and less than one below it.
    float const space = staff ? staff->getLineSpace() : 50;
    mBoundingBox = NVRect{12.5f, -2 * space, width, 0.75f * space};
  }
  mLeftSpace = mRightSpace = 0;
  mPosition.y = staff ? 6 * staff->getLineSpace() : 300;
}

float GRIntens::roomAfter() const {
  if (!mSymbol) return 0;
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  return mBoundingBox.right + 0.5f * space;
}

NVRect GRIntens::letters() const {
  if (!mSymbol) return {};
  NVRect letters = mBoundingBox + mPosition;
  letters.left = mPosition.x;
  return letters;
}

void GRIntens::StandBelowEvents(GRStaff const& staff) {
  NEPointerList const& elements = staff.getElements();
  // The lowest point the events of each date reach, by the date's value (dates compare by it).
  std::unordered_map<double, float> lowestAt;
  auto reach = [&lowestAt](double date, GRNotationElement const* element) {
    if (!element->isGREventClass()) return;
    auto const* event = static_cast<GREvent const*>(element);
    float lowest = event->getPosition().y + event->getBoundingBox().bottom;
    if (GRGlobalStem const* stem = event->getGlobalStem())
      lowest = std::max(lowest, stem->getStemStartPos().y);
    auto [at, added] = lowestAt.try_emplace(date, lowest);
    if (!added) at->second = std::max(at->second, lowest);
  };
  std::vector<GRIntens*> marks;
  for (void* pos = elements.GetHeadPosition(); pos;) {
    GRNotationElement* element = elements.GetNext(pos);
    if (auto* intens = ar_cast<GRIntens>(element)) marks.push_back(intens);
    double const date = element->getRelativeTimePosition().getValue();
    // A date that equals no date (not a number) has no events under any mark.
    if (std::isnan(date)) continue;
    reach(date, element);
    // The notes of a chord come after its date, placed with it by their shared location.
    if (auto const* chord = dynamic_cast<GRGlobalLocation const*>(element)) {
      if (NEPointerList const* notes = chord->getAssociations())
        for (void* at = notes->GetHeadPosition(); at;) reach(date, notes->GetNext(at));
    }
  }
  for (GRIntens* mark : marks) {
    float const space = mark->mGrStaff ? mark->mGrStaff->getLineSpace() : 50;
    auto const at = lowestAt.find(mark->getRelativeTimePosition().getValue());
    Fraction const& date = mark->getRelativeTimePosition();
    float const lowest = std::max({at == lowestAt.end() ? 0 : at->second, 0.0f,
                                   staff.bracketsReachUnderBetween(date, date)});
    // Half a space between the notes and the tops of the letters.
    mark->mPosition.y = std::max(6 * space, lowest + 2.5f * space);
  }
}

void GRIntens::standBelow(MusicInk const& ink) {
  NVRect const at = letters();
  if (at.right <= at.left) return;
  float const lowest = ink.lowestUnder(at.left, at.right);
  if (!std::isfinite(lowest)) return;
  float const space = mGrStaff ? mGrStaff->getLineSpace() : 50;
  // Half a space between the music and the tops of the letters.
  mPosition.y = std::max(mPosition.y, lowest + 0.5f * space - mBoundingBox.top);
}
