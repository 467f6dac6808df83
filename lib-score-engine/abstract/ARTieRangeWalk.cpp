#include "ARTieRangeWalk.h"

#include <algorithm>
#include <climits>
#include <tuple>

#include "ARAuto.h"
#include "ARCast.h"
#include "ARMusic.h"
#include "ARNote.h"
#include "ARTie.h"
#include "ARVoicePassSupport.h"
#include "MoreMusicalTags.h"
#include "TagParameterList.h"
#include "engine_globals.h"
#include "engine_work.h"

namespace {

ARNote* NoteAt(ARMusicalObject* object) {
  return ar_cast<ARNote>(object);
}

bool Matches(ARMusicalObject* object, ARNote const* note) {
  auto* candidate = ar_cast<ARNote>(object);
  return candidate && note && candidate->CompareNameOctavePitch(*note);
}

// Notes that match share these; a key is checked with Matches.
std::uint64_t PitchKey(ARNote const* note) {
  auto const field = [](int value) { return static_cast<std::uint64_t>(value) & 0xfffff; };
  return field(note->getPitch()) << 40 | field(note->getOctave()) << 20 |
         field(note->getAccidentals());
}

// Counts of ranges left so far below a range's number, as the walk's steps go by.
class LeftBelow {
 public:
  explicit LeftBelow(long ranges) : mCounts(static_cast<std::size_t>(ranges) + 1, 0) {}
  void add(long range) {
    for (auto i = static_cast<std::size_t>(range) + 1; i < mCounts.size(); i += i & (~i + 1))
      ++mCounts[i];
  }
  long below(long range) const {
    long count = 0;
    for (auto i = static_cast<std::size_t>(range); i > 0; i -= i & (~i + 1)) count += mCounts[i];
    return count;
  }

 private:
  std::vector<long> mCounts;
};

int IdOf(long firstId, long rank) {
  if (!gCurArMusic) return 0;
  return static_cast<int>(std::min<long>(firstId + rank, INT_MAX));
}

}  // namespace

void ARTieRangeWalk::enterRange(ARTie* range, ARChordTag* chord, Place const& place) {
  if (place.step != mEnterStep) {
    mEnterStep = place.step;
    mFirstNew = static_cast<long>(mMet.size());
  }
  ARNote* first = NoteAt(place.object);
  const bool onPlaceholder = chord && first && VoicePass::IsEmptyNote(first);
  const auto number = static_cast<long>(mMet.size());
  mMet.push_back({range, onPlaceholder, mMetNotOnPlaceholder});
  mOpen.emplace(number, OpenRange{range, chord, first, onPlaceholder});
  if (onPlaceholder) {
    mOpenOnPlaceholder.insert(number);
  } else {
    ++mOpenNotOnPlaceholder;
    ++mMetNotOnPlaceholder;
  }
  mNumbers[range].push_back(number);
}

void ARTieRangeWalk::leaveRange(ARTie* range, long step) {
  auto found = mNumbers.find(range);
  if (found == mNumbers.end()) return;
  for (long number : found->second) {
    auto open = mOpen.find(number);
    if (open == mOpen.end()) continue;
    if (open->second.onPlaceholder)
      mOpenOnPlaceholder.erase(number);
    else
      --mOpenNotOnPlaceholder;
    mOpen.erase(open);
    mLeft.emplace_back(step, number);
  }
  found->second.clear();
}

void ARTieRangeWalk::atEvent(Place const& place, ARChordTag* chordNow, ARChordTag* previousChord) {
  if (mRanOutOfWork) return;
  if (place.step != mEnterStep) mFirstNew = static_cast<long>(mMet.size());
  // The ties started here are not looked at here, so the earlier ones go first.
  settleStarts(place, chordNow, previousChord);
  startTies(place, chordNow);
}

// Outside a chord every earlier tie closes on a matching note or is dropped. In a chord, ties of
// the same chord wait, those of the chord before it close on a matching note and wait otherwise
// (the chord's notes may still come), and those of any other chord close or are dropped.
void ARTieRangeWalk::settleStarts(Place const& place, ARChordTag* chordNow,
                                  ARChordTag* previousChord) {
  for (auto it = mStartsByChord.begin(); it != mStartsByChord.end();) {
    ++EngineWork::tListSteps;
    if (chordNow && it->first == chordNow) {
      ++it;
      continue;
    }
    if (chordNow && it->first == previousChord) {
      closeMatching(it->second, place);
      ++it;
      continue;
    }
    for (std::size_t start : it->second.all) {
      ++EngineWork::tListSteps;
      Start& tie = mStarts[start];
      if (tie.settled) continue;
      tie.settled = true;
      if (Matches(place.object, tie.note)) close(start, place);
    }
    it = mStartsByChord.erase(it);
  }
}

void ARTieRangeWalk::closeMatching(ChordStarts& starts, Place const& place) {
  ARNote* note = NoteAt(place.object);
  if (!note) return;
  auto found = starts.byPitch.find(PitchKey(note));
  if (found == starts.byPitch.end()) return;
  std::vector<std::size_t>& waiting = found->second;
  std::erase_if(waiting, [&](std::size_t start) {
    ++EngineWork::tListSteps;
    Start& tie = mStarts[start];
    if (tie.settled) return true;
    if (!Matches(place.object, tie.note)) return false;
    tie.settled = true;
    close(start, place);
    return true;
  });
  if (waiting.empty()) starts.byPitch.erase(found);
}

// Each tie of the start whose range is still open closes here.
void ARTieRangeWalk::close(std::size_t start, Place const& place) {
  Start const& tie = mStarts[start];
  auto keep = [&](long range, long rank) {
    if (mRanOutOfWork) return;
    if (gCurArMusic && !gCurArMusic->TakeAutoTie()) {
      mRanOutOfWork = true;
      return;
    }
    mClosed.push_back({start, range, rank, place});
  };
  if (tie.before != Start::Before::None) {
    for (auto it = mOpen.begin(); it != mOpen.end() && it->first < tie.firstNew && !mRanOutOfWork;
         ++it) {
      ++EngineWork::tListSteps;
      if (tie.before == Start::Before::All || !it->second.onPlaceholder) keep(it->first, -1);
    }
  }
  for (std::size_t i = 0; i < tie.listed.size() && !mRanOutOfWork; ++i) {
    ++EngineWork::tListSteps;
    if (mOpen.count(tie.listed[i])) keep(tie.listed[i], tie.beforeCount + static_cast<long>(i));
  }
}

// Of the ranges open before this event, a note with a name starts a tie in each, except, outside
// a chord, in those begun on a chord's placeholder, which only start one at a note like their
// first (an unnamed one); ranges entered here decide one by one.
void ARTieRangeWalk::startTies(Place const& place, ARChordTag* chordNow) {
  Start start{place, NoteAt(place.object), chordNow, 0, mFirstNew,
              0,     Start::Before::None,  false,    {}};
  const long entered = static_cast<long>(mMet.size()) - mFirstNew;
  if (VoicePass::IsNamedNote(place.object)) {
    if (chordNow) {
      start.before = Start::Before::All;
      start.beforeCount = static_cast<long>(mOpen.size()) - entered;
    } else {
      start.before = Start::Before::NotOnPlaceholder;
      long enteredNotOnPlaceholder = 0;
      for (auto it = mOpen.lower_bound(mFirstNew); it != mOpen.end(); ++it)
        enteredNotOnPlaceholder += it->second.onPlaceholder ? 0 : 1;
      start.beforeCount = mOpenNotOnPlaceholder - enteredNotOnPlaceholder;
    }
  } else if (!chordNow) {
    for (long number : mOpenOnPlaceholder) {
      if (number >= mFirstNew) break;
      ++EngineWork::tListSteps;
      if (Matches(place.object, mOpen.at(number).first)) start.listed.push_back(number);
    }
  }
  for (auto it = mOpen.lower_bound(mFirstNew); it != mOpen.end(); ++it) {
    ++EngineWork::tListSteps;
    if (startsAtNewRange(it->second, place, chordNow)) start.listed.push_back(it->first);
  }
  const long count = start.beforeCount + static_cast<long>(start.listed.size());
  if (count == 0) return;
  start.firstId = gCurArMusic ? gCurArMusic->TakeTagIds(count) : 0;
  const std::size_t index = mStarts.size();
  ChordStarts& sameChord = mStartsByChord[chordNow];
  sameChord.all.push_back(index);
  if (start.note) sameChord.byPitch[PitchKey(start.note)].push_back(index);
  mStarts.push_back(std::move(start));
}

bool ARTieRangeWalk::startsAtNewRange(OpenRange const& range, Place const& place,
                                      ARChordTag* chordNow) const {
  const bool startsHere = range.range->getPosition() == place.pos;
  if (!range.onPlaceholder) return startsHere || VoicePass::IsNamedNote(place.object);
  if (!chordNow) return Matches(place.object, range.first);
  if (!startsHere) return VoicePass::IsNamedNote(place.object);
  return range.chord != chordNow && Matches(place.object, range.first);
}

// A closed tie from a range that was open before its start is ranked among the ranges open at
// the start: those numbered below it (of the kind the start took), less those left before the
// start.
void ARTieRangeWalk::rankTiesOfOpenRanges() {
  std::vector<std::size_t> unranked;
  for (std::size_t i = 0; i < mClosed.size(); ++i)
    if (mClosed[i].rank < 0) unranked.push_back(i);
  std::sort(unranked.begin(), unranked.end(), [&](std::size_t a, std::size_t b) {
    return mStarts[mClosed[a].start].place.step < mStarts[mClosed[b].start].place.step;
  });
  const auto met = static_cast<long>(mMet.size());
  LeftBelow all(met);
  LeftBelow notOnPlaceholder(met);
  auto left = mLeft.begin();
  for (std::size_t i : unranked) {
    Closed& tie = mClosed[i];
    Start const& start = mStarts[tie.start];
    for (; left != mLeft.end() && left->first < start.place.step; ++left) {
      all.add(left->second);
      if (!mMet[static_cast<std::size_t>(left->second)].onPlaceholder)
        notOnPlaceholder.add(left->second);
    }
    if (start.before == Start::Before::All)
      tie.rank = tie.range - all.below(tie.range);
    else
      tie.rank = mMet[static_cast<std::size_t>(tie.range)].notOnPlaceholderBelow -
                 notOnPlaceholder.below(tie.range);
  }
}

// Every tie and end marker goes in front of the place the walk's state was at when it was made,
// in the order they were made: at one event, the ties it started, then the ends of those it
// closed, in the order those started.
void ARTieRangeWalk::makeTies() {
  if (mRanOutOfWork) return;
  rankTiesOfOpenRanges();
  struct Link {
    long step;
    int isEnd;
    long startStep;
    long rank;
    void* before;
    ARPositionTag* tag;
  };
  std::vector<Link> links;
  links.reserve(2 * mClosed.size());
  for (Closed const& closed : mClosed) {
    Start const& start = mStarts[closed.start];
    ARTie* range = mMet[static_cast<std::size_t>(closed.range)].range;
    auto* tie = VoicePass::Auto(new ARTie);
    tie->setID(IdOf(start.firstId, closed.rank));
    tie->setPosition(start.place.pos);
    tie->setRelativeTimePosition(start.place.object->getRelativeTimePosition());
    if (TagParameterList* parameters = range->getTagParameterList()) {
      tie->setTagParameterList(*parameters);
      delete parameters;
    }
    // The curve's parameters say nothing of its colour: each tie keeps the range's.
    if (TagParameterString const* color = range->getColor()) tie->setColor(color->getValue());
    auto* end = VoicePass::Auto(new ARDummyRangeEnd("\\tieEnd"));
    end->setID(tie->getID());
    end->setPosition(closed.end.pos);
    end->setRelativeTimePosition(closed.end.object->getRelativeTimePosition());
    tie->setCorrespondence(end);
    end->setCorrespondence(tie);
    links.push_back(
        {start.place.step, 0, start.place.step, closed.rank, start.place.rangeTagPos, tie});
    links.push_back(
        {closed.end.step, 1, start.place.step, closed.rank, closed.end.rangeTagPos, end});
  }
  std::sort(links.begin(), links.end(), [](Link const& a, Link const& b) {
    return std::tie(a.step, a.isEnd, a.startStep, a.rank) <
           std::tie(b.step, b.isEnd, b.startStep, b.rank);
  });
  for (Link const& link : links) VoicePass::InsertBefore(mRangeTags, link.before, link.tag);
}
