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
};
