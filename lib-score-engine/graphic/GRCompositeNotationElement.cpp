#include "GRCompositeNotationElement.h"

GRCompositeNotationElement::~GRCompositeNotationElement() {
  mCompElements.RemoveAll();
}

void GRCompositeNotationElement::setGRStaff(GRStaff* staff) {
  GRNotationElement::setGRStaff(staff);
  void* pos = First();
  while (pos) GetNext(pos)->setGRStaff(staff);
}
