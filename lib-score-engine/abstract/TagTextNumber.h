#pragma once

// Reads an integer at text in base as the C library's strtol does (leading blanks, an optional
// sign, digits up to the first that does not belong to base; "0x" may lead in base 16), but a
// number beyond the int range stays at its nearest end instead of overflowing. *end, when given,
// points past the last digit, or at text when there is no number; the result is 0 then.
int ReadTagTextInt(char const* text, char const** end = nullptr, int base = 10);
