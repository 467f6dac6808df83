#pragma once

// Reads a decimal integer at text as the C library's atoi does (leading blanks, an optional sign,
// digits up to the first non-digit), but a number beyond the int range stays at its nearest end
// instead of overflowing. *end, when given, points past the last digit, or at text when there is
// no digit; the result is 0 then.
int ReadTagTextInt(char const* text, char const** end = nullptr);
