#include "TagTextNumber.h"

#include <cctype>
#include <climits>

int ReadTagTextInt(char const* text, char const** end) {
  char const* p = text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  // Counted towards the sign's end of the range, which holds one more for negative numbers.
  const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
  long long value = 0;
  char const* digits = p;
  for (; std::isdigit(static_cast<unsigned char>(*p)); ++p)
    if (value < limit) value = value * 10 + (*p - '0');
  if (end) *end = p == digits ? text : p;
  if (value > limit) value = limit;
  return static_cast<int>(negative ? -value : value);
}
