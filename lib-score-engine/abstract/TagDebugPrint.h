#pragma once

#include <cstdio>
#include <sstream>

#include "ARMusicalObject.h"

// The debug dump of a tag: its RMN text on one line of standard output.
inline void PrintTagLine(ARMusicalObject const& tag) {
  std::ostringstream os;
  os << tag;
  std::printf("%s\n", os.str().c_str());
}
