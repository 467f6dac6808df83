#include "nth_element_walk.h"

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "CScoreElement.h"
#include "engine_work.h"

namespace {

// Where a walk for one kind below one start element stands after its last match.
struct Walk {
  CScoreElement const* start = nullptr;
  int kind = 0;
  std::uint64_t treesVersion = 0;
  int matches = 0;
  CScoreElement* lastMatch = nullptr;
  // The elements being looked through, each with the index of its next child to visit.
  std::vector<std::pair<CScoreElement const*, std::size_t>> open;

  bool CanGoOnTo(CScoreElement const& from, int wanted, int n) const {
    return start == &from && kind == wanted && treesVersion == CScoreElement::TreesVersion() &&
           matches <= n;
  }

  void Begin(CScoreElement const& from, int wanted) {
    start = &from;
    kind = wanted;
    treesVersion = CScoreElement::TreesVersion();
    matches = 0;
    lastMatch = nullptr;
    open.assign(1, {&from, 0});
  }

  // The next match in drawing order, or null when the tree has no more.
  CScoreElement* Next() {
    while (!open.empty()) {
      auto& [element, nextChild] = open.back();
      std::vector<CScoreElement*> const& children = element->children();
      if (nextChild == children.size()) {
        open.pop_back();
        continue;
      }
      ++EngineWork::tListSteps;
      CScoreElement* child = children[nextChild++];
      if (!child) continue;
      if (child->kind == kind) {
        ++matches;
        return lastMatch = child;
      }
      open.emplace_back(child, 0);
    }
    return nullptr;
  }
};

thread_local Walk tWalk;

}  // namespace

CScoreElement* FindNthElementOfKind(CScoreElement const& start, int kind, int n) {
  if (n < 1) return nullptr;
  Walk& walk = tWalk;
  if (!walk.CanGoOnTo(start, kind, n)) walk.Begin(start, kind);
  while (walk.matches < n)
    if (!walk.Next()) return nullptr;
  return walk.lastMatch;
}
