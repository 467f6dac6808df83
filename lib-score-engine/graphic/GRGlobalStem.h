#pragma once

#include "GDirection.h"
#include "GRPTagARNotationElement.h"
#include "GRSystemTagInterface.h"

class ARDisplayDuration;
class ARNoteFormat;
class ARShareStem;
class ARTStem;
class GREvent;
class GRFlag;
class GRNotationElement;
class GRSingleNote;
class GRStdNoteHead;
class GRStem;

// The one stem and flag of a group of notes at one place (a chord): it decides their direction
// and length from the notes' heights and puts heads a second apart on the other side of the
// stem. A group that spans staves is placed once the system's staves are.
class GRGlobalStem : public GRPTagARNotationElement, public GRSystemTagInterface {
 public:
  GRGlobalStem(GRStaff* staff, ARShareStem* tag, ARTStem* stemTag, ARDisplayDuration* dispDurTag,
               ARNoteFormat* format);
  // The group's events forget the stem.
  ~GRGlobalStem() override;

  // Events only: the first leads the group, the others are associated.
  void addAssociation(GRNotationElement* element) override;
  using GRPTagARNotationElement::removeAssociation;
  void removeAssociation(GRNotationElement* element) override;
  void RangeEnd(GRStaff* staff) override;

  virtual void setSize(float value) { size = value; }
  virtual void setNoteStemLength(GREvent* event, float length);
  virtual GRFlag* getGRFlag() const { return mGroupFlag; }
  virtual GRStem* getGRStem() const { return mGroupStem; }
  virtual int getNumFaehnchen() const;
  void checkPosition(GRSystem const* system) override;
  virtual GDirection getStemDir() const;
  virtual float changeStemLength(float length);
  void setHPosition(float x) override;
  // The stem's line, from the notes to its far end, in the first note's staff: what the staff's
  // box and the marks beside the chord keep clear of. Empty without a stem.
  void updateBoundingBox();
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  virtual GRNotationElement* getFirstEl() const { return mFirstEl; }
  void tellPosition(GObject* caller, NVPoint const& point) override;
  virtual void setFlagOnOff(bool on);
  virtual void setStemDirection(GDirection direction);
  virtual NVPoint getStemStartPos() const;
  virtual NVPoint getStemEndPos() const;
  virtual float getStemLength() const;
  // How far the group's heads pushed to the right of the stem stand right of their notes; 0 when
  // none is.
  float getHeadsRightShift() const;
  // The heads of the associated notes with the smallest and the largest y.
  virtual bool getHighestAndLowestNoteHead(GRStdNoteHead** highest, GRStdNoteHead** lowest) const;
  virtual bool getStemDirSet() const { return mStemDirSet; }
  // The score gave the group's voice stems down.
  bool hasStemsGivenDown() const;
  virtual bool getStemLengthSet() const { return mStemLengthSet; }

  float getLowestY() const { return mLowestY; }
  float getHighestY() const { return mHighestY; }
  Fraction const& getDisplayDuration() const { return mDisplayDuration; }

 private:
  // The events of the group, the first one included, that have a height.
  template <class Visit>
  void ForEachEvent(Visit visit) const;
  // The smallest and largest y of the group and their mean, on the first event's staff.
  float MeasureHeights();
  float NoteY(GRNotationElement const* element) const;
  GDirection ChooseDirection(float meanY) const;
  void PlaceStemAndFlag(GDirection direction);
  void updateGlobalStem();

  bool mIsSystemCall = false;
  bool mFlagOn = true;
  bool mStemDirSet = false;
  bool mStemLengthSet = false;
  int mStemDir = 0;
  GRStem* mGroupStem = nullptr;
  GRFlag* mGroupFlag = nullptr;
  ARTStem* mStemTag;
  Fraction mDisplayDuration;
  GRNotationElement* mFirstEl = nullptr;
  float mLowestY = 0;
  float mHighestY = 0;
  float mLineSpace;
};
