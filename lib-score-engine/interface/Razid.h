#pragma once

#include <vector>

#include "RazidDrawTypes.h"

// The notation engine's interface: RMN text in, laid-out pages drawn on a device out, and the
// symbol map of a drawn page to find what was drawn where. Every function returns its failure as
// a RazidErrCode or as a null or 0 result, never as an exception. One thread at a time.

class CScoreElement;
class VGDevice;

// 0 for success, -1 to -10 for the failures RazidGetErrorString names.
typedef int RazidErrCode;

// Opaque handles of a parsed score (AR) and of its layout (GR, with the page format and draw
// request in RazidDrawTypes.h). A handle names a registry entry; one that was freed, or never
// handed out, is refused and never used to reach memory.
typedef struct NodeAR* ARHandle;

struct RazidInitDesc {
  VGDevice* graphicDevice;    // measures texts and symbols while scores are laid out; may be null
  void* unused;               // not read
  char const* musicFontName;  // null: "Razid2"
  char const* textFontName;   // null: "Times"
};

struct RazidLayoutSettings {
  float systemsDistance;
  int systemsDistribution;  // 1 auto, 2 always, 3 never
  float systemsDistribLimit;
  float optimumForce;
  float springParameter;
  int specialSpacing;  // on when 1
  int optPageFill;     // on when 1
};

// A time position or duration; a whole note is 1/1.
struct RazidDate {
  int num;
  int denom;
};

template <class T>
struct TRect {
  T left;
  T top;
  T right;
  T bottom;
};

extern "C" {

// Start-up, parsing and errors.
RazidErrCode RazidInit(RazidInitDesc const* desc);
RazidErrCode RazidParseFile(char const* path, ARHandle* ar);
RazidErrCode RazidParseString(char const* text, ARHandle* ar);
int RazidGetParseErrorLine();
char const* RazidGetErrorString(RazidErrCode code);
void RazidGetVersionNums(int* major, int* minor, int* sub);
RazidErrCode RazidCheckVersionNums(int major, int minor, int sub);

// Layout and release. A layout holds its parsed score: freeing the AR handle right after the
// conversion keeps the score alive until the GR handle is freed.
RazidErrCode RazidAR2GR(ARHandle ar, RazidLayoutSettings const* settings, GRHandle* gr);
RazidErrCode RazidUpdateGR(GRHandle gr, RazidLayoutSettings const* settings);
void RazidFreeAR(ARHandle ar);
void RazidFreeGR(GRHandle gr);
void RazidGetDefaultLayoutSettings(RazidLayoutSettings* settings);
void razid_applySettings(RazidLayoutSettings const* settings);
RazidErrCode RazidMarkVoice(ARHandle ar, int voice, RazidDate const& date,
                            RazidDate const& duration);

// Pages, time and drawing.
int RazidGetPageCount(GRHandle gr);
RazidErrCode RazidDuration(GRHandle gr, RazidDate* duration);
// The page of the first voice's event at the date; -10 when there is none.
int RazidFindEventPage(GRHandle gr, RazidDate date);
int RazidFindPageAt(GRHandle gr, RazidDate date);
RazidErrCode RazidGetPageDate(GRHandle gr, int page, RazidDate* date);
RazidErrCode RazidOnDraw(RazidOnDrawDesc* desc);
// All zero for a missing handle or page.
void RazidGetPageFormat(GRHandle gr, int page, RazidPageFormat* format);
void RazidSetDefaultPageFormat(RazidPageFormat const* format);
void RazidGetDefaultPageFormat(RazidPageFormat* format);
RazidErrCode RazidResizePageToMusic(GRHandle gr);
RazidErrCode RazidGetPagesEnvelopes(std::vector<std::vector<TRect<float>>>* envelopes, GRHandle gr);

// Units.
float RazidUnit2CM(float units);
float RazidCM2Unit(float cm);
float RazidUnit2Inches(float units);
float RazidInches2Unit(float inches);
float RazidGetLineSpace();

// Hooks for a graphical editor's output: the graphic stream of a page and the music as RMN text,
// a piece at a time. They take the text and drop it.
void AddGGSOutput(char const* text);
void AddRazidOutput(char const* text);

// The symbol map of a drawn page, in the coordinates of that draw. Element pointers stay valid
// until the page is drawn again or its layout is redone or freed. Every function accepts null and
// answers null or 0; the field accessors then leave their out values as they were, and a child
// index outside 0 .. count - 1 finds no child.
CScoreElement* RazidMapGetRootElement(GRHandle gr, int page);
// The page's earliest event date and latest event end; 0 for a missing handle or page. A page
// without events, and one not drawn yet, has -1 for its earliest date.
float RazidMapGetMinDate(GRHandle gr, int page);
float RazidMapGetMaxDate(GRHandle gr, int page);
// The event whose box holds the point, down from the page; null when none does.
CScoreElement* RazidMapFindEventHitBy(GRHandle gr, int page, float x, float y);
// How many elements of the kind the page's last draw reported; 0 for a kind outside 0 .. 9.
int RazidMapGetElementCountForType(GRHandle gr, int page, int kind);
int RazidMapGetElementType(CScoreElement const* element);
int RazidMapGetElementSubType(CScoreElement const* element);
float RazidMapGetElementDate(CScoreElement const* element);
float RazidMapGetElementDuration(CScoreElement const* element);
void RazidMapGetElementBoundingBox(CScoreElement const* element, float* left, float* top,
                                   float* right, float* bottom);
void RazidMapGetElementPosition(CScoreElement const* element, float* x, float* y);
void RazidMapGetElementRefPoint(CScoreElement const* element, float* x, float* y);
// The head's x and the reference y.
void RazidMapGetHeadPoint(CScoreElement const* element, float* x, float* y);

int RazidMapChildCount(CScoreElement const* element);
CScoreElement* RazidMapGetChild(CScoreElement const* element, int index);
CScoreElement* RazidMapGetParent(CScoreElement const* element);
int RazidMapGetIndexInParentList(CScoreElement const* element);

CScoreElement* RazidMapFindDeepSubElementHitBy(CScoreElement* element, float x, float y);
CScoreElement* RazidMapFindDeepNthElementOfType(CScoreElement* element, int kind, int n);
CScoreElement* RazidMapFindNearestSubElement(CScoreElement* element, int kind, float x, float y);
CScoreElement* RazidMapFindNearestEventX(CScoreElement* element, float x);
CScoreElement* RazidMapFindEventRangeX(CScoreElement* element, float x);
void RazidMapFindPreviousAndNextEvent(CScoreElement* element, float x, CScoreElement** previous,
                                      CScoreElement** next);
CScoreElement* RazidMapFindEventBeforeDate(CScoreElement* element, float date);
CScoreElement* RazidMapFindEventAfterDate(CScoreElement* element, float date);
CScoreElement* RazidMapFindDeepElementForDate(CScoreElement* element, float date);
CScoreElement* RazidMapFindElementForTypeAndDate(CScoreElement* element, int kind, float date);
CScoreElement* RazidMapFindParentWithType(CScoreElement* element, int kind);
// Draws the boxes of the element and everything below it, coloured by kind.
void RazidMapDrawElement(CScoreElement const* element, VGDevice* device);
}
