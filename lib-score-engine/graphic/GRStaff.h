#pragma once

#include <algorithm>
#include <vector>

#include "GRCompositeNotationElement.h"
#include "GRStaffState.h"
#include "VGColor.h"
#include "kf_list.h"

class GRIntens;
class GRRoomBeside;
class GRRod;

class ARBar;
class ARClef;
class ARDoubleBar;
class ARFinishBar;
class ARInstrument;
class ARIntens;
class ARRepeatBegin;
class ARRepeatEnd;
class ARKey;
class ARMeter;
class ARMusicalObject;
class AROctava;
class GRNote;
class GRSpring;
class ARBarFormat;
class ARStaffFormat;
class GRGlue;
class GRPositionTag;
class GRSText;
class GRStaffManager;
class GRSystem;
class GRSystemSlice;
class GRVoice;
class GRVolta;

// One staff of one system slice: the elements written to it, its running state, and the glues
// that tie its begin and end to the spacing. It turns pitches into vertical places in its
// current clef (0 = top line, downwards positive) and keeps the accidentals of the measure.
class GRStaff : public GRCompositeNotationElement {
 public:
  explicit GRStaff(GRSystemSlice* slice);
  // The elements go while the staff is still whole, since they may ask it for its system.
  ~GRStaff() override;

  int getFontSize() const override;
  // Lines, then the elements moved down to the staff, then the map's staff-lines record.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;

  // Pitch classes 2 (c) to 13 (ais); any other pitch stands at 0.
  virtual float getNotePosition(int pitch, int octave) const;
  // 1 (up) or -1 (down): notes from the middle line upwards take their stem down.
  virtual int getDefaultThroatDirection(int pitch, int octave) const;
  // Ledger lines of a note: positive above the staff, negative below.
  virtual int getNumHelplines(int pitch, int octave) const;
  virtual VGColor getNoteColor(int pitch) const;
  virtual int getNumlines() const { return mStaffState.numlines; }
  // From the top line to the bottom line.
  virtual float getDredgeSize() const;
  // Where a key signature draws the accidental of pitch (2 c to 8 h): sharps for direction > 0,
  // flats for direction < 0, kept within the staff.
  virtual float getKeyPosition(int pitch, int direction) const;
  // The accidental signs to draw before a note in the key and measure so far: 1 first for a
  // chromatic pitch, then -10 for a natural or the accidentals needed. At most two, kept in place
  // since every note asks.
  struct AccidentalSigns {
    int codes[2] = {};
    int count = 0;
    int const* begin() const { return codes; }
    int const* end() const { return codes + count; }
  };
  virtual AccidentalSigns askAccidentals(int pitch, int octave, int accidentals) const;
  // The signs of the notes tied over before the time now hold: a note of the time asks after.
  void writeHeldSignsBefore(Fraction const& time);
  // The same against a state of the staff's measure other than its own.
  static AccidentalSigns AccidentalsIn(GRStaffState const& state, int pitch, int octave,
                                       int accidentals);

  float getLineSpace() const { return mStaffState.lineSpace; }
  GRStaffState& getStaffState() { return mStaffState; }
  GRStaffState const& getStaffState() const { return mStaffState; }
  float getLength() const { return mLength; }
  void setLength(float length) { mLength = length; }

  // The clef in force: its name, the pitch class on its reference line (before transposition),
  // the octave of that pitch, and the line (from the top, from 0). An octava ends with it.
  void setClefParameters(char const* name, int clefBasePitch, int baseOctave, int baseLine,
                         int clefState);
  // The key in force: the number of sharps (positive) or flats and the accidental of each pitch.
  // The measure starts over in the new key.
  void setKeyParameters(int numKeys, int const (&keyArray)[GRStaffState::kPitches]);

  GRSystemSlice* getGRSystemSlice() const { return mGrSystemSlice; }
  // The system the staff is attached to, else its slice's.
  GRSystem* getGRSystem() const;
  int getStaffNumber() const;
  // The staff of the same number in the slice before this one in the same system.
  GRStaff* getPreviousStaff() const;

  GRGlue* getStartGlue() const { return mStartGlue; }
  GRGlue* getSecondGlue() const { return mSecondGlue; }
  GRGlue* getEndGlue() const { return mEndGlue; }
  // The first becomes the second glue; a later one becomes the partner of the second glue when
  // it has none. Appended in every case.
  void AddSecondGlue(GRGlue* glue);
  // Ends the staff at tp with its end glue, which goes to the system's spring at the end.
  void EndStaff(Fraction const& tp);
  // The same, the end glue going to spring.
  void EndStaff(Fraction const& tp, GRSpring* spring);
  // The same after cutting the list after position (when given); the end glue goes to the
  // manager's last spring.
  void EndStaff(Fraction const& tp, GRStaffManager* manager, void* position, int);
  // Makes the start and second glues where missing; the start glue goes to the first spring.
  void BeginStaff(GRStaffManager* manager);
  // The clef in force from the end of the last element on; an octava ends with it.
  GRNotationElement* AddClef(ARClef* clef);
  // The instrument's name, and its "transp" text as the staff's transposition.
  GRNotationElement* AddInstrument(ARInstrument* instrument);
  // The meter counts when it carries a type.
  GRNotationElement* AddMeter(ARMeter* meter);
  // A natural key cancels the key in force without changing it; any other key becomes the key.
  GRNotationElement* AddKey(ARKey* key);
  // The signature a reader of this line sees just before the given element (after the whole
  // list when the element is not in it), in fifths: that of the last valid key, 0 when the last
  // one only cancelled the key before; with no key before it on this staff, the key shown where
  // the staff takes over from the one before it on the line. A line opens without a visible key
  // whatever key the state carries over, so its first key is drawn in full.
  int shownKeyNumber(GRNotationElement const* upTo) const;
  // Takes over what a staff of the next slice or line carries on: clef, key with its
  // accidentals, measure accidentals, transposition, formats with the line space and lines they
  // gave; not the meter.
  void setStaffState(GRStaffState const* state);
  // The staff opens a line: no key is shown before its own.
  void opensLine() { mShownKeyAtStart = 0; }
  // Replays the clefs and keys of the list from position (or the head) into the state.
  void UpdateStaffState(void* position);
  // "8" above or "8ba" below, and the notes move by the shift.
  GRNotationElement* AddOctava(AROctava* octava);
  // The mark an octava of the shift puts at the staff: "8" over it for one octave up, "8ba"
  // under it for one down, an empty text that ends it otherwise. The caller adds it to the staff.
  GRSText* NewOctavaMark(int shift);
  // Whether the element is the staff's and no event was added after it.
  bool NoEventSince(GRNotationElement const* element) const;
  // The shift of the octava whose mark that is.
  static int OctavaShiftOf(GRSText const& mark);
  GRNote* getLastNote() const;
  // The explicit staff distance, -1 when none.
  float getDistance() const;

  // Its "size" sets the line space (see GRStaffState::lineSpaceOf); a "style" of a digit 0 to 7
  // followed by "-line" sets the number of lines. What it does not give stays as it was.
  virtual void setStaffFormat(ARStaffFormat* format);
  // The staff format of a carried state, with the line space and lines it holds.
  void takeFormatOf(GRStaffState const& state);
  void setBarFormat(ARBarFormat* format) { mStaffState.curbarfrmt = format; }
  // Appends an element; anything but a position tag must come in time order.
  GRNotationElement* addNotationElement(GRNotationElement* notationElement);
  // A bar line at tp: the measure starts over in the key, and takes the bar's "number" or the
  // next one.
  GRNotationElement* AddBar(ARBar* bar, Fraction const& tp);
  GRNotationElement* AddDoubleBar(ARDoubleBar* bar, Fraction const& tp);
  GRNotationElement* AddFinishBar(ARFinishBar* bar, Fraction const& tp);
  // Either repeat sign starts the measure over as a bar line does; the end counts as one.
  GRNotationElement* AddRepeatBegin(ARRepeatBegin* repeat);
  // Null for a repeat end written as a range with a count: the range draws it.
  GRNotationElement* AddRepeatEnd(ARRepeatEnd* repeat);
  GRNotationElement* AddIntens(ARIntens* intens);
  // Whether a dynamic mark was ever added: only such a staff has marks to move below its notes.
  bool holdsDynamicMarks() const { return mHoldsDynamicMarks; }
  // Whether a dynamic mark or a wedge stands under the staff at some time from `from` to `to`
  // (both included).
  bool holdsMarksUnderBetween(Fraction const& from, Fraction const& to) const;
  // How low the tuplet brackets under the staff reach at some time from `from` to `to` (both
  // included); minus infinity without any.
  float bracketsReachUnderBetween(Fraction const& from, Fraction const& to) const;
  // Whether a text, or the placeholder of one running on, was ever added: only such a staff
  // has texts to stack under it.
  bool holdsTexts() const { return mHoldsTexts; }
  // Whether the staff made an octava's mark: only such a staff has marks under its music.
  bool holdsOctavaMarks() const { return mHoldsOctavaMarks; }
  void AddTail(GRNotationElement* element) override;
  // A note of the voice stands on the staff.
  void holdNoteOf(GRVoice const* voice);
  // Whether notes of more than one voice stand on the staff: their marks then go to each voice's
  // own side, clear of the other.
  bool isSharedByVoices() const { return mSharedByVoices; }
  // A tag element of the staff, in time order like any other.
  GRNotationElement* AddTag(GRNotationElement* tag) { return addNotationElement(tag); }
  // Inserts before position; a null position (or the head) inserts at the head.
  void AddElementAt(void* position, GRNotationElement* element);
  // Opens a new line in the state carried over from the line before: the clef and key in force
  // (on spring springId, registered with the manager) and the second glue.
  void CreateBeginElements(GRStaffManager* manager, GRStaffState& state, int springId);
  // Marks an octava of the shift that goes on into the line where its music starts, beside the
  // line's second glue; a line that writes an octava's mark of its own there keeps only that.
  void MarkOctavaGoingOn(GRStaffManager* manager, GRGlue* glue, int shift);
  // The staff's lines from 0 to its length, widened by every element where it stands and by the
  // room of the marks beside its notes.
  void updateBoundingBox() override;
  // A mark beside a note of the staff: the staff keeps its room (the mark itself stands on the
  // staff where it began).
  void keepRoomFor(GRRoomBeside const* mark);
  // Takes the boxes of its elements (and their shared stems) into its own, then lets the
  // spanners on it finish.
  virtual void FinishStaff();
  // Its time span, then its elements' own print, on standard error.
  void print() const override;
  // "\draw_staff<identity,lines,x,y,end x>", then the elements' own output.
  void GGSOutput() const override;
  // Rods between the groups of elements that share a spring, up to the end spring.
  void createNewRods(GRStaffManager* manager, int& startspr, int& endspr);
  GRRod* getLastRod() const { return mLastRod; }
  // The top of the highest event of the staff that reaches into [left, right] along it, in the
  // staff's coordinates, when it is above 0; else 0. The events' extents are gathered on the
  // first question after the layout and kept: every jump mark on the staff asks it.
  // An event also counts when its box (its head and dots) comes nearer than near to the span.
  float highestEventTopBetween(float left, float right, float near = 0) const;
  // The same over the staves of this number all along the line: a mark reaches over the bar
  // lines into the slices beside its own.
  float highestEventTopAlongLine(float left, float right, float near = 0) const;
  // The voltas that begin on the staves of this number along the line, gathered with the events.
  std::vector<GRVolta const*> voltasAlongLine() const;

 private:
  void noteText(GRNotationElement const* element);
  // An event's reach along the staff and its top.
  struct EventExtent {
    float left;
    float right;
    float top;
    float boxLeft;
    float boxRight;
    // Where the extent or the box begins and ends, whichever reaches further.
    float from() const { return std::min(left, boxLeft); }
    float to() const { return std::max(right, boxRight); }
  };
  float positionAtFirstOctave(int pitch, int fromOctave, int step, float limit) const;
  // Unlinks the elements of the staff (and the spanners it holds pieces of) from each other
  // before they go while the rest of the layout stays.
  static void ForgetOwnAssociations(std::vector<GRNotationElement*>& own,
                                    std::vector<GRPositionTag*> const& spanners);
  // The staves of the same number in the slices before and after this one on its line.
  struct LineNeighbours {
    GRStaff const* before = nullptr;
    GRStaff const* after = nullptr;
    bool opensSystem = true;
  };
  LineNeighbours lineNeighbours() const;
  // Draws the lines of the run of staves of this number it opens on its line (see the file).
  void drawLines(VGDevice& device) const;
  // Where the lines of this staff give way to those of next, the staff of the next slice: at
  // the bar line this one ends with, else where next begins.
  float linesGiveWayAt(GRStaff const& next) const;
  // Where the staff's own stretch of lines begins and ends: its x and end, or where its lines
  // take over from, or give way to, other lines.
  float linesLeft(LineNeighbours const& around) const;
  float linesRight(LineNeighbours const& around) const;
  void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;

  void startMeasure();
  // Records the sign of a note for the rest of its measure; that of a note tied over from
  // before only once the time after it comes, when holdTied.
  void writeAccidentalsOf(GRNotationElement const* element, bool holdTied = false);
  // The measure starts over, numbered by the bar or counted on.
  void startBarMeasure(ARBar const* bar);
  // A bar in the "system" bar format is drawn across the system as well.
  bool barsAcrossSystem() const;
  void setInstrumentTransposition(char const* transp);
  // Where a tag added now starts: the end of the last element, else the staff's time; never
  // after the tag's own time.
  Fraction nextElementTime(ARMusicalObject const* tag) const;

  GRRod* mLastRod = nullptr;
  GRGlue* mEndGlue = nullptr;
  GRGlue* mStartGlue = nullptr;
  GRGlue* mSecondGlue = nullptr;
  GRSystem* mGrSystem = nullptr;
  GRSystemSlice* mGrSystemSlice;
  float mLength = 0;
  GRStaffState mStaffState;
  // The key shown at the staff's start, carried from the staff before it on the same line.
  int mShownKeyAtStart = 0;
  // The clef and key in force where the staff began, taken over from the staff before it: what
  // a clef or key that a voice carries to a new line stands for.
  ARClef* mClefInForce = nullptr;
  ARKey* mKeyInForce = nullptr;
  bool mHoldsDynamicMarks = false;
  bool mHoldsTexts = false;
  bool mHoldsOctavaMarks = false;
  // The mark of the octava going on into the line, until the line's first event.
  GRSText* mOctavaGoingOn = nullptr;
  GRVoice const* mFirstVoice = nullptr;
  bool mSharedByVoices = false;
  std::vector<GRRoomBeside const*> mMarksBeside;
  std::vector<GRIntens const*> mDynamicMarks;
  // Sorted by their left ends, with the widest reach among them; the events whose reach is not
  // a number apart.
  mutable std::vector<EventExtent> mEventExtents;
  mutable std::vector<EventExtent> mUnplacedEvents;
  mutable float mWidestEvent = -1;
  mutable std::vector<GRVolta const*> mVoltas;
  void gatherExtents() const;
};
