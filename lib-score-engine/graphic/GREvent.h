#pragma once

#include <memory>
#include <vector>

#include "GDirection.h"
#include "GRARCompositeNotationElement.h"
#include "NVstring.h"
#include "OwnedColor.h"
#include "ScoreElementDesc.h"

class ARDotFormat;
class ARMusicalEvent;
class ARMusicalTag;
class GRArticulation;
class GRBeam;
class GRGlobalLocation;
class GRGlobalStem;
class GRNoteDot;

// The graphical side of a musical event (and of the page, system and slice): its glyph parts as
// sub-elements, and the drawing size, colour, offset, articulations and shared stem they all
// follow.
class GREvent : public GRARCompositeNotationElement {
 public:
  GREvent(GRStaff* staff, ARMusicalEvent* ar, bool ownsAR = false);
  // A piece of ar: the piece must lie within ar's time. The piece takes its own spring.
  GREvent(GRStaff* staff, ARMusicalEvent* ar, Fraction const& relativeTimePosition,
          Fraction const& duration);
  ~GREvent() override;

  void addToOffset(NVPoint const& offset) override;
  NVPoint const& getOffset() const override { return mOffset; }
  unsigned char const* getColRef() const override { return mColor.get(); }
  float getSize() const override { return mSize; }
  // The articulations follow the event.
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override;
  bool isGREventClass() const override { return true; }
  // The sub-elements' box and spaces, with the articulations' boxes.
  void updateBoundingBox() override;
  // A shared stem that goes is forgotten with the association.
  using GRARCompositeNotationElement::removeAssociation;
  void removeAssociation(GRNotationElement* element) override;

  virtual NVstring const& getStyle() const { return mStyle; }
  virtual void setSize(float size) { mSize = size; }
  virtual void addArticulation(ARMusicalTag* tag);
  // Every concrete event shortens itself its own way.
  virtual bool adjustLength(Fraction const& duration);
  virtual NVPoint getCrescEnd() { return getTieStart(); }
  // Room a text hung on the event needs beside it: the event keeps at least as much on each
  // side, whatever its glyphs need.
  void reserveSpace(float left, float right);
  virtual NVPoint getCrescStart() { return getTieEnd(); }
  virtual GRGlobalStem* getGlobalStem() const { return mGlobalStem; }
  // An event that is not the first of its stem's group shares the first one's spring.
  virtual void setGlobalStem(GRGlobalStem* stem);
  virtual void setGlobalLocation(GRGlobalLocation* location);
  virtual void setBeamStem(GRBeam*, float) {}
  virtual float setStemLength(float) { return 0; }
  virtual GDirection getStemDirection() const;
  virtual void setStemDirection(GDirection direction);
  virtual void setFlagOnOff(bool on);
  virtual bool getStemDirSet() const;
  virtual bool getStemLengthSet() const;
  virtual float getStemLength() const;
  virtual NVPoint getStemStartPos() const;
  virtual NVPoint getStemEndPos() const;
  virtual float changeStemLength(float length);
  virtual int getNumFaehnchen() const;
  virtual int getBeamCount() const { return mBeamCount; }
  virtual void incBeamCount() { ++mBeamCount; }
  virtual void decBeamCount() { --mBeamCount; }
  virtual void setFillsBar(bool fills, GRNotationElement*, GRNotationElement*) {
    mFillsBar = fills;
  }
  virtual bool getFillsBar() const { return mFillsBar; }
  virtual void createDots(Fraction const& duration, float dotOffset, NVPoint const& pos);
  virtual void setDotFormat(ARDotFormat const* format);
  virtual void setDotFormat(GRNoteDot* dot, ARDotFormat const* format);

  bool hasArticulation(int mask) const { return (mArticulationFlags & mask) != 0; }
  // The marks placed over or under the event, in the order they were added; empty for most.
  std::vector<std::unique_ptr<GRArticulation>> const& getArticulations() const;
  // While the event places its own articulations one after another it rebuilds its box once
  // after the last, not after each.
  bool placesArticulations() const;
  // The stem changed: the marks that depend on it follow it at once or, while beams told one
  // after another set it, once the last of them has.
  void followStem();
  // Places the marks that waited for the stem to settle (StemsSettling).
  void placeMarksOnSettledStem();
  int getArticulationFlags() const { return mArticulationFlags; }
  float getLineSpace() const { return mCurLSPACE; }
  GRNoteDot* getDot() const;
  bool isSyncopated() const;
  // The air a dot keeps before what follows it, in line spaces: touching the next head or rest
  // it would be read as part of that.
  static constexpr float kDotGap = 0.5f;
  void setColor(unsigned char const* rgba) { mColor.set(rgba); }

 protected:
  // The map record of this event: its date, duration and placed box, with the reference point at
  // its position.
  ScoreElementDesc PlacedElementDesc(int kind, int subtype) const;
  void tellArticulations();
  // How far right of the event's place its head stands, and its marks over (under) it with it.
  virtual float marksShift() const { return 0; }
  void drawArticulations(VGDevice& device, VScoreSymbolMap& map) const;
  // Keeps room on the right up to the end of the dots where they stand, and the air after them.
  void keepRoomForDots();

  int mArticulationFlags = 0;
  float mReservedLeft = 0;
  float mReservedRight = 0;
  NVstring mStyle;
  NVPoint mOffset;
  float mSize = 1;
  OwnedColor mColor;
  int mBeamCount = 0;
  float mCurLSPACE = 50;
  GRGlobalStem* mGlobalStem = nullptr;
  bool mFillsBar = false;

 private:
  struct Articulations;
  // Merges the articulations' boxes into the event's box.
  void mergeArticulationBoxes();

  // Made with the first articulation: most events have none.
  std::unique_ptr<Articulations> mArticulations;
};
