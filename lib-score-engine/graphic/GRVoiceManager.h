#pragma once

#include <memory>

#include "Fraction.h"
#include "kf_ilist.h"

class ARDotFormat;
class ARMusicalEvent;
class ARMusicalObject;
class ARMusicalTag;
class ARMusicalVoice;
class ARMusicalVoiceState;
class ARNote;
class ARNoteFormat;
class ARPositionTag;
class ARRestFormat;
class ARShareStem;
class ARTHead;
class ARTStem;
class Bitmap;
class GRBar;
class GRChordTag;
class GREvent;
class GRGlobalLocation;
class GRGlobalStem;
class GRGrace;
class GRNotationElement;
class GRRepeatEnd;
class GRStaff;
class GRStaffManager;
class GRTag;
class GRTagARNotationElement;
class GRVoice;
class NEPointerList;

// Walks one voice in time for the staff manager and turns what it passes into graphical
// elements: events into notes, rests, chords and empties, tags into clefs, bars, texts and the
// like on the current staff, range tags into spanners that stay open until their range ends.
// Break tags are not passed over: they are reported as status codes and wait for DoBreak.
class GRVoiceManager {
 public:
  // What Iterate reports; the staff manager combines the codes of all voices.
  enum Status {
    kFinished = -10,
    kDurationNext = -6,
    kPossibleBreak = -5,
    kNewPage = -4,
    kNewSystem = -3,
    kLaterEvent = -2,
    kLaterZeroDuration = -1,
    kEnded = 0,
    kZeroDurationNext = 1,
    kEventNext = 2,
  };
  // The pass Iterate runs: events with a duration, or the zero-duration objects before them.
  enum Mode { kEventPass = 0, kTagPass = 1 };

  GRVoiceManager(GRStaffManager* staffManager, ARMusicalVoice* voice, int voiceIndex);
  GRVoiceManager(GRVoiceManager const&) = delete;
  GRVoiceManager& operator=(GRVoiceManager const&) = delete;
  virtual ~GRVoiceManager();

  virtual int addGRTag(GRTag* tag, int atHead = 1);
  // Not part of the walk: calling it is a programming error.
  virtual void EndManageVoice(Fraction const& tp);
  // Positions the voice at its head on the staff of its number and hands the line's opening
  // format tags to the staff manager.
  virtual int BeginManageVoice();
  virtual void addStartPTags();
  virtual void checkStartPTags(void* position);
  virtual void checkEndPTags(void* position);

  // Handles what lies at the voice's position in the given pass; see Status.
  int Iterate(Fraction& timePosition, int mode);

  GRNotationElement* CreateNote(Fraction const& tp, ARMusicalObject* object);
  GRNotationElement* CreateGraceNote(Fraction const& tp, ARMusicalObject* object,
                                     Fraction const& duration);
  GRNotationElement* CreateRest(Fraction const& tp, ARMusicalObject* object);
  GRNotationElement* CreateChord(Fraction const& tp, ARMusicalObject* object);
  GRNotationElement* CreateEmpty(Fraction const& tp, ARMusicalObject* object);

  // The element of a tag without range, or null.
  GRNotationElement* parseTag(ARMusicalObject* object);
  // A clef or meter right after a bar line keeps the gap a key change keeps, and air (in line
  // spaces) before what follows it.
  static void standClearOfBar(GRTagARNotationElement* sign, GRStaff const* staff, float air);
  // True when the state tag was taken into the manager's state.
  bool parseStateTag(ARMusicalTag* tag);
  void parsePositionTag(ARPositionTag* tag);

  // Continues after a break the staff manager made at tp: 1 new system, 2 new page, 3 a
  // possible break that only starts a new slice; 0 only passes over the break tag the voice
  // stands at. Returns 1.
  int DoBreak(Fraction const& tp, int breakKind);
  void beginOpenTags();
  void closeOpenTags();
  void ReadBeginTags(Fraction const& tp);
  // True when a repeat begin follows (one possible break may stand between).
  bool checkRepeatBeginNext();
  // A plain bar line standing last at tp on the staff, or on the staff of the same number in the
  // slice closed just before (the line may break after a bar); null when there is none.
  GRBar* barJustBefore(GRStaff* staff, Fraction const& tp) const;
  // A repeat end standing last at tp on the staff (after it only spanners and glues).
  static GRRepeatEnd* repeatEndJustBefore(GRStaff const* staff, Fraction const& tp);
  // How much a line break at tp costs this voice: cutting an event costs most, a bar line helps.
  float GetBreakScore(Fraction const& tp);
  // Centres a whole-measure rest of staff between x1 and x2.
  void checkCenterRest(GRStaff* staff, float x1, float x2);
  void removeAssociations(NEPointerList const& list);
  void rememberLastNLinePosition(Fraction const& tp);

  GRVoice* getGRVoice() const { return mGRVoice; }
  GRStaff* getCurStaff() const { return mCurGrStaff; }
  int getStaffNumber() const { return mStaffNum; }
  int getVoiceIndex() const { return mVoiceIndex; }
  float getPossibleBreakValue() const { return mPbreakval; }
  // Every spanner not yet ended; read by the break states.
  KF_IPointerList<GRTag>* getOpenTags() const { return mGrTags; }
  GRChordTag* getCurChordTag() const { return mCurChordTag; }
  GRGlobalStem* getCurGlobalStem() const { return mCurGlobalStem; }
  GRGlobalLocation* getCurGlobalLocation() const { return mCurGlobalLocation; }
  // The object at the voice's position, null when the voice is finished.
  ARMusicalObject* getCurrentObject() const;
  // The voice's time; meaningful while getCurrentObject() is not null.
  Fraction const& getCurTimePosition() const;

 private:
  // The picture of the name that the score's marks share.
  static std::shared_ptr<Bitmap const> picture(char const* name);
  // Elements made from the score go to the current staff and the graphical voice.
  void addToVoice(GRNotationElement* element);
  // Joins the event to the open spanners and writes it to staff and voice.
  GRNotationElement* placeEvent(GREvent* event);
  // A note (an empty for pitch 0) in the manager's stem, head, note and dot state, drawn at the
  // length shown from shownFrom.
  // True when an open tie already holds a note of the same pitch: the note is tied over.
  bool isTiedOver(ARNote const* note) const;
  GREvent* createSingleNote(Fraction const& tp, ARNote* note, Fraction const& shownFrom,
                            float stemLineSpace, bool grace = false);
  // Grace notes are three quarters of the staff's notes.
  float graceSize() const;
  void associateOpenTags(GRNotationElement* element);
  // A note of a grace chord, on the spring of the chord's first element: that element keeps
  // the note's room on either side.
  void keepRoomOfGraceChordNote(GRNotationElement const* note);
  void registerSyncElement(GRNotationElement* element);
  // Whether the element stands in the slice the voice now writes into. Slices end where a line
  // may break, so the springs of an earlier one can stand on another line.
  bool inCurrentSlice(GRNotationElement const* element) const;
  void registerTagElement(GRNotationElement* element, ARMusicalObject* object);
  GRNotationElement* createEvent(Fraction const& tp, ARMusicalObject* object);
  GRNotationElement* createDisplayedZeroDurationEvent(Fraction const& tp, ARMusicalObject* object);
  int advance();
  // Steps past the object at the position.
  void stepOver();
  Fraction displayedLength(Fraction const& duration) const;
  // Makes the staff of that number current; false (with a warning) for a number the layout
  // cannot index.
  bool switchToStaff(int staffNumber);
  // A rest or note that ends at the bar and started at the bar before (or at 0) fills it. A
  // double or final bar may end a shorter last measure: with wholeMeasure, the event must also
  // last the meter's whole measure.
  void applyBarFilling(GRBar* bar, bool wholeMeasure = false);
  GRNotationElement* openSharedStem(ARShareStem* tag);
  void* curPosition() const;

  float mPbreakval = 0;
  GRVoice* mGRVoice = nullptr;
  ARTStem* mCurStemState = nullptr;
  ARTHead* mCurHeadState = nullptr;
  int mVoiceIndex;
  GRNotationElement* mLastCreatedEvent = nullptr;
  GRChordTag* mCurChordTag = nullptr;
  GRGlobalStem* mCurGlobalStem = nullptr;
  GRGlobalLocation* mCurGlobalLocation = nullptr;
  ARMusicalVoiceState* mVoiceState = nullptr;
  ARMusicalEvent* mCurEv = nullptr;
  GRStaff* mCurGrStaff = nullptr;
  ARMusicalVoice* mArVoice;
  GRStaffManager* mStaffMgr;
  GRGrace* mCurGrace = nullptr;
  // The grace group written among the notes of a chord: it stands before the chord, not in it,
  // and leans on the chord once the chord is whole.
  bool mGraceInChord = false;
  GRGrace* mChordGrace = nullptr;
  ARNoteFormat* mCurNoteFormat = nullptr;
  ARDotFormat* mCurDotFormat = nullptr;
  ARRestFormat* mCurRestFormat = nullptr;
  Fraction mStartSystemTime{0, 1};
  // Where the voice stands: the end of the last event passed, or the time of the last tag.
  Fraction mVoiceTime{0, 1};
  int mStaffNum = 0;
  KF_IPointerList<GRTag>* mGrTags = nullptr;
  KF_IPointerList<GRTag>* mToAddGrace = nullptr;
  GRNotationElement* mLastNonZeroEvent = nullptr;
  GRBar* mLastBar = nullptr;
  // The last element the voice made is a bar line: a clef or meter next stands clear of it.
  bool mBarJustMade = false;
  // The line's opening clef, key and glue are behind: a clef from now on is a change.
  bool mLineBegun = false;
};
