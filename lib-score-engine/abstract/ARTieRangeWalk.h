#pragma once

// What the tie pass keeps while it walks a voice: the tie ranges it is inside, the ties started at
// each event and the ties that closed. The ties themselves are made once the walk is over, and
// only those that closed, each with the id and the place in the range-tag list that it would
// have had if every tie had been made where it started: a range open over many events starts a
// tie at each of them, and most of those are dropped again.

#include <cstdint>
#include <map>
#include <set>
#include <unordered_map>
#include <vector>

#include "ARPositionTag.h"
#include "kf_ilist.h"

class ARChordTag;
class ARMusicalObject;
class ARNote;
class ARTie;

class ARTieRangeWalk {
 public:
  // Where the walk stands: an element, its list position, the range-tag list position the
  // walk's state is at (new range tags go in front of it) and the step's number.
  struct Place {
    void* pos;
    ARMusicalObject* object;
    void* rangeTagPos;
    long step;
  };

  explicit ARTieRangeWalk(KF_IPointerList<ARPositionTag>& rangeTags) : mRangeTags(rangeTags) {}

  // A tie range the walk entered at a place; chord is the chord current there.
  void enterRange(ARTie* range, ARChordTag* chord, Place const& place);
  // The walk left the range: its ties that are still open are dropped.
  void leaveRange(ARTie* range, long step);

  // At an event: the ties started earlier close or are dropped, then the ranges decide whether
  // a tie starts here. previousChord is the chord before the current one (or none).
  void atEvent(Place const& place, ARChordTag* chordNow, ARChordTag* previousChord);

  // Makes the ties that closed, with their end markers, and links them into the list; none when
  // the music ran out of work for them.
  void makeTies();
  bool ranOutOfWork() const { return mRanOutOfWork; }

 private:
  // A tie range while the walk is inside it; ranges are numbered in the order the walk met them.
  struct OpenRange {
    ARTie* range;
    ARChordTag* chord;   // current at its first event
    ARNote* first;       // its first event, when a note
    bool onPlaceholder;  // its first event is a chord's placeholder
  };

  // The ties started at one event, one for each range that decided to start one there, in the
  // order of the ranges. They share note and chord, so they close or are dropped together,
  // except that each also ends with its range. The ranges: of those open before the event,
  // all, those not begun on a placeholder, or none; then the ones listed.
  struct Start {
    enum class Before : std::uint8_t { None, All, NotOnPlaceholder };
    Place place;
    ARNote* note;
    ARChordTag* chord;
    long firstId;
    long firstNew;  // ranges numbered below it were open before the event
    long beforeCount;
    Before before;
    bool settled;
    std::vector<long> listed;
  };

  // A tie that closed: the rank-th tie of a start, from a range, closed at a place.
  struct Closed {
    std::size_t start;
    long range;
    long rank;  // -1 until counted after the walk
    Place end;
  };

  struct ChordStarts {
    std::vector<std::size_t> all;
    std::unordered_map<std::uint64_t, std::vector<std::size_t>> byPitch;
  };

  void settleStarts(Place const& place, ARChordTag* chordNow, ARChordTag* previousChord);
  void closeMatching(ChordStarts& starts, Place const& place);
  void close(std::size_t start, Place const& place);
  void startTies(Place const& place, ARChordTag* chordNow);
  bool startsAtNewRange(OpenRange const& range, Place const& place, ARChordTag* chordNow) const;
  void rankTiesOfOpenRanges();

  // Every range met, by number.
  struct Met {
    ARTie* range;
    bool onPlaceholder;
    long notOnPlaceholderBelow;  // ranges before it not begun on a placeholder
  };

  KF_IPointerList<ARPositionTag>& mRangeTags;
  std::vector<Met> mMet;
  long mMetNotOnPlaceholder = 0;
  long mEnterStep = -1;  // the step that entered the last range
  long mFirstNew = 0;    // the first range entered at the current step
  std::map<long, OpenRange> mOpen;
  std::set<long> mOpenOnPlaceholder;
  long mOpenNotOnPlaceholder = 0;
  std::unordered_map<ARTie*, std::vector<long>> mNumbers;
  std::vector<std::pair<long, long>> mLeft;  // (step, range) in the order the walk left them
  std::vector<Start> mStarts;
  std::unordered_map<ARChordTag*, ChordStarts> mStartsByChord;
  std::vector<Closed> mClosed;
  bool mRanOutOfWork = false;
};
