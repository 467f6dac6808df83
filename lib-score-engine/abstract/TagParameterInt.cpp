#include "TagParameterInt.h"

#include <cstdlib>

TagParameterInt::TagParameterInt(int value) : TagParameterFloat(static_cast<float>(value)) {}

TagParameter* TagParameterInt::getCopy() const {
  return new TagParameterInt(*this);
}

bool TagParameterInt::copyValue(TagParameter* other) {
  if (!other || !other->isInt()) return false;
  mValue = static_cast<TagParameterInt*>(other)->mValue;
  return true;
}

void TagParameterInt::setValue(char const* text) {
  mValue = static_cast<float>(std::atoi(text));
}
