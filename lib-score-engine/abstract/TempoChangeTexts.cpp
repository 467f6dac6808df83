#include "TempoChangeTexts.h"

#include "TagClassSupport.h"

void TempoChangeTexts::Take(TagParameterList& own) {
  tempo = TakeOfKind<TagParameterString>(own, 0);
  abstempo = TakeOfKind<TagParameterString>(own, 1);
}
