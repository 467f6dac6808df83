#pragma once

#include <cstdint>
#include <typeinfo>
#include <vector>

#include "ARRangeTagList.h"
#include "Fraction.h"
#include "kf_ilist.h"

class ARAuto;
class ARBeamState;
class ARChordTag;
class ARDisplayDuration;
class ARGrace;
class ARMeter;
class ARMusicalTag;
class ARMusicalVoice;
class ARPositionTag;

// Where an iteration over a voice stands: its place in the event list and in the voice's list of
// range tags, the time, the state tags in force, the ranges open now and those the last step
// opened and closed, and the time and place of the last bar line. A copy is a snapshot that can
// be resumed later. The lists only point at tags; the tags belong to the voice.
class ARMusicalVoiceState {
 public:
  // The state tags in force, one of each class, in the order their classes first came: a
  // handful, copied with every chord snapshot, so they are kept in a vector.
  using StateTags = std::vector<ARMusicalTag*>;
  // The ranges open now, or those the last step opened or closed: a few at a time, changed at
  // nearly every step of every walk, but a text may open thousands over one note and close them
  // in any order.
  using PositionTags = ARRangeTagList;

  ARMusicalVoiceState() = default;
  // Copies every list into a list of its own; the chord snapshots are copied one level deep.
  ARMusicalVoiceState(ARMusicalVoiceState const& other);
  ARMusicalVoiceState& operator=(ARMusicalVoiceState const& other);
  virtual ~ARMusicalVoiceState();

  // Drops the lists and the snapshots; times and single tags stay as they are.
  void DeleteAll();

  // Replaces the state tag of the tag's class, or adds it; a meter, beam state or automatic
  // setting also becomes the one in force.
  void AddStateTag(ARMusicalTag* tag);
  // The state tag of exactly that class, or null.
  ARMusicalTag* getCurStateTag(std::type_info const& type) const;
  // Takes the state tag of exactly that class out of the state and returns it, or null.
  ARMusicalTag* RemoveCurStateTag(std::type_info const& type);

  // Opens a range. Chord and grace ranges never nest.
  void AddPositionTag(ARPositionTag* tag, int addToAdded = 1);
  // Closes the range of tag, or of its begin tag when tag is an end marker; the range must be
  // open.
  void RemovePositionTag(ARPositionTag* tag, int addToRemoved = 1);
  // Closes the range of tag (or of the begin tag of an end marker) when it is open, as a step
  // of a walk does.
  void CloseIfOpen(ARPositionTag* tag);
  // True while the range of tag (or of the begin tag of an end marker) is open.
  bool IsOpen(ARPositionTag const* tag) const;
  // Forgets which ranges the last step opened and closed.
  void DeleteAddedAndRemovedPTags();
  // The chord tag the voice puts around every chord, not a chord label the text writes.
  static ARChordTag* AsChordRange(ARPositionTag* tag);

  // What the walks ask of a range's tag at every step where it opens or closes, found out with
  // the class questions the first time and kept in the tag (ARPositionTag::getRangeKind).
  enum RangeKind : std::uint8_t {
    kRangeKnown = 1,
    kRangeChord = 2,  // the chord tag the voice puts around a chord
    kRangeGrace = 4,
    kRangeDisplayDuration = 8,
    kRangeTie = 16,
    kRangeTuplet = 32,
    kRangeMerge = 64,
    kRangeBeam = 128,
  };
  static std::uint8_t RangeKindOf(ARPositionTag const* tag);

  Fraction const& getCurTime() const { return curtp; }
  Fraction const& getLastBarTime() const { return curlastbartp; }
  void* getLastBarPosition() const { return curlastbarpos; }
  void* getVoicePosition() const { return vpos; }
  void* getPositionTagPosition() const { return ptagpos; }
  StateTags const& getCurStateTags() const { return curstatetags; }
  // In the order the ranges opened or closed.
  PositionTags const& getAddedPositionTags() const { return addedpositiontags; }
  PositionTags const& getRemovedPositionTags() const { return removedpositiontags; }
  PositionTags const& getCurPositionTags() const { return curpositiontags; }
  ARMeter* getCurMeter() const { return curmeter; }
  ARDisplayDuration* getCurDisplayDuration() const { return curdispdur; }
  ARBeamState* getCurBeamState() const { return curbeamstate; }
  ARAuto* getCurAuto() const { return curauto; }
  ARGrace* getCurGrace() const { return curgrace; }
  ARChordTag* getCurChordTag() const { return curchordtag; }
  ARMusicalVoiceState const* getChordState() const { return chordState; }
  ARMusicalVoiceState const* getPrevChordState() const { return prevchordState; }

 private:
  friend class ARMusicalVoice;
  friend class ARVoiceManager;

  void CopyFrom(ARMusicalVoiceState const& other, bool withSnapshots);
  // The rest of closing the range, once it is out of the open ones.
  void Closed(ARPositionTag* range, int addToRemoved);
  // A copy without snapshots, as a snapshot is kept; made in spare when given (a snapshot no
  // longer needed, whose vectors keep their room).
  ARMusicalVoiceState* Snapshot(ARMusicalVoiceState* spare = nullptr) const;
  // Takes the tag out of every list of ranges, open or not; for a range tag that is deleted.
  void Forget(ARPositionTag* tag);

  Fraction curlastbartp;
  void* curlastbarpos = nullptr;
  void* ptagpos = nullptr;
  Fraction curtp;
  StateTags curstatetags;
  PositionTags addedpositiontags;
  PositionTags removedpositiontags;
  PositionTags curpositiontags;
  // The display durations among the open ranges, in opening order: the last is the one in force,
  // found at once however many other ranges are open.
  PositionTags opendisplaydurations;
  void* vpos = nullptr;
  ARMeter* curmeter = nullptr;
  ARDisplayDuration* curdispdur = nullptr;
  ARBeamState* curbeamstate = nullptr;
  ARAuto* curauto = nullptr;
  ARGrace* curgrace = nullptr;
  ARChordTag* curchordtag = nullptr;
  // Taken when the current chord was entered, and the one before; never holding snapshots.
  ARMusicalVoiceState* chordState = nullptr;
  ARMusicalVoiceState* prevchordState = nullptr;
  // Only a walk that steps back needs the chord snapshots; the passes that never do leave them
  // out, since taking one copies every list.
  bool keepsChordSnapshots = true;
};
