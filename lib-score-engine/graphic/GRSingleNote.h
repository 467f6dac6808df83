#pragma once

#include "GRNote.h"
#include "GRStaff.h"
#include "kf_ilist.h"

class ARTHead;
class GRAccidental;
class GRFlag;
class GRStdNoteHead;
class GRStem;
class LedgerLineRoom;

// One note of a voice: head, stem and flag (unless it shares a group's stem), dots, accidentals,
// ledger lines and articulations. It reports its box, reference point and head x to the symbol
// map, which is how the application finds the notes on the page.
class GRSingleNote : public GRNote {
 public:
  // Head states of ARTHead.
  enum HeadState {
    kNoHeadState = 0,
    kNormal = 1,
    kReverse = 2,
    kCenter = 3,
    kRight = 4,
    kLeft = 5
  };

  GRSingleNote(GRStaff* staff, ARNote* note, Fraction const& relativeTimePosition,
               Fraction const& duration);

  // Builds the sub-elements for the length shown; nothing for a length of 0 or less.
  void doCreateNote(Fraction const& displayDuration);
  // The voice manager rebuilds notes this way.
  void removeElements();

  // Moves the head beside the stem for state (the note's own head state wins) and returns the
  // side it ends on.
  virtual int adjustHeadPosition(int suggested);
  virtual void setHeadState(ARTHead const* head);
  // A note tied over from one of the same pitch shows no accidental: the sign before the first
  // note holds for it. Set before the glyphs are built.
  void setTiedOver(bool tiedOver) { mTiedOver = tiedOver; }
  // The dot stands right after the head; the format's default distance, which keeps it clear
  // of a flag, counts only while a flag is drawn beside the head (a stem up with a flag, not
  // beamed).
  using GREvent::setDotFormat;
  void setDotFormat(ARDotFormat const* format) override;
  // A grace note keeps a gap on its right to the note it leans on.
  void setGrace(bool grace) { mGrace = grace; }
  bool isGrace() const { return mGrace; }
  virtual float tstStemEndPos(float) { return 0; }
  virtual float setStemEndPos(float) { return 0; }
  virtual GDirection getDirection() const { return mStemDir; }
  virtual void setStemOnOff(bool on);
  virtual Fraction const& getDurTemplate() const { return mDurationTemplate; }
  virtual void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;

  void drawStemOnly(int) override {}
  void setBeamStem(GRBeam*, float) override {}
  void addToOffset(NVPoint const& offset) override { mOffset += offset; }
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override { GREvent::setHPosition(x); }
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  NVPoint getTieStart() const override;
  NVPoint getTieEnd() const override;
  void recalcVerticalPosition() override;
  void updateBoundingBox() override;
  void setSize(float size) override;
  void addArticulation(ARMusicalTag* tag) override;
  bool adjustLength(Fraction const& duration) override;
  float setStemLength(float length) override;
  GDirection getStemDirection() const override;
  void setStemDirection(GDirection direction) override;
  void setFlagOnOff(bool on) override;
  bool getStemDirSet() const override { return mStemDirSet; }
  bool getStemLengthSet() const override { return mStemLengthSet; }
  float getStemLength() const override;
  NVPoint getStemStartPos() const override;
  NVPoint getStemEndPos() const override;
  float changeStemLength(float length) override;
  int getNumFaehnchen() const override;
  void setNoteFormat(ARNoteFormat const* format) override;

  GRStdNoteHead* getNoteHead() const { return mNoteHead; }
  GRStem* getStem() const;
  GRFlag* getFlag() const;
  int getNumHelplines() const { return mNumHelpLines; }
  // The ledger lines the note draws: the height of the first in its staff, the step to the next
  // and how many; where they reach across as the glyph draws them, where the head under them
  // stands, and the staff's line space.
  struct LedgerLines {
    float first = 0, step = 0;
    int count = 0;
    float left = 0, right = 0;
    float headLeft = 0, headRight = 0;
    float space = 50;
  };
  LedgerLines ledgerLines() const;
  float getHeadWidth() const { return mNoteBreite; }
  void extractAccidentals(KF_IPointerList<GRAccidental>* list) const;
  // Draws these signs in place of those it asked its staff for when it was made, where a line
  // it was not made for starts before it. False when the signs are the same, or when the score
  // placed its signs itself.
  bool showSigns(GRStaff::AccidentalSigns const& signs);
  bool isTiedOver() const { return mTiedOver; }
  // Whether a tie begins at the note: spacing keeps room for it past a flag beside the head.
  void setBeginsTie(bool begins) { mBeginsTie = begins; }
  bool beginsTie() const { return mBeginsTie; }
  // Moves the last accidental a head width further left, beside a head moved out of the way.
  void updateAccidentalsPos();
  // Stands the note, all but its signs, this far right of its place (0: at its place), beside a
  // head of another voice; it takes that much more room on the right.
  void standBeside(float shift);
  float getBesideShift() const { return mBesideShift; }
  // Beside a head of another pitch on its own step, the note's signs stand before its own head,
  // between the two: left of both they would read as the left head's.
  void keepSignsAtHead() { mSignsAtHead = true; }
  bool signsAtHead() const { return mSignsAtHead; }
  // How wide its signs stand before its head, with the air before each; 0 without signs.
  float signsWidth() const;
  // How far the head reaches right or left of the note's place, wherever it stands: moved to the
  // other side of a shared stem or beside another voice's head. 0 without a head.
  float headReach(bool right) const;
  // How far the ledger lines drawn under or over the head reach right or left of the note's
  // place, wherever the head stands. 0 without ledger lines.
  float ledgerLinesReach(bool right) const;
  // A note of another voice stands this far right of this one's place: the dots stand after it.
  void keepDotsBeside(float shift);
  // How far right of the note's place its dots reach; 0 without dots.
  float dotsReach() const;

 private:
  // Its signs right to left before its head, and its box with them.
  void placeAccidentals();
  void createNote(Fraction const& displayDuration);
  void ReachMiddleLine();
  // Moves the dots past a flag drawn beside the head, or back to the head when there is none.
  void PlaceDots();
  // How far the head stands beside the note's place, pushed to the other side of a shared stem.
  float HeadShift() const;
  float marksShift() const override { return mBesideShift; }
  // The room on that side of the note's place that a head moved this far out to it takes: the
  // head, the ledger lines drawn under it and a quarter space of air, so that neither touches
  // the next column and reads as part of it.
  float RoomOfHeadBeside(bool left, float moved) const;
  // How far a ledger line under the head reaches past its middle, to the left or to the right.
  float LedgerReach(bool left) const;
  // One ledger line at dy from the note (dx from it where the glyph fits the head): it reaches
  // past the head on both sides.
  void DrawLedgerLine(VGDevice& device, float dx, float dy) const;
  // One ledger line at dy from the note, from left to right: the glyph drawn narrower or wider.
  void DrawLedgerLineBetween(VGDevice& device, float left, float right, float dy) const;
  // How the ledger lines of the note's staff line stop short of each other; null without a
  // system.
  LedgerLineRoom const* ledgerLineRoom() const;
  // Whether another note sharing this note's stem holds a mark with any of the flags.
  bool chordHasArticulation(int flags) const;
  // The notes sharing this note's stem place their marks again, after the stem changed.
  void tellMarksOfChord();
  template <class T>
  T* FirstOf(bool exactType) const;

  int mNumHelpLines = 0;
  float mNoteBreite = 0;
  Fraction mDurationTemplate;
  GRStdNoteHead* mNoteHead = nullptr;
  GDirection mStemDir = dirAUTO;
  float mStemLength;
  bool mStemLengthSet = false;
  bool mStemDirSet = false;
  int mHeadState = kNoHeadState;
  bool mTiedOver = false;
  bool mBeginsTie = false;
  bool mGrace = false;
  float mBesideShift = 0;
  bool mSignsAtHead = false;
  // How far the dots stand past a flag beside the head or past another voice's head beside this
  // one, and how far they stand right of the head now.
  float mDotPastFlag = 0;
  float mDotsBeside = 0;
  float mDotShift = 0;
};
