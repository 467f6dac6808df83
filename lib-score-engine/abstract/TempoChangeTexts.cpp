#include "TempoChangeTexts.h"

#include "BoundParameters.h"

void TempoChangeTexts::Take(TagParameterList& own) {
  tempo = TakeOfKind<TagParameterString>(own, 0);
  abstempo = TakeOfKind<TagParameterString>(own, 1);
}
