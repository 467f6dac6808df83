#pragma once

#include <map>
#include <memory>
#include <ostream>
#include <unordered_map>
#include <vector>

#include "Fraction.h"
#include "GREvent.h"
#include "GRStaff.h"
#include "GRSystemSlice.h"
#include "NEPointerList.h"
#include "kf_ilist.h"
#include "kf_ivect.h"
#include "ledger_line_room.h"
#include "line_marks.h"
#include "music_ink.h"
#include "music_top.h"

class ARAccol;
class ARMusic;
class ARSystemFormat;
class GRAccolade;
class GRBar;
class GRPage;
class GRRod;
class GRSliceHeight;
class GRSpaceForceFunction2;
class GRSpring;
class GRStaff;
class GRStaffManager;

// One line of music on a page: a run of consecutive system slices, the springs under them placed
// at the force that fills the page's inner width, the staves stacked by the slices' heights, the
// accolade at its left edge, and the system-wide bars and tags among its elements.
class GRSystem : public GREvent {
 public:
  // A system that is not laid out: slices and staves can belong to it on their own.
  GRSystem();
  // Not supported: a system is made from the slices of a line. Stops the program.
  GRSystem(GRPage* page, Fraction const& startDate);
  // Takes count slices from the front of pending (after beginSlice, when given), and the springs
  // up to the last of them from springs, which keeps the rest. The last system of a piece that
  // fits on this one line keeps its natural width. The line is indented by the format's offset,
  // or by leastIndent where that is more.
  GRSystem(GRStaffManager* manager, GRPage* page, Fraction const& startDate,
           KF_IPointerList<GRSystemSlice>& pending, int count, GRSystemSlice* beginSlice,
           KF_IVector<GRSpring>& springs, ARSystemFormat* format, bool lastSystem,
           float leastIndent = 0);
  ~GRSystem() override;

  // Reports the system, then draws its slices (or staves), accolade, left line and own elements
  // relative to its position.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;
  // The system format's offset moves the system to the right.
  void setPosition(NVPoint const& point) override;
  // With staves of its own, the box is theirs and its elements', and they reach its right end.
  void updateBoundingBox() override;
  // The staves of its slices (or its own), then its own elements, placed at its position.
  void GGSOutput() const override;

  // The page's inner width less the format's offset, in centimetres.
  virtual float getSystemWidthCm() const;
  virtual GRPage* getGRPage() const { return mPage; }
  // The page that will show the system.
  void setGRPage(GRPage* page) { mPage = page; }
  ARMusic* getARMusic() const;
  // The format's offset, or leastIndent where that is more, indents the line.
  void setSystemFormat(ARSystemFormat const* format, float leastIndent = 0);
  void notifyAccoladeTag(ARAccol const* tag);

  // The system owns the slice; the first one gives the system its start date.
  void AddSystemSlice(GRSystemSlice* slice);
  GRSystemSlice* getFirstGRSystemSlice() const { return mSystemSlices.GetHead(); }
  KF_IPointerList<GRSystemSlice> const& getSlices() const { return mSystemSlices; }
  // Calls visit(number, staff) for each staff of each slice, slice after slice.
  template <class Visit>
  void forEachStaff(Visit&& visit) const {
    for (void* pos = mSystemSlices.GetHeadPosition(); pos;) {
      GRSystemSlice* slice = mSystemSlices.GetNext(pos);
      int lowest = 0;
      int highest = -1;
      slice->getStaffRange(lowest, highest);
      for (int i = lowest; i <= highest; ++i)
        if (GRStaff* staff = slice->getStaff(i)) visit(i, staff);
    }
  }
  // The slice before slice in this system, null for the first or a stranger.
  GRSystemSlice* getPreviousSlice(GRSystemSlice const* slice) const;
  // For a system built staff by staff; the system owns the staff.
  void addStaff(GRStaff* staff, int index);
  using GREvent::getStaffNumber;
  // The staff's own index, else the number the first slice that knows the staff gives it; -1
  // when none does.
  int getStaffNumber(GRStaff const* staff) const;

  // The lowest point of the notes on the line of staves of the given number (that staff in each
  // slice) with their stems, signs and beams, in the staff's coordinates; minus infinity where it
  // holds none. Worked out on the first question after the layout and kept: every text under the
  // line asks it.
  float lowestNoteOnLine(int staffNumber) const;
  // The reaches of the music on that line of staves, gathered on the first question after the
  // layout and kept: every mark over the line asks them.
  MusicTops const& musicTops(int staffNumber) const;
  // The same music's bottoms, for the marks under the line.
  MusicTops const& musicBottoms(int staffNumber) const;
  // How far all the ink of the music on that line of staves reaches, gathered on the first
  // question after the layout and kept: every dynamic mark and wedge on the line asks it.
  MusicInk const& musicInk(int staffNumber) const;
  // The same ink without the curves, the octavas' figures and the words over the notes, with the
  // breath marks: the words ask it, to stand over the music under them.
  MusicInk const& notesInk(int staffNumber) const;
  // Where the ledger lines on that line of staves stop short of each other, worked out on the
  // first question after the layout and kept: every note with ledger lines asks it.
  LedgerLineRoom const& ledgerLineRoom(int staffNumber) const;
  // Every element of the line of staves of that number (that staff in each slice), in order,
  // with the staff that holds it.
  template <class Visit>
  void forEachElementOnLine(int staffNumber, Visit&& visit) const {
    for (void* pos = mSystemSlices.GetHeadPosition(); pos;) {
      GRStaff const* staff = mSystemSlices.GetNext(pos)->getStaff(staffNumber);
      if (!staff) continue;
      NEPointerList const& elements = staff->getElements();
      for (void* at = elements.GetHeadPosition(); at;) visit(elements.GetNext(at), staff);
    }
  }
  // Where the marks of that line of staves stand beside each other, worked out on the first
  // question after the layout and kept.
  LineMarks const& lineMarks(int staffNumber) const;
  // Forgets what was worked out from where the elements stand, once one of them has moved.
  void forgetMeasuredMusic() const;

  // Null while the system has no springs, and for an id outside them.
  GRSpring* getGRSpring(int id) const;
  GRSpring* getSpring(int id) const { return getGRSpring(id); }
  KF_IVector<GRSpring> const* getSprings() const { return mSprings.get(); }
  void addToSpring(GRNotationElement* element, int id);
  // A system-wide copy of the staff's bar, which the system owns.
  void addBar(GRBar* bar, int barType, GRStaff* staff);
  void addSystemTag(GRNotationElement* element) { AddTail(element); }

  // Lets every slice finish.
  void FinishSystem();
  // Places the springs one after the other from x = 0 and updates the staves.
  void dospacing();
  void setMeterOfStaffs() {}
  void setSpringParameter(float) {}

  void DrawAccolade(VGDevice& device, NVPoint const& top, NVPoint const& bottom) const;
  void DrawSystemSprings(VGDevice& device, VScoreSymbolMap& map) const;
  void DrawSystemForce(VGDevice& device) const;
  // One line per slice and staff with its box, for the page's trace.
  void traceSlices(std::ostream& os) const;

  Fraction const& getStartDate() const { return mStartDate; }
  float getForce() const { return mForce; }
  float getXOffset() const { return mXOffset; }
  GRAccolade const* getAccolade() const { return mAccolade.get(); }
  GRSpaceForceFunction2 const* getSpaceForceFunction() const { return mSpaceForceFunction.get(); }

 private:
  void takeSlices(GRStaffManager* manager, KF_IPointerList<GRSystemSlice>& pending, int count);
  // Each staff at the height the slices give its number; the system's box spans them.
  void placeStaves(GRSliceHeight const& heights);
  void endSystemBars();
  // Moves the staves down where a beam of a staff, as it ends, a tuplet's bracket or number, or an
  // articulation between two staves reaches the music of the staff below or above.
  void keepStavesClearOfBeams();
  // Places the tuplets' brackets again, over the rests that moved out of their notes' way.
  void placeTupletsAgain();
  // Moves the staves down where the texts under a staff, or the marks of `marks` (where they
  // stand under each line of staves), reach the next one, and takes the texts and marks under
  // the last staff into the system's height.
  void keepStavesClearOfTexts(std::map<int, std::vector<NVRect>> const& marks);
  // Takes the octava marks into the system's height: they stand under the lowest note of their
  // staff's line, or over its highest, further out than the staff's box.
  void keepOctavaMarksInBox();
  // The tempo marks over the top staff, lifted over its music, stand in the system's box.
  void keepTempoMarksInBox();
  // Jump marks stand over the music and the words at its notes: the system reaches up to them.
  void keepJumpMarksInBox();
  // Places the slurs and ties of each line again, now that its music stands where it is drawn,
  // clear of the ink they pass: the ties first, the slurs outside them.
  void keepCurvesClear();
  // Takes all the ink of the music into the system's height: rests moved out of another voice's
  // way, tuplets' brackets and numbers and stems may reach past the staves' boxes, where the
  // marks under the system above would meet them.
  void keepMusicInBox();
  // Widens the springs of the line from firstId to endId whose heads its force sets closer than
  // their air (see HeadsApartWithAir), at the cost of the others; false where the line has not
  // the room for its heads to stand clear of one another.
  bool keepHeadsApart(int firstId, int endId);
  // The staff of the highest number in the last slice.
  GRStaff const* lastStaff() const;
  void adoptElementsOf(GRSystemSlice* slice);

  Fraction mStartDate;
  float mForce = 0;
  float mXOffset = 0;
  std::unique_ptr<KF_IVector<GRSpring>> mSprings;
  std::unique_ptr<GRSpaceForceFunction2> mSpaceForceFunction;
  KF_IPointerList<GRSystemSlice> mSystemSlices{1};
  GRPage* mPage = nullptr;
  std::unique_ptr<GRAccolade> mAccolade;
  std::unique_ptr<KF_IVector<GRStaff>> mStaffs;
  mutable std::unordered_map<int, float> mLowestNotes;
  mutable std::unordered_map<int, std::unique_ptr<MusicTops>> mMusicTops;
  mutable std::unordered_map<int, std::unique_ptr<MusicTops>> mMusicBottoms;
  mutable std::unordered_map<int, std::unique_ptr<MusicInk>> mMusicInks;
  mutable std::unordered_map<int, std::unique_ptr<MusicInk>> mNotesInks;
  mutable std::unordered_map<int, std::unique_ptr<LineMarks>> mLineMarks;
  mutable std::unordered_map<int, std::unique_ptr<LedgerLineRoom>> mLedgerLineRooms;
};
