#pragma once

#include <cstddef>

// What the generated scanner and grammar share with the parse entry points. Not for other users:
// the parse itself is reached through gd_parse_buffer and gd_parse (rmn_parse.h).

// Lines counted by the scanner; 1 at the start of every parse.
extern int gd_scanner_line;
// Characters read on the scanner's line, and the line and such a count where the last token began;
// a fault is placed at that token.
extern int gd_scanner_column;
extern int gd_token_line;
extern int gd_token_column;

// A heap copy of a token's text (released by the grammar with free).
char* rmn_copy_text(char const* text, int length);
// Unescapes a string token in place and removes its quotes.
void rmn_unescape_string(char* text);
// Writes the stray-character message of a character no token takes.
void rmn_report_extra(char const* text);
// A number token's value, cut to the range of int so that nothing downstream overflows.
long rmn_read_number(char const* text);
// The grammar's error report: the error line is the scanner's line.
void rmn_report_parse_error(char const* message);
// The scanner's own fatal errors (out of memory, an internal fault): they end the parse, never
// the program.
[[noreturn]] void rmn_scanner_fatal(char const* message);

struct RmnScannerFatal {
  char const* message;
};

// Runs the grammar over the bytes (a zero byte among them is a character like any other), then
// releases the scan buffer and sets the scanner back. Returns the grammar's result; a fatal
// scanner error is reported and gives 2.
int rmn_parse_bytes(char const* data, std::size_t size);

// Back to the note state and no tag name held, ready for the next parse.
void rmn_scanner_reset();
void rmn_grammar_reset();
