#include "ARMusic.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <numeric>
#include <vector>

#include "ARAuto.h"
#include "ARCast.h"
#include "ARChordTag.h"
#include "ARMeter.h"
#include "ARMusicalVoice.h"
#include "ARMusicalVoiceState.h"
#include "ARRangeSpans.h"
#include "ARStaff.h"
#include "ARVoiceManager.h"
#include "ARVoicePassSupport.h"
#include "engine_globals.h"
#include "src/common/assertion.h"

ARMusic::ARMusic() : KF_IPointerList<ARMusicalVoice>(1), ARMusicalEvent(Fraction(0, 1)) {}

ARMusic::~ARMusic() {
  RemoveAll();
}

void ARMusic::AddTail(ARMusicalVoice* newMusicalVoice) {
  MELVARIN_ASSERT(newMusicalVoice);
  KF_IPointerList<ARMusicalVoice>::AddTail(newMusicalVoice);
}

int ARMusic::NextTagId() {
  const long id = mMaxTagId < 0 ? 0 : mMaxTagId;
  if (mMaxTagId < INT_MAX) mMaxTagId = id + 1;
  return id > INT_MAX ? INT_MAX : static_cast<int>(id);
}

long ARMusic::TakeTagIds(long count) {
  const long first = mMaxTagId < 0 ? 0 : mMaxTagId;
  if (count > 0 && mMaxTagId < INT_MAX) mMaxTagId = std::min<long>(first + count, INT_MAX);
  return first;
}

void ARMusic::adjustDuration(Fraction const& newDuration) {
  MELVARIN_ASSERT(newDuration >= duration);
  duration = newDuration;
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->adjustDuration(newDuration);
}

bool ARMusic::TakeAutoTie() {
  if (mAutoTiesLeft <= 0) mRanOutOfWork = true;
  if (mRanOutOfWork) return false;
  --mAutoTiesLeft;
  return true;
}

bool ARMusic::doAutoStuff() {
  gCurArMusic = this;
  Fraction longest;
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice* voice = GetNext(pos);
    if (voice->getDuration() > longest) longest = voice->getDuration();
  }
  if (longest > duration) adjustDuration(longest);
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->doAutoStuff1();
  doAutoBreaks();
  for (void* pos = GetHeadPosition(); pos && !mRanOutOfWork;) GetNext(pos)->doAutoStuff2();
  return !mRanOutOfWork;
}

namespace {

// What one cycle of the break pass learnt from the voices' answers.
struct BreakCycle {
  bool allFinished = true;
  bool allAtEvents = true;
  bool consumedBeforeTag = false;
  int breakKind = 0;
  bool breaksOff = false;
  bool hasTagDate = false;
  Fraction tagDate;  // smallest date answered with 1 or 4
  bool hasEventDate = false;
  Fraction eventDate;  // in event mode, smallest date answered with 1 to 5

  void Take(int code, Fraction const& date, bool tagMode) {
    if (code != ARVoiceManager::kFinished) allFinished = false;
    if (code != ARVoiceManager::kAtEvent) allAtEvents = false;
    if (code == ARVoiceManager::kConsumedBeforeTag) consumedBeforeTag = true;
    if (code == ARVoiceManager::kNewSystem && breakKind == 0) breakKind = 1;
    if (code == ARVoiceManager::kNewPage) breakKind = 2;
    if ((code == ARVoiceManager::kAheadAtTag || code == ARVoiceManager::kConsumedBeforeTag) &&
        (!hasTagDate || date < tagDate)) {
      tagDate = date;
      hasTagDate = true;
    }
    if (!tagMode && code >= 1 && code <= 5 && (!hasEventDate || date < eventDate)) {
      eventDate = date;
      hasEventDate = true;
    }
  }
};

using Managers = std::vector<std::unique_ptr<ARVoiceManager>>;

// The staff a voice's first staff tag names, 1 where it names none.
int FirstStaffOf(ARMusicalVoice& voice) {
  for (void* pos = voice.ObjectList::GetHeadPosition(); pos;) {
    ARMusicalObject const* object = voice.ObjectList::GetNext(pos);
    if (object->isEventClass()) return 1;
    if (auto const* staff = ar_cast<ARStaff const>(object)) return staff->getStaffNumber();
  }
  return 1;
}

float MeanBreakQuality(Managers const& managers, Fraction const& date) {
  float sum = 0;
  for (auto const& manager : managers) sum += manager->CheckBreakPosition(date);
  return sum / static_cast<float>(managers.size());
}

void InsertBreaks(Managers const& managers, Fraction const& date, int kind, float value) {
  for (auto const& manager : managers) manager->InsertBreak(date, kind, value);
}

}  // namespace

bool ARMusic::offerBreaksBetweenBeats(std::vector<std::pair<Fraction, Fraction>> const& squeezed) {
  if (mBreaksBetweenBeats) return false;
  mBreaksBetweenBeats = true;
  walkBreaks(true, squeezed);
  return true;
}

bool ARMusic::offerBreaksAcrossHeldNotes(
    std::vector<std::pair<Fraction, Fraction>> const& squeezed) {
  if (mHeldNoteRounds >= kHeldNoteRounds || squeezed.empty()) return false;
  ++mHeldNoteRounds;
  return walkBreaks(true, squeezed, true) > 0;
}

void ARMusic::doAutoBreaks() {
  walkBreaks(false);
}

int ARMusic::walkBreaks(bool betweenBeats,
                        std::vector<std::pair<Fraction, Fraction>> const& squeezed, bool notesToo) {
  Managers managers;
  for (void* pos = GetHeadPosition(); pos;)
    managers.push_back(std::make_unique<ARVoiceManager>(GetNext(pos), betweenBeats));
  if (managers.empty()) return 0;
  int offered = 0;
  // Offered again, breaks part the notes only of a voice that has its staff to itself (as its
  // first staff tag names it): among another voice's heads and signs, on lines of a beat or two,
  // the tie pieces into parts of a note parted twice too often cannot reach their heads. Rests
  // part as before.
  std::vector<bool> partable(managers.size(), true);
  if (notesToo && mHeldNoteRounds > 1) {
    std::vector<int> staves;
    for (void* pos = GetHeadPosition(); pos;) staves.push_back(FirstStaffOf(*GetNext(pos)));
    for (size_t i = 0; i < staves.size(); ++i)
      partable[i] = std::count(staves.begin(), staves.end(), staves[i]) == 1;
  }

  Fraction date;
  bool tagMode = true;
  // Whether breaks were switched off when the walk reached the date: a stretch whose breaks are
  // switched off at its first date may still break before it.
  bool offOnArrival = false;
  for (;;) {
    BreakCycle cycle;
    for (auto const& manager : managers) {
      Fraction own = date;
      cycle.Take(manager->Iterate(own, tagMode ? 1 : 0), own, tagMode);
      ARAuto const* settings = manager->getCurAuto();
      if (settings && settings->getSystemBreak() == ARAuto::OFF) cycle.breaksOff = true;
    }
    if (cycle.allFinished) break;

    auto offerPossibleBreak = [&] {
      if (betweenBeats) {
        // In a line that was squeezed, a voice resting across the beat does not keep the others
        // from breaking there: the break parts its rest in two. Elsewhere the rests stay whole.
        const bool inSqueezed =
            std::any_of(squeezed.begin(), squeezed.end(),
                        [&](auto const& line) { return line.first < date && date < line.second; });
        auto begins = [&](auto const& manager) { return manager->BeginsBetweenBeats(date); };
        bool allBegin = true;
        for (size_t i = 0; i < managers.size() && allBegin; ++i)
          allBegin = begins(managers[i]) ||
                     (inSqueezed && managers[i]->HoldsAcrossBeat(date, notesToo && partable[i]));
        const bool anyBegins = std::any_of(managers.begin(), managers.end(), begins);
        if (anyBegins && allBegin && !(cycle.breaksOff && offOnArrival)) {
          InsertBreaks(managers, date, 3, ARVoiceManager::kBetweenBeatsBreakWorth);
          ++offered;
        }
        return;
      }
      const float quality = MeanBreakQuality(managers, date);
      if (quality >= 0 && !(cycle.breaksOff && offOnArrival)) {
        InsertBreaks(managers, date, 3, quality);
        ++offered;
      }
    };
    if (tagMode) {
      if (cycle.allAtEvents) {
        tagMode = false;
      } else if (cycle.consumedBeforeTag) {
        // Some voice still has tags at this date.
      } else if (cycle.breakKind != 0) {
        InsertBreaks(managers, date, cycle.breakKind, 0);
      } else {
        offerPossibleBreak();
        tagMode = false;
      }
      continue;
    }
    if (!cycle.hasEventDate) {
      // Only finished voices answered; the others wait for tag mode.
      tagMode = true;
      continue;
    }
    date = cycle.eventDate;
    offOnArrival = cycle.breaksOff;
    if (cycle.hasTagDate && date == cycle.tagDate)
      tagMode = true;
    else
      offerPossibleBreak();
  }
  return offered;
}

void ARMusic::removeAutoTags() {
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->removeAutoTags();
}

void ARMusic::MarkVoice(int voiceNum, float date, float length) {
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice* voice = GetNext(pos);
    if (voice->getVoiceNum() != voiceNum) continue;
    voice->MarkVoice(date, length);
    return;
  }
}

void ARMusic::MarkVoice(int voiceNum, int dateNum, int dateDenom, int lengthNum, int lengthDenom) {
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice* voice = GetNext(pos);
    if (voice->getVoiceNum() != voiceNum) continue;
    voice->MarkVoice(dateNum, dateDenom, lengthNum, lengthDenom);
    return;
  }
}

void ARMusic::resetGRRepresentation() {
  ARMusicalEvent::resetGRRepresentation();
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->resetGRRepresentation();
}

double ARMusic::ObjectWork(ARMusicalVoice const& voice) {
  auto const* ranges = voice.getPositionTagList();
  return kWorkPerVoice + kWorkPerObject * voice.GetCount() +
         kWorkPerRange * (ranges ? ranges->GetCount() : 0) + voice.getRangeSearchSteps();
}

namespace {

// The finest grid of dates the note values and meters of the music ask for: every date is a sum
// of note values and measures from a meter on, so it is a multiple of one over the least common
// multiple of their denominators.
class DateGrid {
 public:
  static constexpr std::int64_t kLargest = INT_MAX;

  // False once the grid is finer than an int holds.
  bool Refine(Fraction const& value) {
    std::int64_t const numerator = std::abs(std::int64_t{value.getNumerator()});
    std::int64_t denominator = std::abs(std::int64_t{value.getDenominator()});
    if (numerator == 0 || denominator == 0) return true;
    // Most values are on the grid already: their reduced denominator divides it.
    if (mGrid % denominator == 0) return true;
    denominator /= std::gcd(numerator, denominator);
    mGrid = mGrid / std::gcd(mGrid, denominator) * denominator;
    return mGrid <= kLargest;
  }
  std::int64_t grid() const { return mGrid; }

 private:
  std::int64_t mGrid = 1;
};

}  // namespace

bool ARMusic::FitsOneParse() const {
  // Every object may be cut into a few dozen drawable parts, and every range walked with the
  // objects it covers; every whole note of time may hold a cut piece, a bar line and a break;
  // every measure a cut piece, a tie, a bar line and a break, and a break in every voice.
  double longest = 0;
  double longestSpan = 0;
  for (void* pos = GetHeadPosition(); pos;) {
    const double length = GetNext(pos)->getDuration().getValue();
    longest = std::max(longest, length);
    longestSpan = std::max(longestSpan, std::fabs(length));
  }
  const double voices = GetCount();
  double work = 0;
  DateGrid dates;
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice const* voice = GetNext(pos);
    ARRangeSpanMeter spans(*voice);
    double measures = 0;
    // The passes cut every event at each bar line of the meter in force and, where no meter
    // cuts it finer, into pieces no longer than the longest value drawn alone (a whole or a
    // breve), counted here whole by whole. A long note makes as many pieces, each with its tie,
    // wherever it stands in the voice.
    double piecesPerWhole = 1;
    double pieces = 0;
    for (void* at = voice->GetHeadPosition(); at;) {
      void const* node = at;
      ARMusicalObject const* object = voice->ObjectList::GetNext(at);
      if (object->isEventClass()) {
        if (!dates.Refine(object->getDuration())) return false;
        if (spans.wanted()) spans.Add(node, false, true);
        pieces += std::max(0.0, object->getDuration().getValue()) * piecesPerWhole;
        continue;
      }
      const std::uint8_t kind = VoicePass::KindOf(object);
      if (spans.wanted()) spans.Add(node, kind & VoicePass::kKindBreak, false);
      if (!(kind & VoicePass::kKindMeter)) continue;
      auto const* meter = ar_cast<ARMeter const>(object);
      if (!dates.Refine(meter->getMeterTime())) return false;
      piecesPerWhole = 1;
      if (meter->getNumerator() <= 0 || meter->getDenominator() <= 0) continue;
      const double perWhole = static_cast<double>(meter->getDenominator()) / meter->getNumerator();
      piecesPerWhole = std::max(1.0, perWhole);
      if (longest * perWhole > measures) measures = longest * perWhole;
    }
    // The rest that brings the voice to the length of the longest is cut the same way.
    pieces += std::max(0.0, longest - voice->getDuration().getValue()) * piecesPerWhole;
    measures = std::max(measures, pieces);
    // A chord cut in two is copied whole, with its ranges and a tie per note: a whole note of
    // time may hold a copy of the largest chord, every object of which counts like one written.
    double largestChord = 0;
    if (auto const* ranges = voice->getPositionTagList()) {
      for (void* at = ranges->GetHeadPosition(); at;) {
        ARPositionTag const* chord = ranges->GetNext(at);
        if (chord->isEndMarker() || !IsExactly<ARChordTag>(chord)) continue;
        double size = 1;
        for (void* node = chord->getPosition(); node && node != chord->getEndPosition(); ++size)
          voice->ObjectList::GetNext(node);
        if (size > largestChord) largestChord = size;
      }
    }
    work += ObjectWork(*voice) + kWorkPerRangeMember * spans.Spans().objects +
            (16.0 + kWorkPerObject * largestChord) * longest +
            (kWorkPerMeasure + voices) * measures;
  }
  // Room to spare for the sum of a date and a note value.
  return !(work > sMaxPassWork) && longestSpan * static_cast<double>(dates.grid()) <=
                                       static_cast<double>(DateGrid::kLargest / 2);
}

void ARMusic::output(std::ostream& os, bool withAuto) const {
  os << " { ";
  bool first = true;
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice const* voice = GetNext(pos);
    if (!first) os << " , ";
    first = false;
    voice->output(os, withAuto);
  }
  os << " } ";
}

std::ostream& ARMusic::operator<<(std::ostream& os) const {
  output(os, true);
  return os;
}

void ARMusic::print() const {
  output(std::cout, true);
}
