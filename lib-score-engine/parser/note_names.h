#pragma once

// Pitch-class codes of note names: 0 empty, 1 rest, 2 to 8 c d e f g a h, 9 to 13 cis dis fis gis
// ais.
inline constexpr int PC_EMPTY = 0;
inline constexpr int PC_REST = 1;

// The code of a note name, in any of its spellings ("c", "do", "ut"; "h", "b", "si", "ti"; ...),
// case-sensitive. Any other name is reported as a parse error and read as a rest.
int gd_noteName2pc(char const* name);

// The name of a code ("c", "cis", "_", ...); empty for 0 and for codes without a name.
char const* gd_pc2noteName(int code);
