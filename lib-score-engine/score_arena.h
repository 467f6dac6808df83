#pragma once

// Where the abstract and graphical objects of one score live. A score is tens of thousands of
// small objects, made one by one and freed all together when the score or its layout goes; taken
// from blocks of the score's own, they cost the allocator nothing each, lie close together for
// the walks over them, and go back block by block, a thread keeping a few megabytes of blocks for
// its next score. An object freed before its score returns to a free list of its size, for the
// next object of that size (a new layout of the same music).
//
// Objects come from an arena only while it is in use on the thread (ScoreArena::Use), for their
// family; otherwise, and always when larger than a few hundred bytes, they come from the
// allocator as before. Every object knows where it came from, and its arena's blocks stay until
// the last object in them is gone, also when the arena itself went first.
//
// Under AddressSanitizer every object comes from the allocator on its own, so that the sanitizer
// still sees each use after free and the leak checker each object left behind; the arena then
// only counts its objects, which still lets the sanitizer see an object outlive its score's
// bookkeeping.

#include <cstddef>

class ScoreArena {
  struct Pool;

 public:
  enum Family { kAbstract, kGraphic, kFamilies };

  ScoreArena() = default;
  // The blocks go now when no object is left in them, else with the last object.
  ~ScoreArena();
  ScoreArena(ScoreArena&& other) noexcept;
  ScoreArena& operator=(ScoreArena&& other) noexcept;
  ScoreArena(ScoreArena const&) = delete;
  ScoreArena& operator=(ScoreArena const&) = delete;

  // While it lives, objects of the family made on this thread come from the arena.
  class Use {
   public:
    Use(ScoreArena& arena, Family family);
    ~Use();
    Use(Use const&) = delete;
    Use& operator=(Use const&) = delete;

   private:
    Family mFamily;
    Pool* mPrevious;
  };

  // The memory of an object of the family, and its release: the operators new and delete of the
  // families' base classes.
  static void* New(std::size_t size, Family family);
  static void Delete(void* object) noexcept;

  // Objects made in the arena and not yet freed.
  long LiveObjects() const;
  // Bytes the arena holds from the allocator in blocks.
  std::size_t HeldBytes() const;

 private:
  struct Header;
  // The pool objects of each family come from on this thread, or null.
  static thread_local Pool* tCurrent[kFamilies];

  void Release() noexcept;
  Pool& PoolForUse();

  Pool* mPool = nullptr;
};
