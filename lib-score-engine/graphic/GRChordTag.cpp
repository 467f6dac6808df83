#include "GRChordTag.h"

#include "ARUserChordTag.h"

GRChordTag::GRChordTag(GRStaff* staff, ARUserChordTag* chord) : GRPTagARNotationElement(chord) {
  mGrStaff = staff;
  addFirstStartEnd(staff);
}

NVstring const& GRChordTag::getLabel() const {
  auto const* chord = dynamic_cast<ARUserChordTag const*>(getAbstractRepresentation());
  if (!chord) return *NVstring::emptyString;
  mLabel = chord->getLabelValue().c_str();
  return mLabel;
}
