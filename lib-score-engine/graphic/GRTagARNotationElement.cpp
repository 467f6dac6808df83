#include "GRTagARNotationElement.h"

#include "ARMusicalTag.h"

GRTagARNotationElement::GRTagARNotationElement(ARMusicalObject* obj, float lineSpace, bool ownsAR)
    : GRTag(dynamic_cast<ARMusicalTag const*>(obj), lineSpace), GRARNotationElement(obj, ownsAR) {}
