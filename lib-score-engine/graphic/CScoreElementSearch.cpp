#include <cmath>
#include <cstdlib>

#include "CScoreElement.h"
#include "ScoreSymbolMap.h"
#include "nth_element_walk.h"

// The searches over a page's element tree. Children are visited in list order, which is the
// order they were drawn in.

namespace {

constexpr int kEvent = 1;

bool Holds(CScoreElement const& e, float x, float y) {
  return e.left <= x && x < e.right && e.top <= y && y < e.bottom;
}

bool Spans(CScoreElement const& e, float date) {
  return date >= e.date && date < e.date + e.duration;
}

float SquaredDistance(CScoreElement const& e, float x, float y) {
  const float dx = x < e.left ? e.left - x : (x > e.right ? x - e.right : 0);
  const float dy = y < e.top ? e.top - y : (y > e.bottom ? y - e.bottom : 0);
  return dx * dx + dy * dy;
}

// An event child stands for itself; any other child for what the same search finds inside it.
template <class Search>
CScoreElement* Candidate(CScoreElement* child, Search search) {
  return child->kind == kEvent ? child : search(*child);
}

}  // namespace

CScoreElement* CScoreElement::FindDeepSubElementHitBy(float x, float y) {
  CScoreElement* current = this;
  for (bool descended = true; descended;) {
    descended = false;
    for (CScoreElement* child : current->children()) {
      if (child && Holds(*child, x, y)) {
        current = child;
        descended = true;
        break;
      }
    }
  }
  return current;
}

CScoreElement* CScoreElement::FindDeepNthElementOfType(int kind, int n) {
  return FindNthElementOfKind(*this, kind, n);
}

CScoreElement* CScoreElement::FindNearestSubElement(int kind, float x, float y) {
  for (CScoreElement* current = this;;) {
    CScoreElement* nearest = nullptr;
    float nearestDistance = 0;
    for (CScoreElement* child : current->children()) {
      if (!child) continue;
      const float distance = SquaredDistance(*child, x, y);
      if (!nearest || distance < nearestDistance) {
        nearest = child;
        nearestDistance = distance;
      }
    }
    if (!nearest || nearest->kind == kind) return nearest;
    current = nearest;
  }
}

CScoreElement* CScoreElement::FindNearestEventX(float x) {
  CScoreElement* best = nullptr;
  int bestDistance = 0;
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    CScoreElement* candidate =
        Candidate(child, [x](CScoreElement& inner) { return inner.FindNearestEventX(x); });
    if (!candidate) continue;
    const int distance = static_cast<int>(std::fabs((candidate->left + candidate->right) / 2 - x));
    if (!best || distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

CScoreElement* CScoreElement::FindEventRangeX(float x) {
  CScoreElement* best = nullptr;
  float bestOffset = 0;
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    CScoreElement* candidate =
        Candidate(child, [x](CScoreElement& inner) { return inner.FindNearestEventX(x); });
    if (!candidate) continue;
    const float offset = x - candidate->left;
    // An event starting exactly at x beats one starting earlier.
    if (!best || (bestOffset < 0 && offset > bestOffset) ||
        (bestOffset > 0 && offset >= 0 && offset < bestOffset)) {
      best = candidate;
      bestOffset = offset;
    }
    if (bestOffset == 0) break;
  }
  return best;
}

void CScoreElement::FindPreviousAndNextEvent(float x, CScoreElement** previous,
                                             CScoreElement** next) {
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    if (child->kind != kEvent) {
      child->FindPreviousAndNextEvent(x, previous, next);
      continue;
    }
    const float before = x - child->left;
    if (before >= 0 && (!*previous || x - (*previous)->left > before)) *previous = child;
    const float after = child->right - x;
    if (after >= 0 && (!*next || (*next)->right - x > after)) *next = child;
  }
}

CScoreElement* CScoreElement::FindEventBeforeDate(float date) {
  CScoreElement* best = nullptr;
  float bestDate = -1;
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    CScoreElement* candidate =
        Candidate(child, [date](CScoreElement& inner) { return inner.FindEventBeforeDate(date); });
    if (!candidate) continue;
    const float c = candidate->date;
    if (c > date || c < bestDate) continue;
    if (c > bestDate || !best || best->left > candidate->left) {
      best = candidate;
      bestDate = c;
    }
  }
  return best;
}

CScoreElement* CScoreElement::FindEventAfterDate(float date) {
  CScoreElement* best = nullptr;
  float bestDate = -1;
  for (CScoreElement* child : mChildren) {
    if (!child) continue;
    CScoreElement* candidate =
        Candidate(child, [date](CScoreElement& inner) { return inner.FindEventAfterDate(date); });
    if (!candidate) continue;
    const float c = candidate->date;
    if (c < date || (bestDate != -1 && c >= bestDate)) continue;
    best = candidate;
    bestDate = c;
    if (c == date) break;
  }
  return best;
}

CScoreElement* CScoreElement::FindDeepestElementForDate(float date) {
  if (!Spans(*this, date)) return nullptr;
  for (CScoreElement* child : mChildren)
    if (child)
      if (CScoreElement* found = child->FindDeepestElementForDate(date)) return found;
  return this;
}

CScoreElement* CScoreElement::FindChildForDate(int kind, float date) {
  for (CScoreElement* child : mChildren) {
    if (!child || !Spans(*child, date)) continue;
    if (child->kind == kind) return child;
    if (CScoreElement* found = child->FindChildForDate(kind, date)) return found;
  }
  return nullptr;
}

CScoreElement* CScoreElement::GetTopParentForType(int kind) {
  CScoreElement* current = this;
  while (current && current->kind != kind) current = current->mParent;
  return current;
}

CScoreElement* ScoreSymbolMap::FindNthElementOfType(int kind, int n, CScoreElement* from) const {
  CScoreElement* start = from ? from : mCurrentPage;
  return start ? start->FindDeepNthElementOfType(kind, n) : nullptr;
}

CScoreElement* ScoreSymbolMap::FindNearestSubElement(int kind, float x, float y) const {
  if (!mCurrentPage || mCurrentPage->kind == kind) return mCurrentPage;
  return mCurrentPage->FindNearestSubElement(kind, x, y);
}

CScoreElement* ScoreSymbolMap::FindEventHitBy(float x, float y) const {
  if (!mCurrentPage) return nullptr;
  CScoreElement* hit = mCurrentPage->FindDeepSubElementHitBy(x, y);
  return hit->kind == kEvent ? hit : nullptr;
}
