/* The RMN grammar. It builds nothing itself: each rule fires the parser callback that drives the
   factory. There is no error recovery: the first token no rule takes stops the parse. The C
   skeleton's stack starts at 200 entries and grows up to 10000; beyond that the parse fails with
   "memory exhausted". */

%define api.prefix {rmn}
%define parse.error simple

%code requires {
#include <cstdlib>
}

%code {
#include "parser_callbacks.h"
#include "rmn_scan_support.h"

int rmnlex();
static void rmnerror(char const* message) { rmn_report_parse_error(message); }

/* The name of the tag being started, kept from its TAGNAME until its tag id is read. */
static char* gTagName = nullptr;

static void take_tag_name(char* name) {
  std::free(gTagName);
  gTagName = name;
}
}

%union {
  char* text;
  char const* name;
  long number;
  double real;
}

/* Numbers arrive read, note names as the scanner's own constant spellings: the tokens of notes
   need no copies. */
%token <number> NUMBER PNUMBER NNUMBER
%token <name> SOLFEGE CHROMATIC DIATONIC EMPTY
%token <text> FLOAT UNIT IDENT TAGNAME
%token <text> STRING
%token LBRACE RBRACE COMMA COLON LBRACKET RBRACKET LPAREN RPAREN BAR DOT DDOT SHARP FLAT
%token MULT DIV EQUAL MSECONDS SECONDS LANGLE RANGLE REST EXTRA

%type <number> int
%type <real> float
%type <text> identifier

%destructor { std::free($$); } <text>

%start score

%%

score
  : scorebrace RBRACE { gd_segmExit(); }
  | scorebrace voicelist RBRACE { gd_segmExit(); }
  | { gd_segmInit(); } voice { gd_segmExit(); }
  ;

scorebrace
  : LBRACE { gd_segmInit(); }
  ;

voicelist
  : voice { gd_segmAppendSeq(); }
  | voicelist COMMA voice { gd_segmAppendSeq(); }
  ;

voice
  : LBRACKET { gd_seqInit(); } symbols RBRACKET { gd_seqExit(); }
  ;

/* Every note passes through the rules below, one reduction each: where a rule would only rename
   a symbol (an event that is a note, a number that is an octave), the rules using it name what it
   stands for instead, which saves the parse a reduction per note. None of this changes how deep
   the parse's stack grows. */
symbols
  : %empty
  | symbols note { gd_seqAppendNote(); }
  | symbols rest { gd_seqAppendNote(); }
  | symbols tag
  | symbols chord { gd_seqAppendChord(); }
  ;

tag
  : taghead { gd_tagEnd(); }
  | rangetag { gd_tagEnd(); }
  ;

taghead
  : tagid { gd_tagAdd(); }
  | tagid LANGLE params RANGLE { gd_tagAdd(); }
  ;

rangetag
  : taghead LPAREN { gd_tagRange(); } symbols RPAREN
  ;

tagname
  : TAGNAME { take_tag_name($1); }
  ;

tagid
  : tagname { gd_tagStart(gTagName, 0); }
  | tagname COLON NUMBER { gd_tagStart(gTagName, $3); }
  | BAR { gd_tagStart("\\bar", 0); }
  ;

tagarg
  : int { gd_tagIntArg($1); }
  | float { gd_tagFloatArg($1); }
  | int UNIT { gd_tagIntArg($1); gd_tagArgUnit($2); std::free($2); }
  | float UNIT { gd_tagFloatArg($1); gd_tagArgUnit($2); std::free($2); }
  | STRING { gd_tagStrArg($1); std::free($1); }
  | IDENT { std::free($1); }
  ;

tagparam
  : tagarg { gd_tagAddArg(""); }
  | identifier EQUAL tagarg { gd_tagAddArg($1); std::free($1); }
  ;

params
  : tagparam
  | params COMMA tagparam
  ;

chord
  : LBRACE { gd_chordInit(); } chordsymbols RBRACE
  ;

chordsymbols
  : { gd_chordInitNote(); } chordsymbol
  | chordsymbols COMMA { gd_chordInitNote(); } chordsymbol
  ;

chordsymbol
  : chordevent
  | chordtags chordevent
  | chordevent chordtags
  | chordtags chordevent chordtags
  ;

chordevent
  : note { gd_chordAppendNote(); }
  | rest { gd_chordAppendNote(); }
  | chordrangetag
  ;

chordrangetag
  : taghead LPAREN { gd_tagRange(); } chordsymbol RPAREN { gd_tagEnd(); }
  ;

chordtags
  : taghead { gd_tagEnd(); }
  | chordtags taghead { gd_tagEnd(); }
  ;

rest
  : restname duration dots
  | restname LANGLE NUMBER RANGLE duration dots
  ;

restname
  : REST { gd_noteInit("_"); }
  ;

note
  : notename octave duration dots
  | notename accidentals octave duration dots
  | numberednotename octave duration dots
  | numberednotename accidentals octave duration dots
  ;

numberednotename
  : notename LANGLE NUMBER RANGLE
  ;

notename
  : DIATONIC { gd_noteInit($1); }
  | CHROMATIC { gd_noteInit($1); }
  | SOLFEGE { gd_noteInit($1); }
  | EMPTY { gd_noteInit($1); }
  ;

accidentals
  : accidental
  | accidentals accidental
  ;

accidental
  : SHARP { gd_noteAcc(1); }
  | FLAT { gd_noteAcc(-1); }
  ;

octave
  : %empty
  | NUMBER { gd_noteOct($1); }
  | PNUMBER { gd_noteOct($1); }
  | NNUMBER { gd_noteOct($1); }
  ;

duration
  : %empty
  | MULT NUMBER DIV NUMBER { gd_noteEnum($2); gd_noteDenom($4); }
  | MULT NUMBER { gd_noteEnum($2); }
  | DIV NUMBER { gd_noteDenom($2); }
  ;

dots
  : %empty
  | DOT { gd_noteDot(); }
  | DDOT { gd_noteDdot(); }
  ;

identifier
  : IDENT
  ;

int
  : NUMBER
  | PNUMBER
  | NNUMBER
  ;

float
  : FLOAT { $$ = static_cast<float>(std::strtod($1, nullptr)); std::free($1); }
  ;

%%

void rmn_grammar_reset() { take_tag_name(nullptr); }
