#include "GRTagARNotationElement.h"
#include "ARCast.h"

#include "ARMusicalTag.h"

GRTagARNotationElement::GRTagARNotationElement(ARMusicalObject* obj, float lineSpace, bool ownsAR)
    : GRTag(ar_cast<ARMusicalTag const>(obj), lineSpace), GRARNotationElement(obj, ownsAR) {}
