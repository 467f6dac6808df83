#pragma once

#include <ostream>

#include "parse_music.h"

// Writes what a parse made: its result and error line, then per voice one line per object (time,
// duration, class, "auto" for what the engine inserted, the object as RMN) and, after
// " position tags:", the voice's range tags the same way. Without withAuto the tags the
// automatic passes inserted are left out.
void DumpMusic(ParsedMusic const& parsed, std::ostream& out, bool withAuto = true);
