#pragma once

#include <string>

// Entry points of one RMN parse. The parse drives the factory in gGlobalFactory through the
// parser callbacks; the caller sets it before and takes the music (or deletes the factory) after.

// Result codes of a parse.
inline constexpr int RMN_PARSE_OK = 0;
inline constexpr int RMN_PARSE_SYNTAX_ERROR = 1;
inline constexpr int RMN_PARSE_MEMORY_EXHAUSTED = 2;
inline constexpr int RMN_PARSE_NO_INPUT = -1;

void gd_init();
void gd_exit();
void gd_imp_init();
void gd_imp_exit();

// Parses a text (up to its terminating zero). An empty text gives -1 and nothing else happens.
int gd_parse_buffer(char const* text);

// Parses a file, read as RmnFileText reads it, with a warning for a stray last byte; the
// conversion is done in memory, the file is never written. A file that cannot be read reports
// "Could not open file" and gives -1. The mode is not used.
int gd_parse(char const* path, int mode = 0);

// The text a parse reads from a file's bytes. A file that begins with a UTF-16 byte-order mark is
// read in the byte order of its mark as UTF-8, so that every character reaches the score; a
// UTF-8 byte-order mark is dropped. A UTF-16 file of an odd length loses its last byte, and says
// so in strayByte; marks further on stay, as characters that part tokens. Two equal mark bytes
// give no order: such a file keeps its bytes 1 to 127, in order.
std::string RmnFileText(std::string bytes, bool* strayByte = nullptr);
