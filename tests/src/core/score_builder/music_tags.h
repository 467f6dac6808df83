#pragma once

// The tags the parser accepts that generated music does not write, each with the reason it is
// left out; and which tags generated music may also write as a begin and an end.

#include <span>
#include <string>

namespace ScoreOverlaps {

struct LeftOutTag {
  const char* name;  // as written, without its backslash
  const char* why;
};

std::span<const LeftOutTag> TagsLeftOut();

// Whether the tag ("\\slur") may also be written as "\\slurBegin" ... "\\slurEnd".
bool HasBeginForm(const std::string& tag);

}  // namespace ScoreOverlaps
