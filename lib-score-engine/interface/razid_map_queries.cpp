#include "CScoreElement.h"
#include "Razid.h"

// The symbol map's element side: fields, tree walking and searches. The page side, which needs
// the layout, is with the layout's functions.

// A null element has no fields: the answer is 0 and the out values stay as the caller set them.
int RazidMapGetElementType(CScoreElement const* element) {
  return element ? element->kind : 0;
}
int RazidMapGetElementSubType(CScoreElement const* element) {
  return element ? element->subtype : 0;
}
float RazidMapGetElementDate(CScoreElement const* element) {
  return element ? element->date : 0;
}
float RazidMapGetElementDuration(CScoreElement const* element) {
  return element ? element->duration : 0;
}

void RazidMapGetElementBoundingBox(CScoreElement const* element, float* left, float* top,
                                   float* right, float* bottom) {
  if (!element || !left || !top || !right || !bottom) return;
  *left = element->left;
  *top = element->top;
  *right = element->right;
  *bottom = element->bottom;
}

void RazidMapGetElementRefPoint(CScoreElement const* element, float* x, float* y) {
  if (!element || !x || !y) return;
  *x = element->refX;
  *y = element->refY;
}

void RazidMapGetElementPosition(CScoreElement const* element, float* x, float* y) {
  RazidMapGetElementRefPoint(element, x, y);
}

void RazidMapGetHeadPoint(CScoreElement const* element, float* x, float* y) {
  if (!element || !x || !y) return;
  *x = element->headX;
  *y = element->refY;
}

int RazidMapChildCount(CScoreElement const* element) {
  return element ? static_cast<int>(element->children().size()) : 0;
}

CScoreElement* RazidMapGetChild(CScoreElement const* element, int index) {
  if (!element || index < 0 || index >= RazidMapChildCount(element)) return nullptr;
  return element->children()[index];
}

CScoreElement* RazidMapGetParent(CScoreElement const* element) {
  return element ? element->parent() : nullptr;
}

int RazidMapGetIndexInParentList(CScoreElement const* element) {
  return element ? element->index() : 0;
}

CScoreElement* RazidMapFindDeepSubElementHitBy(CScoreElement* element, float x, float y) {
  return element ? element->FindDeepSubElementHitBy(x, y) : nullptr;
}

CScoreElement* RazidMapFindDeepNthElementOfType(CScoreElement* element, int kind, int n) {
  return element ? element->FindDeepNthElementOfType(kind, n) : nullptr;
}

CScoreElement* RazidMapFindNearestSubElement(CScoreElement* element, int kind, float x, float y) {
  if (!element || element->kind == kind) return element;
  return element->FindNearestSubElement(kind, x, y);
}

CScoreElement* RazidMapFindNearestEventX(CScoreElement* element, float x) {
  return element ? element->FindNearestEventX(x) : nullptr;
}

CScoreElement* RazidMapFindEventRangeX(CScoreElement* element, float x) {
  return element ? element->FindEventRangeX(x) : nullptr;
}

void RazidMapFindPreviousAndNextEvent(CScoreElement* element, float x, CScoreElement** previous,
                                      CScoreElement** next) {
  if (!previous || !next) return;
  *previous = nullptr;
  *next = nullptr;
  if (element) element->FindPreviousAndNextEvent(x, previous, next);
}

CScoreElement* RazidMapFindEventBeforeDate(CScoreElement* element, float date) {
  return element ? element->FindEventBeforeDate(date) : nullptr;
}

CScoreElement* RazidMapFindEventAfterDate(CScoreElement* element, float date) {
  return element ? element->FindEventAfterDate(date) : nullptr;
}

CScoreElement* RazidMapFindDeepElementForDate(CScoreElement* element, float date) {
  return element ? element->FindDeepestElementForDate(date) : nullptr;
}

CScoreElement* RazidMapFindElementForTypeAndDate(CScoreElement* element, int kind, float date) {
  return element ? element->FindChildForDate(kind, date) : nullptr;
}

CScoreElement* RazidMapFindParentWithType(CScoreElement* element, int kind) {
  return element ? element->GetTopParentForType(kind) : nullptr;
}

void RazidMapDrawElement(CScoreElement const* element, VGDevice* device) {
  if (element && device) element->DeepDraw(*device);
}
