#pragma once

#include <vector>

#include "ARTagNames.h"
#include "TagParameterList.h"

class ARCue;
class ARGrace;
class ARMusic;
class ARMusicalEvent;
class ARMusicalTag;
class ARMusicalVoice;
class ARPositionTag;
class ARStaff;
class ARTrill;

// Builds the abstract tree of one parse from the parser callbacks: the music, its voices, their
// events and tags. Deleting the factory deletes whatever it still holds, which is how a failed
// parse discards its partial tree.
class ARFactory {
 public:
  // Tag ids are kept below this, which leaves room for the ids the automatic ties count on from
  // the written ones.
  static constexpr long kMaxTagId = 1L << 30;

  ARFactory();
  ARFactory(ARFactory const&) = delete;
  ARFactory& operator=(ARFactory const&) = delete;
  virtual ~ARFactory();

  void createMusic();
  // Completes the music and hands it over: the caller owns it.
  ARMusic* getMusic();

  void createVoice();
  void addVoice();

  void createChord();
  void initChordNote();
  void addChord();

  void createEvent(char const* name);
  void setRegister(int newRegister);
  void setNumerator(int newNumerator);
  void setDenominator(int newDenominator);
  void setAccidentals(int newAccidentals);
  void addSharp();
  void addFlat();
  void setPoints(int pointCount);
  void addEvent();

  void createTag(char const* name, long id = -1);
  void addTagParameter(char const* text);
  void addTagParameter(int value);
  void addTagParameter(double value);
  void setUnit(char const* unit);
  void setParameterName(char const* name);
  void addTag();
  void tagRange();
  void endTag();

  // Whether the music read so far already asks for more work than one parse may do, counting
  // the parameters of the tag being read; the scanner then stops, so that a huge text is refused
  // before all of it is in memory.
  bool isFull() const;

  static float UndoTransform(float x) { return x * 2 / 50; }

  // Highest tag id seen in the running parse, -1 when none.
  static long sMaxTagId;

 private:
  // A tag on the stack; one held by nothing else (an unknown tag, the cue, an end marker with no
  // range list to go into) is deleted when it ends or when the factory goes.
  struct OpenTag {
    ARMusicalTag* tag;
    bool stackOnly;
  };

  ARMusicalTag* newestTag() const;
  void closeInVoiceState(ARPositionTag* begin);
  ARMusicalTag* makeTag(char const* name, TagName const* entry);
  void fileTag(ARMusicalTag* tag, TagEntry entry, int id);
  void openCue(ARCue* cue);
  void closeCue(ARCue* cue);
  // Each closes the range of the tag that endTag took off the stack; false when the tag is gone.
  bool closeRange(ARMusicalTag* tag);
  void closeStateTagRange(ARMusicalTag* tag, ARPositionTag* positionTag);
  void rememberStateTag(ARMusicalTag* tag);
  void resetVoiceState();
  // The scanner asks isFull before every token, but most calls between two tokens only set the
  // pitch, octave or length of the note being read, which the work does not count. So isFull
  // keeps the work it found until a call that can change it: every call that adds to or takes
  // from the voices, the music or the tag parameters says so first.
  void workChanged() { mWorkKnown = false; }

  ARMusicalVoice* mCurrentVoice = nullptr;
  ARMusic* mCurrentMusic = nullptr;
  ARMusicalEvent* mCurrentEvent = nullptr;
  ARMusicalEvent* mLastEvent = nullptr;
  std::vector<OpenTag> mTags;  // newest last
  TagParameterList mTagParameterList{1};
  int mCurrentRegister = 1;
  int mCurrentNumerator = 1;
  int mCurrentDenominator = 4;
  int mCurrentIntensity = 80;
  PreviousStateTags mCurrent;
  ARGrace* mCurrentGrace = nullptr;
  ARCue* mCurrentCue = nullptr;
  ARTrill* mCurrentTrill = nullptr;
  ARMusicalVoice* mSavedVoice = nullptr;
  ARStaff* mCurrentStaff = nullptr;
  int mVoiceNum = 1;
  // The work of the voices already in the music (ARMusic::ObjectWork).
  double mFinishedWork = 0;
  // The work isFull found, kept until a call changes it (workChanged).
  mutable bool mWorkKnown = false;
  mutable double mWork = 0;
};
