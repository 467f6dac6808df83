#pragma once

// The callbacks the RMN grammar fires as it reduces its rules. Each forwards to the factory of the
// running parse (gGlobalFactory), keeping the small note state that lives between callbacks:
// the accidentals of the note being read, the running dot count and whether a numerator was
// written. Numbers arrive already cut to the range of int.

void gd_segmInit();
void gd_segmExit();
void gd_segmAppendSeq();
void gd_seqInit();
void gd_seqExit();
void gd_seqAppendNote();
void gd_seqAppendChord();
void gd_chordInit();
void gd_chordInitNote();
void gd_chordAppendNote();
void gd_noteInit(char const* name);
void gd_noteAcc(int n);
void gd_noteOct(long n);
void gd_noteEnum(long n);
void gd_noteDenom(long d);
void gd_noteDot();
void gd_noteDdot();
void gd_noteAbsDur(long n);
void gd_tagStart(char const* name, long id);
void gd_tagIntArg(long n);
void gd_tagFloatArg(double x);
void gd_tagStrArg(char const* text);
void gd_tagArgUnit(char const* unit);
void gd_tagAddArg(char const* name);
void gd_tagAdd();
void gd_tagRange();
void gd_tagEnd();

// True once the music read so far is more than one parse may take: the scanner then ends the
// text, and the parse reports the music as too large instead of a syntax error.
bool gd_musicTooLarge();

// A warning about the text read, which the parse goes on past.
void gd_warning(char const* message);
