#include "score_arena.h"

#include <cstdint>
#include <new>
#include <utility>
#include <vector>

#include "src/common/assertion.h"

#if defined(__SANITIZE_ADDRESS__)
#define SCORE_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SCORE_ARENA_ASAN 1
#endif
#endif

namespace {

#ifdef SCORE_ARENA_ASAN
constexpr bool kEveryObjectFromTheAllocator = true;
#else
constexpr bool kEveryObjectFromTheAllocator = false;
#endif

// Debug builds mark the header of every live object, so that releasing memory that is not one
// (an object freed twice, or one that was never made by New: a member, a local) stops at once
// instead of putting memory on a free list twice and handing it out to two objects later.
#ifdef NDEBUG
constexpr bool kMarkHeaders = false;
#else
constexpr bool kMarkHeaders = true;
#endif
constexpr std::uint32_t kLiveMark = 0x5C0A7E11;
constexpr std::uint32_t kFreedMark = 0xF4EED000;

// Object sizes are rounded up to granules; objects larger than kLargest come from the allocator.
constexpr std::size_t kGranule = 16;
constexpr std::size_t kLargest = 512;
constexpr std::size_t kClasses = kLargest / kGranule + 1;
// The size class of memory from the allocator.
constexpr std::uint32_t kFromAllocator = 0;

// Blocks are all of one size, small enough that the allocator keeps them in its heap. A thread
// keeps the blocks of the scores it let go, up to a few megabytes, for the next score: a block
// fresh from the allocator is often fresh from the system too, and every page of it would be
// faulted in and cleared again.
constexpr std::size_t kBlockSize = 32 * 1024;
constexpr int kKeptBlocks = 128;

// Trivially destructible, so that it can be used at any time in the thread's life.
struct KeptBlocks {
  void* blocks[kKeptBlocks];
  int count = 0;
  bool open = false;
};
thread_local KeptBlocks tKept;

// Gives the thread's kept blocks back when the thread ends; blocks let go after that, or on a
// thread that never took one, go straight back.
struct Drain {
  Drain() { tKept.open = true; }
  ~Drain() {
    tKept.open = false;
    while (tKept.count > 0) ::operator delete(tKept.blocks[--tKept.count]);
  }
};

void* TakeBlock() {
  static thread_local Drain drain;
  (void)drain;
  if (tKept.count > 0) return tKept.blocks[--tKept.count];
  return ::operator new(kBlockSize);
}

void GiveBlock(void* block) {
  if (tKept.open && tKept.count < kKeptBlocks) {
    tKept.blocks[tKept.count++] = block;
    return;
  }
  ::operator delete(block);
}

}  // namespace

struct ScoreArena::Pool {
  ~Pool() {
    for (void* block : blocks) GiveBlock(block);
  }

  void* Take(std::uint32_t sizeClass) {
    if (void* memory = free[sizeClass]) {
      free[sizeClass] = *static_cast<void**>(memory);
      return memory;
    }
    const std::size_t bytes = sizeClass * kGranule;
    if (static_cast<std::size_t>(end - next) < bytes) {
      void* block = TakeBlock();
      blocks.push_back(block);
      held += kBlockSize;
      next = static_cast<char*>(block);
      end = next + kBlockSize;
    }
    void* memory = next;
    next += bytes;
    return memory;
  }

  void Give(void* memory, std::uint32_t sizeClass) {
    *static_cast<void**>(memory) = free[sizeClass];
    free[sizeClass] = memory;
  }

  void* free[kClasses] = {};
  char* next = nullptr;
  char* end = nullptr;
  std::vector<void*> blocks;
  std::size_t held = 0;
  long live = 0;
  // The arena is gone; the last object to go takes the pool with it.
  bool orphaned = false;
};

// What stands before every object of the families: its pool (null for an object made outside
// any arena), its size class and, in debug builds, the mark. Two words, so that the object keeps
// the allocator's alignment.
struct alignas(16) ScoreArena::Header {
  Pool* pool;
  std::uint32_t sizeClass;
  std::uint32_t mark;
};

thread_local ScoreArena::Pool* ScoreArena::tCurrent[ScoreArena::kFamilies] = {};

ScoreArena::~ScoreArena() {
  Release();
}

ScoreArena::ScoreArena(ScoreArena&& other) noexcept : mPool(std::exchange(other.mPool, nullptr)) {}

ScoreArena& ScoreArena::operator=(ScoreArena&& other) noexcept {
  if (this != &other) {
    Release();
    mPool = std::exchange(other.mPool, nullptr);
  }
  return *this;
}

void ScoreArena::Release() noexcept {
  if (!mPool) return;
  if (mPool->live == 0)
    delete mPool;
  else
    mPool->orphaned = true;
  mPool = nullptr;
}

ScoreArena::Pool& ScoreArena::PoolForUse() {
  if (!mPool) mPool = new Pool;
  return *mPool;
}

ScoreArena::Use::Use(ScoreArena& arena, Family family)
    : mFamily(family), mPrevious(tCurrent[family]) {
  tCurrent[family] = &arena.PoolForUse();
}

ScoreArena::Use::~Use() {
  tCurrent[mFamily] = mPrevious;
}

void* ScoreArena::New(std::size_t size, Family family) {
  static_assert(sizeof(Header) == 16);
  Pool* pool = tCurrent[family];
  const std::size_t total = size + sizeof(Header);
  std::uint32_t sizeClass = kFromAllocator;
  void* memory;
  if (pool && !kEveryObjectFromTheAllocator && total <= kLargest) {
    sizeClass = static_cast<std::uint32_t>((total + kGranule - 1) / kGranule);
    memory = pool->Take(sizeClass);
  } else {
    memory = ::operator new(total);
  }
  if (pool) ++pool->live;
  Header* header = ::new (memory) Header;
  header->pool = pool;
  header->sizeClass = sizeClass;
  if constexpr (kMarkHeaders) header->mark = kLiveMark;
  return header + 1;
}

void ScoreArena::Delete(void* object) noexcept {
  if (!object) return;
  Header* header = static_cast<Header*>(object) - 1;
  if constexpr (kMarkHeaders) {
    MELVARIN_ASSERT(header->mark == kLiveMark);
    header->mark = kFreedMark;
  }
  Pool* pool = header->pool;
  if (header->sizeClass == kFromAllocator)
    ::operator delete(header);
  else
    pool->Give(header, header->sizeClass);
  if (pool && --pool->live == 0 && pool->orphaned) delete pool;
}

long ScoreArena::LiveObjects() const {
  return mPool ? mPool->live : 0;
}

std::size_t ScoreArena::HeldBytes() const {
  return mPool ? mPool->held : 0;
}
