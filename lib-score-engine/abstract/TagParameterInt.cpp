#include "TagParameterInt.h"

#include <climits>
#include <cmath>

#include "TagTextNumber.h"

TagParameterInt::TagParameterInt(int value) : TagParameterFloat(static_cast<float>(value)) {}

TagParameter* TagParameterInt::getCopy() const {
  return new TagParameterInt(*this);
}

bool TagParameterInt::copyValue(TagParameter* other) {
  if (!other || !other->isInt()) return false;
  mValue = static_cast<TagParameterInt*>(other)->mValue;
  return true;
}

// A decimal integer as atoi reads it, but numbers beyond the int range (undefined for atoi)
// stay at its ends.
void TagParameterInt::setValue(char const* text) {
  mValue = static_cast<float>(ReadTagTextInt(text));
}

// Set from a float parameter or from text such as "2147483647", the float may lie beyond the int
// range, where a plain conversion is undefined.
int TagParameterInt::getValue() const {
  if (std::isnan(mValue)) return 0;
  if (mValue >= 2147483648.0f) return INT_MAX;
  if (mValue <= -2147483648.0f) return INT_MIN;
  return static_cast<int>(mValue);
}
