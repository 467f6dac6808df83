#pragma once

#include <array>

// The music font's character for each symbol code the engine draws. Most codes are their own
// character; the few that differ are listed in music_symbol_table.cpp, which the font generator
// (tools/font/make_razid2.py) also reads, so the font and the engine cannot disagree.
// An entry of kUndefinedMusicCharacter marks a code with no character.
inline constexpr unsigned int kUndefinedMusicCharacter = 1;

extern const std::array<unsigned int, 256> kMusicSymbolTable;
