#include "ARMusic.h"

#include <iostream>

#include "ARMusicalVoice.h"
#include "src/common/assertion.h"

ARMusic::ARMusic() : KF_IPointerList<ARMusicalVoice>(1), ARMusicalEvent(Fraction(0, 1)) {}

ARMusic::~ARMusic() {
  RemoveAll();
}

void ARMusic::AddTail(ARMusicalVoice* newMusicalVoice) {
  MELVARIN_ASSERT(newMusicalVoice);
  KF_IPointerList<ARMusicalVoice>::AddTail(newMusicalVoice);
}

void ARMusic::doAutoStuff() {}

void ARMusic::output(std::ostream& os, bool withAuto) const {
  os << " { ";
  bool first = true;
  for (void* pos = GetHeadPosition(); pos;) {
    ARMusicalVoice const* voice = GetNext(pos);
    if (!first) os << " , ";
    first = false;
    voice->output(os, withAuto);
  }
  os << " } ";
}

std::ostream& ARMusic::operator<<(std::ostream& os) const {
  output(os, true);
  return os;
}

void ARMusic::print() const {
  output(std::cout, true);
}
