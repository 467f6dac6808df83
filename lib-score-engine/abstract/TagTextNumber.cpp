#include "TagTextNumber.h"

#include <climits>
#include <cstdlib>

int ReadTagTextInt(char const* text, char const** end, int base) {
  char* stop = nullptr;
  // A long long holds every int, and strtoll itself stays at its own ends beyond that.
  const long long value = std::strtoll(text, &stop, base);
  if (end) *end = stop;
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}
