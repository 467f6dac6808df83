#include "GRSystemTag.h"

#include "GRSystemTagInterface.h"

void GRSystemTag::checkPosition(GRSystem const* system) {
  if (mSystemTag) mSystemTag->checkPosition(system);
}
