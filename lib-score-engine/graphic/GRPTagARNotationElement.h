#pragma once

#include "GRARNotationElement.h"
#include "GRPositionTag.h"

// A range tag that is also an element. The layout keeps it as its element and reaches the tag
// side by cross cast; colour, size, offset, font and associations answer the same through
// either base.
class GRPTagARNotationElement : public GRPositionTag, public GRARNotationElement {
 public:
  // The end position is the abstract range tag's.
  explicit GRPTagARNotationElement(ARMusicalObject* obj, bool ownsAR = false);
  GRPTagARNotationElement(void* endPosition, ARMusicalObject* obj, bool ownsAR = false);
  // The elements spanned are not told: the layout deletes a tag only when no piece is left, and
  // by then the elements at its ends have forgotten it.
  ~GRPTagARNotationElement() override;

  NVPoint const& getOffset() const override { return GRTag::getOffset(); }
  float getSize() const override { return GRTag::getSize(); }
  NVstring const* getFont() const override { return GRTag::getFont(); }
  NVstring const* getFontAttrib() const override { return GRTag::getFontAttrib(); }
  int getFontSize() const override { return GRTag::getFontSize(); }
  unsigned char const* getColRef() const override { return GRTag::getColRef(); }

  using GRNotationElement::removeAssociation;
  // The element joins the tag's list, then the piece of its system takes note.
  void addAssociation(GRNotationElement* element) override;
  // The piece of its system lets it go, then the list.
  void removeAssociation(GRNotationElement* element) override;
};
