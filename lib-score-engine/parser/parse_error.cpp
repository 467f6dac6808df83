#include "parse_error.h"

#include <cstdio>

long lnr = 1;
long cnr = 0;
int gParseErrorLine = 0;
int gParseErrorCol = 0;

int gd_error(char const* message) {
  gParseErrorLine = static_cast<int>(lnr);
  gParseErrorCol = static_cast<int>(cnr);
  std::printf("Razid error: %s (line %d, char %d)\n", message ? message : "", gParseErrorLine,
              gParseErrorCol);
  std::fflush(stdout);
  return 0;
}
