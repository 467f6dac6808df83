#pragma once

#include "GRARNotationElement.h"
#include "GRTag.h"

// A single tag that is also an element: colour, size, offset and font answer the same through
// either base, so drawing code that sees only the element draws the tag's own settings.
class GRTagARNotationElement : public GRTag, public GRARNotationElement {
 public:
  // The tag side reads obj when it is a tag.
  GRTagARNotationElement(ARMusicalObject* obj, float lineSpace, bool ownsAR = false);

  NVPoint const& getOffset() const override { return GRTag::getOffset(); }
  float getSize() const override { return GRTag::getSize(); }
  NVstring const* getFont() const override { return GRTag::getFont(); }
  NVstring const* getFontAttrib() const override { return GRTag::getFontAttrib(); }
  int getFontSize() const override { return GRTag::getFontSize(); }
  unsigned char const* getColRef() const override { return GRTag::getColRef(); }

  // After a bar line in mid line: draws the sign further right of its place, so that its ink
  // begins `lead` before the place, as a key's does, and keeps at least `air` between its ink
  // and what follows. It moves into the air it keeps on its right where it can, so a line that
  // opens with the sign can take the move back.
  void standInkFrom(float lead, float air);
  // Where a line opens with the sign, it follows the line's clef and key at its place, with
  // the room after it that it has there.
  void standAtPlace();
  // How far before and after its place the sign's ink reaches, unmoved: its left space for a
  // sign centred there, and, not knowing better, all of its right space.
  virtual float inkLead() const { return mLeftSpace; }
  virtual float inkRight() const { return mRightSpace; }

 protected:
  // Moves what the sign draws, and its box, that far right.
  virtual void moveInk(float dx);

 private:
  float mInkShift = 0;
  // The room on its right before it stood clear of a bar line; negative while it has not.
  float mRightSpaceAtPlace = -1;
};
