#include "ARBreathMark.h"

#include "RmnOutput.h"

void ARBreathMark::print() const {
  PrintRmnLine(*this);
}
