#pragma once

#include <algorithm>
#include <ostream>
#include <unordered_map>
#include <utility>
#include <vector>

#include "ARMusicalEvent.h"
#include "NodeOrdinals.h"
#include "OpenRangeIndex.h"
#include "kf_ilist.h"

class ARAuto;
class ARBase;
class ARChordTag;
class ARMusicalTag;
class ARTagEnd;
class ARTie;
class ARTuplet;
class ARMusicalVoiceState;
class ARPositionTag;
class ARShareLocation;

// One run of notes of a chord that share a written length: they share a stem and are drawn with
// that length.
struct ARChordGroup {
  Fraction dur;
  void* startpos = nullptr;  // the group's opening placeholder
  void* endpos = nullptr;    // the group's last element
};

// One sequence of the RMN text: its events and tags in time order, and beside them the list of
// its range tags. A range tag lives in that list only and points at the nodes of the event list
// where its range begins and ends. A chord is a run of elements of this list: an opening
// placeholder that carries the chord's length, the notes at the chord's end time with no length
// of their own, and the ranges the layout draws it from (see FinishChord).
//
// The event list owns its objects and the range-tag list owns its tags; a tag that is, for a
// while, in both belongs to the event list.
class ARMusicalVoice : public KF_IPointerList<ARMusicalObject>, public ARMusicalEvent {
 public:
  using ObjectList = KF_IPointerList<ARMusicalObject>;
  using PositionTagList = KF_IPointerList<ARPositionTag>;

  // How GetNext steps: a whole chord as one step, or element by element.
  static constexpr int CHORDMODE = 0;
  static constexpr int EVENTMODE = 1;

  ARMusicalVoice();
  ~ARMusicalVoice() override;

  // Appends without any bookkeeping.
  void* InsertAtTail(ARMusicalObject* object);
  // Appends in time order: gives the object the voice's end time, lengthens the voice, attaches
  // waiting range tags to an event and sorts chord notes into groups. A state tag that comes right
  // after the start of a chord goes in front of it. Ranged tags go through AddPositionTag.
  void* AddTail(ARMusicalObject* object);
  // Lengthens the voice to newDuration with a placeholder and closes every range left open.
  void adjustDuration(Fraction const& newDuration);

  // A chord: BeginChord, then for every chord note initChordNote and the note, then FinishChord.
  virtual void initChordNote();
  virtual void FinishChord();
  virtual void BeginChord();

  // Closes the range of the most recent open begin tag with that id that the end tag fits, at
  // the last event; returns the end tag's node in the range-tag list. The voice takes the end
  // tag also when it fits no range: it is marked so that the normal form drops it.
  virtual void* setPositionTagEndPos(int id, ARMusicalTag* tagEnd, ARMusicalTag* startTag);
  // How many open begin tags the searches for the begins of end tags have looked at so far: an
  // end tag that fits none of many open begins of its id passes them all, which the parse counts
  // as work.
  double getRangeSearchSteps() const { return mRangeSearchSteps; }
  // Withdraws a begin tag from the range-tag list without deleting it; the caller takes it.
  virtual void RemovePositionTag(ARPositionTag* tag);
  // Opens a range that begins at the next event; the voice takes the tag.
  virtual void AddPositionTag(ARPositionTag* tag);
  virtual PositionTagList* getPositionTagList() { return mPosTagList; }
  PositionTagList const* getPositionTagList() const { return mPosTagList; }
  // Takes a tag back from the event list without deleting it and closes its range; the caller
  // takes it. False when the event list does not hold it.
  bool removeTag(ARMusicalObject* object);
  // Drops the ranges that never closed or hold no event and puts the range-tag list in the order
  // the iteration reads it: at every element, the ranges it opens, then the ranges it closes.
  void ConvertToNormalForm();

  void print() const override;
  std::ostream& operator<<(std::ostream& os) const override;
  // The elements between " [ " and " ] ", each range tag where its range opens or closes; with
  // withAuto false the tags the engine made itself are left out.
  virtual void output(std::ostream& os, bool withAuto) const;
  void resetGRRepresentation() override;

  // Starts an iteration: the state stands before the first element. Returns its position.
  virtual void* GetHeadPosition(ARMusicalVoiceState& state) const;
  // GetHeadPosition for a walk that only goes forwards: its state and every copy of it take no
  // chord snapshots, which only a step back reads.
  void* StartForwardWalk(ARMusicalVoiceState& state) const;
  // Steps back to the event before pos and returns it; in CHORDMODE a chord it steps into is
  // stepped back over whole, to the state before it.
  virtual ARMusicalObject* GetPrevEvent(void*& pos, ARMusicalVoiceState& state) const;
  // Returns the object at pos and moves pos and state past it (past the whole chord in
  // CHORDMODE); null at the end.
  virtual ARMusicalObject* GetNext(void*& pos, ARMusicalVoiceState& state) const;
  // The state at the tail of the voice.
  virtual ARMusicalVoiceState* getVoiceState() { return curVoiceState; }

  // The automatic passes, run by the music in two stages around its line-break pass: lyrics to
  // texts, naturals and bar lines first; then the leading clef, key and glue of every line,
  // drawable durations, beams, ties and the end bar.
  virtual void doAutoStuff1();
  virtual void doAutoStuff2();
  void doAutoDispatchLyrics();
  void doAutoKeys();
  void doAutoBarlines();
  // Whether a written bar or repeat begin comes after pos before the next event with a duration.
  bool writtenBarFollows(void* pos) const;
  // A grace group written before a bar line, a break, a clef, key or meter comes after them,
  // directly before the note it leans on.
  void doAutoGracesBeforeTheirNotes();
  void doAutoCheckStaffStateTags();
  void doAutoDisplayCheck();
  // Returns the last automatic settings of the voice, as its walk holds them at the end.
  ARAuto const* doAutoBeaming();
  void doAutoTies();
  // settings: the last automatic settings of the voice (null without any).
  void doAutoEndBar(ARAuto const* settings);
  void doAutoFermatas() {}

  // True when dur can be drawn as one value (with dots where dots is non-zero on entry); dots
  // then says how many. Otherwise dur becomes the largest part of it that one value draws.
  static bool DurationIsDisplayable(Fraction& dur, int& dots);
  // True when dur inside a tuplet of base is drawn as one plain value; otherwise newbase is the
  // base dur's denominator asks for.
  static bool DurationFitsBase(Fraction const& dur, Fraction const& base, Fraction& newbase);
  static void TupletdurToDispdur(Fraction& dur, Fraction const& base);
  static void DispdurToTupletdur(Fraction& dur, Fraction const& base);
  void InsertDisplayDurationTag(Fraction const& dispdur, int dots, Fraction const& time, void* pos,
                                ARMusicalVoiceState& state, int moveCursor);
  void CloseBase(ARBase* base, ARTuplet* tuplet, void* pos, void* cursor);
  // new takes old's place, range and end marker; the caller deletes old.
  void ReplacePositionTag(ARPositionTag* old, ARPositionTag* replacement,
                          ARMusicalVoiceState& state, char const* endText);
  // Cuts the event the state stands at at time t; the state then stands at the second part.
  void SplitEventAtPos(ARMusicalVoiceState& state, Fraction const& t, int unused);
  // Copies the chord the state stands at right after it, in the form FinishChord gives, lasting
  // duration from startTime; every note is tied to its copy. Returns the copy's first node.
  void* CopyChord(ARMusicalVoiceState& state, Fraction const& startTime, Fraction const& duration);
  // Deletes everything the automatic passes inserted.
  void removeAutoTags();
  // Colours the events from..from+length (whole note = 1) red.
  void MarkVoice(float from, float length);
  void MarkVoice(int num, int den, int lnum, int lden);

  using ObjectList::GetHeadPosition;
  using ObjectList::GetNext;

  int getVoiceNum() const { return voiceNum; }
  void setVoiceNum(int number) { voiceNum = number; }
  int getReadMode() const { return readmode; }
  void setReadMode(int mode) { readmode = mode; }
  int getNumPitchedNotes() const { return numPitchedNotes; }
  int getPitchSum() const { return pitchSum; }

 private:
  // The place of every node from a start to the tail, counted from 0; -1 for any other node.
  // Kept sorted by node for lookups: a chord asks it once, for a handful of nodes.
  using NodeOrder = NodeOrdinals;
  NodeOrder OrderOfNodes(void* from) const;
  // Whether the range tags already stand in the normal form's order; false also when one of them
  // stands at no element of the list.
  bool RangesInWalkOrder() const;

  void StartChordGroup(Fraction const& groupDuration);
  void AddChordGroupTags(ARChordGroup const& group, void* tagCursor, NodeOrder const& order);
  void CloseChordRange(ARPositionTag* begin, char const* endText);
  void TimeChordElements(Fraction const& start, Fraction const& chordDuration, void* tagCursor);
  // The range-tag list made on first use.
  PositionTagList& PositionTags();

  // Pass helpers (ARVoicePassSupport.cpp).
  // Joins begin and end, places them and links both in front of the state's cursor (appended at
  // the list's end), begin first, or begin in front of beginBefore when that is given; returns
  // the end marker's node.
  void* LinkRangeAtCursor(ARPositionTag* begin, ARTagEnd* end, void* beginPos, void* endPos,
                          ARMusicalVoiceState& state, void* beginBefore = nullptr);
  // An automatic tie with the music's next tag id, and its end marker with the same id.
  static std::pair<ARTie*, ARTagEnd*> MakeAutoTie();
  // Cuts the event o at p after first: the rest is a copy linked after 'after', tied to the
  // first part when tie is set and it is a named note. Ranges that ended on o end on the copy.
  // Returns the copy's node; beginSlot, when given, is where further ranges of the first part
  // go, and the state's cursor where their end markers go.
  void* CutEventAt(ARMusicalVoiceState& state, void* p, Fraction const& first, void* after,
                   bool tie, void** beginSlot = nullptr);
  // The staff tag a chord copy begins with when a staff change inside the chord holds after it;
  // linked after 'after'. Null when the copy begins on the staff in force anyway.
  void* CopyStartsOnChordStaff(ARMusicalVoiceState const& state,
                               std::vector<void*> const& chordNodes, Fraction const& startTime,
                               void* after);
  // The same for the chord the state stands at: the chord keeps first, a copy takes the rest.
  void* CutChordAt(ARMusicalVoiceState& state, void* p, Fraction const& first);
  // Moves a range's begin, which the walk has passed, from the element before to 'to' at time,
  // where the state stands: it goes right in front of the state's cursor.
  void MoveRangeBeginBeforeCursor(ARMusicalVoiceState& state, ARPositionTag* begin, void* to,
                                  Fraction const& time);

  // One step of GetNext: closes the ranges ending at pos, takes the object there, opens the
  // ranges beginning after it.
  ARMusicalObject* Step(void*& pos, ARMusicalVoiceState& state) const;
  void OpenRangesAt(void* pos, ARMusicalVoiceState& state) const;
  void CloseRangesAt(void* pos, ARMusicalVoiceState& state) const;

  ARChordTag* currentChordTag = nullptr;
  ARShareLocation* currentShareLocation = nullptr;
  std::vector<ARChordGroup> chordGroupList;
  void* chordBeginPosition = nullptr;
  int chordVoiceIndex = -1;
  // While the factory reads a chord: the place in the range list where the chord's own range
  // tags stand, after the ranges opened before the chord.
  bool inChord = false;
  void* chordOpeningTags = nullptr;
  int numPitchedNotes = 0;
  int pitchSum = 0;
  void* lastEventPosition = nullptr;
  ARMusicalVoiceState* curVoiceState;
  int readmode = CHORDMODE;
  PositionTagList* mPosTagList = nullptr;
  double mRangeSearchSteps = 0;
  // While the factory reads the voice: the begins that end tags may still close.
  OpenRangeIndex mOpenRanges;
  PositionTagList* pendingPositionTags;
  // Set by the factory: voices count from 1, a cue's voice is -1.
  int voiceNum = 0;
};
