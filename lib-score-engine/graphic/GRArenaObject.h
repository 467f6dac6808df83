#pragma once

#include <cstddef>

#include "score_arena.h"

// A base for the layout's own objects that are not elements (springs, rods, colliders, the
// association lists and the pieces a spanner keeps per system): made by the tens of thousands
// while a layout runs, they live in its arena with the elements instead of going to the
// allocator one by one.
struct GRArenaObject {
  static void* operator new(std::size_t size) {
    return ScoreArena::New(size, ScoreArena::kGraphic);
  }
  static void operator delete(void* object) { ScoreArena::Delete(object); }
};
