#include "ARChord.h"

ARChord::ARChord() : ARMusicalEvent(Frac_0), KF_IPointerList<ARMusicalObject>(1) {}

void* ARChord::AddTail(ARMusicalObject* member) {
  member->setRelativeTimePosition(getRelativeTimePosition());
  if (member->getDuration() > getDuration()) ARMusicalEvent::setDuration(member->getDuration());
  return KF_IPointerList<ARMusicalObject>::AddTail(member);
}

void ARChord::setRelativeTimePosition(Fraction const& time) {
  ARMusicalEvent::setRelativeTimePosition(time);
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->setRelativeTimePosition(time);
}

void ARChord::setDuration(Fraction const& duration) {
  ARMusicalEvent::setDuration(duration);
  for (void* pos = GetHeadPosition(); pos;) GetNext(pos)->setDuration(duration);
}
