#pragma once

#include <cstring>

// True when a tag opened by its "Begin" form (no range) meets its end tag.
inline bool IsBeginFormEnd(bool hasRange, char const* text, char const* endTag) {
  return !hasRange && text && std::strcmp(text, endTag) == 0;
}
