#pragma once

#include <ostream>

#include "Fraction.h"
#include "GObject.h"

class ARMusicalObject;
class GRStaff;
class GRSystemSlice;
class NEPointerList;

// A drawable element of the score: an optional music-font symbol, the staff it stands on, its
// time and duration, the springs that space it and the elements associated with it (those it
// tells its position to, and the tags that span it).
class GRNotationElement : public GObject {
 public:
  GRNotationElement() = default;
  GRNotationElement(GRNotationElement const&) = delete;
  // Every associated element forgets this one.
  ~GRNotationElement() override;

  // Tells the new position to every associated element, except those that are themselves telling
  // theirs: an element and a tag may each hold the other, and a notice passed on that way would
  // go round between them for ever.
  void setPosition(NVPoint const& point) override;
  void setHPosition(float x) override;
  // Takes the position told, unless the element is placed by its own spring.
  void tellPosition(GObject* caller, NVPoint const& point) override;
  // Draws the symbol, if any; reports nothing to the map.
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override;
  // The element's symbol, if any, as an image of the graphic stream.
  void GGSOutput() const override;

  virtual void setGRStaff(GRStaff* staff) { mGrStaff = staff; }
  virtual float getLeftSpace() const { return mLeftSpace; }
  virtual float getRightSpace() const { return mRightSpace; }
  virtual void setLeftSpace(float space) { mLeftSpace = space; }
  virtual void setRightSpace(float space) { mRightSpace = space; }
  virtual void setNeedsSpring(int needs) { mNeedsSpring = needs; }
  virtual int getNeedsSpring() const { return mNeedsSpring; }
  virtual int getSpringID() const { return mSpringID; }
  virtual void tellSpringID(int id) { mSpringID = id; }
  virtual void removeAssociation(NEPointerList const& elements);
  virtual void removeAssociation(GRNotationElement* element);
  virtual NVPoint getTieEnd() const { return mPosition; }
  virtual NVPoint getTieStart() const { return mPosition; }
  // Left edge on the base line.
  virtual unsigned int getTextAlign() const { return 17; }
  virtual ARMusicalObject const* getAbstractRepresentation() const { return nullptr; }
  virtual Fraction const& getDuration() const { return mDurationOfGR; }
  virtual void setDuration(Fraction const& duration) { mDurationOfGR = duration; }
  virtual void setRelativeTimePosition(Fraction const& tp) { mRelativeTimePositionOfGR = tp; }
  virtual void setRelativeEndTimePosition(Fraction const& end);
  virtual Fraction const& getRelativeTimePosition() const { return mRelativeTimePositionOfGR; }
  virtual Fraction getRelativeEndTimePosition() const;
  virtual void recalcVerticalPosition() {}
  virtual void addAssociation(GRNotationElement* element);
  // Whether telling the element its place sets the stems of notes (a beam does).
  virtual bool setsStems() const { return false; }
  virtual void print() const {}
  virtual void print(std::ostream& os) const;
  // The symbol as an image of the graphic stream, at the position moved by dx, dy.
  virtual void GGSOutputAt(unsigned int symbol, long dx, long dy, float size) const;

  GRStaff* getGRStaff() const { return mGrStaff; }
  GRSystemSlice* getGRSystemSlice() const;
  int getStaffNumber() const;
  unsigned int getSymbol() const { return mSymbol; }
  void setSymbol(unsigned int symbol) { mSymbol = symbol; }
  // Null until something is associated.
  NEPointerList* getAssociations() const { return mAssociated; }
  // While true, the element is telling its associated elements its position, and takes no
  // notice of positions told back to it along any path.
  bool isTellingPosition() const { return mTellingPosition; }
  void FreeAssociatedList();
  // Widens the box by element's box, taken where that element stands relative to this one.
  void addToBoundingBox(GRNotationElement* element);

  // Sorts elements that share a spring: by time, then start and second glues first and end
  // glues last, then bars, clefs, keys and meters in this order before all others; the class
  // must match exactly. Others at the same time are equal.
  static int ComparePos(GRNotationElement const* a, GRNotationElement const* b);

  // While one lives on the thread, the elements destroyed are those of a whole layout going at
  // once, the pages and voices of a music with everything in them. An element knows only
  // elements of its own layout, so none of them needs to be told that another goes, and none
  // may look at another, which may be gone already: the unlinking that a part of a layout going
  // alone needs is left out.
  class WholeLayoutGoes {
   public:
    WholeLayoutGoes() { ++sWholeLayoutGoing; }
    ~WholeLayoutGoes() { --sWholeLayoutGoing; }
    WholeLayoutGoes(WholeLayoutGoes const&) = delete;
    WholeLayoutGoes& operator=(WholeLayoutGoes const&) = delete;
  };
  static bool IsWholeLayoutGoing() { return sWholeLayoutGoing > 0; }

  // Draws symbol in the element's colour and alignment; the font colour is left opaque black
  // after a coloured symbol.
  void OnDrawSymbol(VGDevice& device, unsigned int symbol, float dx = 0, float dy = 0,
                    float size = 0) const;
  // Draws symbol at the position, moved by the offset, by the reference position scaled with
  // the size and by dx, dy. A size of 0 takes the element's own.
  void DrawSymbol(VGDevice& device, unsigned int symbol, float dx = 0, float dy = 0,
                  float size = 0) const;
  // Draws text in the element's font, colour and alignment; the reference position counts in
  // units of the font size.
  void OnDrawText(VGDevice& device, char const* text, int length) const;

 protected:
  unsigned int mSymbol = 0;
  bool mTellingPosition = false;
  GRStaff* mGrStaff = nullptr;
  int mNeedsSpring = 0;
  int mSpringID = -1;
  float mLeftSpace = 0;
  float mRightSpace = 0;
  Fraction mDurationOfGR;
  Fraction mRelativeTimePositionOfGR;
  NEPointerList* mAssociated = nullptr;

 private:
  void tellAssociations();

  static inline thread_local int sWholeLayoutGoing = 0;
};

std::ostream& operator<<(std::ostream& os, GRNotationElement const& element);

// Vertical order of elements on a system: by y, each staff number counting 1000 units further
// down; an element without a staff counts 1000 units up.
int compnotposy(GRNotationElement const* el1, GRNotationElement const* el2);
