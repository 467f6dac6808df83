#include "parser_callbacks.h"

#include "ARFactory.h"
#include "engine_globals.h"

namespace {

// The note being read: its accidentals, the running dot count (it carries to the next notes of
// the voice) and whether a numerator was written for it.
int accidentals = 0;
int ndots = 0;
bool zaehlerSet = false;

ARFactory& Factory() {
  return *gGlobalFactory;
}

void AppendNote() {
  if (accidentals != 0) Factory().setAccidentals(accidentals);
  if (ndots != 0) Factory().setPoints(ndots);
  Factory().addEvent();
}

}  // namespace

bool gd_musicTooLarge() {
  return gGlobalFactory && gGlobalFactory->isFull();
}

void gd_warning(char const* message) {
  ZudidOvod(message);
}

void gd_segmInit() {
  Factory().createMusic();
  ndots = 0;
  zaehlerSet = false;
}

void gd_segmExit() {}
void gd_segmAppendSeq() {}

void gd_seqInit() {
  Factory().createVoice();
  ndots = 0;
}

void gd_seqExit() {
  Factory().addVoice();
}
void gd_seqAppendNote() {
  AppendNote();
}
void gd_seqAppendChord() {
  Factory().addChord();
}
void gd_chordInit() {
  Factory().createChord();
}
void gd_chordInitNote() {
  Factory().initChordNote();
}
void gd_chordAppendNote() {
  AppendNote();
}

void gd_noteInit(char const* name) {
  accidentals = 0;
  zaehlerSet = false;
  Factory().createEvent(name);
}

void gd_noteAcc(int n) {
  accidentals += n;
}
void gd_noteOct(long n) {
  Factory().setRegister(static_cast<int>(n));
}

// c*3 lasts three whole notes.
void gd_noteEnum(long n) {
  zaehlerSet = true;
  ndots = 0;
  Factory().setNumerator(static_cast<int>(n));
  Factory().setDenominator(1);
}

// c/8 is an eighth even after c*3; c*3/8 is three eighths.
void gd_noteDenom(long d) {
  if (!zaehlerSet) Factory().setNumerator(1);
  Factory().setDenominator(static_cast<int>(d));
  ndots = 0;
  zaehlerSet = false;
}

void gd_noteDot() {
  ndots = 1;
}
void gd_noteDdot() {
  ndots = 2;
}
void gd_noteAbsDur(long) {}

void gd_tagStart(char const* name, long id) {
  Factory().createTag(name + 1, id < 1 ? -1 : id);
}
void gd_tagIntArg(long n) {
  Factory().addTagParameter(static_cast<int>(n));
}
void gd_tagFloatArg(double x) {
  Factory().addTagParameter(x);
}
void gd_tagStrArg(char const* text) {
  Factory().addTagParameter(text);
}
void gd_tagArgUnit(char const* unit) {
  Factory().setUnit(unit);
}
void gd_tagAddArg(char const* name) {
  Factory().setParameterName(name);
}
void gd_tagAdd() {
  Factory().addTag();
}
void gd_tagRange() {
  Factory().tagRange();
}
void gd_tagEnd() {
  Factory().endTag();
}
