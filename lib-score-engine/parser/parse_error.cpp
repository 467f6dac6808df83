#include "parse_error.h"

#include <climits>
#include <cstdio>

long lnr = 1;
long cnr = 0;
int gParseErrorLine = 0;
int gParseErrorCol = 0;

namespace {

int ClampToInt(long value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

}  // namespace

int gd_error(char const* message) {
  gParseErrorLine = ClampToInt(lnr);
  gParseErrorCol = ClampToInt(cnr);
  std::printf("Razid error: %s (line %d, char %d)\n", message ? message : "", gParseErrorLine,
              gParseErrorCol);
  std::fflush(stdout);
  return 0;
}
