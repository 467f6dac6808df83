#include "ARPositionTag.h"

void* ARPositionTag::getEndPosition() const {
  return correspondence ? correspondence->getPosition() : endPosition;
}

void ARPositionTag::setEndPosition(void* pos) {
  if (correspondence)
    correspondence->setPosition(pos);
  else
    endPosition = pos;
}
