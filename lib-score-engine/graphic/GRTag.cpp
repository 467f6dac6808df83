#include "GRTag.h"

#include "ARMusicalTag.h"
#include "NVstring.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

GRTag::GRTag(ARMusicalTag const* tag, float lineSpace) {
  if (!tag) return;
  if (tag->IsStateTag()) tagType = STAFFTAG;
  if (tag->getIsAuto()) isAutoTag = 1;
  if (tag->getError()) error = tag->getError();
  if (tag->getColor()) {
    colRef = new unsigned char[4];
    // Not a colour: drawn black.
    if (!tag->getColor()->getRGB(colRef)) {
      delete[] colRef;
      colRef = nullptr;
    }
  }
  if (tag->getDX()) offset.x = tag->getDX()->getValue(lineSpace);
  if (tag->getDY()) offset.y = -tag->getDY()->getValue(lineSpace);
  if (tag->getSize()) size = tag->getSize()->getValue(50);
}

GRTag::~GRTag() {
  delete[] colRef;
  delete font;
  delete fontAttrib;
}
