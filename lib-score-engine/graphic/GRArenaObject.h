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

// The storage of a layout's small vectors, from the same arena (a vector grown past the arena's
// sizes gets its storage from the allocator as before).
template <class T>
struct GRArenaAllocator {
  using value_type = T;

  GRArenaAllocator() = default;
  template <class U>
  GRArenaAllocator(GRArenaAllocator<U> const&) noexcept {}

  T* allocate(std::size_t count) {
    return static_cast<T*>(ScoreArena::New(count * sizeof(T), ScoreArena::kGraphic));
  }
  void deallocate(T* storage, std::size_t) noexcept { ScoreArena::Delete(storage); }

  friend bool operator==(GRArenaAllocator, GRArenaAllocator) { return true; }
};
