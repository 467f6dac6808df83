#pragma once

// Where the last parse error stood. A text parse starts at line 1, character 0; the grammar moves
// the line to its scanner's line when it reports a syntax error. The character is never advanced.
extern long lnr;
extern long cnr;
// The position of the last reported error, read by the engine's interface.
extern int gParseErrorLine;
extern int gParseErrorCol;

// Reports a parse error on standard output as "Razid error: <message> (line <l>, char <c>)" and
// records its position. Returns 0.
int gd_error(char const* message);
