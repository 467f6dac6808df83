#pragma once

// Where the list nodes come from. Every step of a voice walk opens and closes ranges, and each of
// those adds and removes a node in several small lists, so freed nodes are kept on a free list per
// node type and per thread and handed out again, instead of going back to the allocator. A node
// freed on another thread than the one that made it joins that thread's free list.
// Under AddressSanitizer every node comes from the allocator and goes back to it: the sanitizer
// then catches a position used after its node was removed, and the leak checker, which cannot
// follow a free list held in thread-local storage, sees no node as leaked.

#include <cstddef>
#include <new>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define KF_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KF_POOL_ASAN 1
#endif
#endif

template <class Node>
class KF_NodePool {
 public:
  template <class... Args>
  static Node* Make(Args&&... args) {
#ifdef KF_POOL_ASAN
    return new Node{std::forward<Args>(args)...};
#else
    // A thread keeps free nodes only once it has made some, so its drain is set up while the
    // thread is running, not while it ends.
    static thread_local Drain drain;
    (void)drain;
    void* memory = Pop();
    if (!memory) memory = ::operator new(sizeof(Node));
    return ::new (memory) Node{std::forward<Args>(args)...};
#endif
  }

  static void Release(Node* node) {
#ifdef KF_POOL_ASAN
    delete node;
#else
    node->~Node();
    Push(node);
#endif
  }

 private:
  static_assert(sizeof(Node) >= sizeof(void*));
  // Beyond this many free nodes a thread gives memory back, so one huge piece does not keep its
  // peak for the rest of the run. The layout of a piece of a hundred measures on two staves gives
  // back about 23,000 nodes of its element lists, all kept for the next layout (a megabyte at
  // most per node type).
  static constexpr int kMaxKept = 1 << 15;

  // Gives the thread's free nodes back when the thread ends. Lists destroyed after that (static
  // objects outlive the thread's own), or on a thread that never made a node of this type, free
  // their nodes directly: a drain set up while the thread ends would never run.
  struct Drain {
    Drain() { keeping = true; }
    ~Drain() {
      keeping = false;
      while (void* memory = Pop()) ::operator delete(memory);
    }
  };

  static void* Pop() {
    void* memory = first;
    if (!memory) return nullptr;
    first = *static_cast<void**>(memory);
    // The free nodes lie wherever their lists were, in the order those went: reading the next
    // one's link when it is taken would wait on memory each time. Fetching it now lets that wait
    // pass while the caller works on this node.
    if (first) __builtin_prefetch(first, 1);
    --kept;
    return memory;
  }

  static void Push(void* memory) {
    if (!keeping || kept >= kMaxKept) {
      ::operator delete(memory);
      return;
    }
    ::new (memory) void*(first);
    first = memory;
    ++kept;
  }

  // Trivially destructible, so they can be read at any time in the thread's life.
  static inline thread_local void* first = nullptr;
  static inline thread_local int kept = 0;
  static inline thread_local bool keeping = false;
};
