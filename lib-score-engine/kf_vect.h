#pragma once

// The engine's sparse array indexed by any int, negative too. It keeps the lowest and highest
// index that hold an element and how many do; a slot is empty when it holds the vector's
// no-element value. The buffer is kept with malloc/realloc, grows at either end in the steps of
// GrowthStep and never shrinks; growing always leaves spare slots in front, so that building
// indices downwards (springs and staves below the first one seen) does not move it each time.

#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "src/common/assertion.h"

template <class T>
class KF_Vector {
  static_assert(std::is_trivially_copyable_v<T>, "slots are moved with realloc and memmove");

 public:
  explicit KF_Vector(T noElement) : noelement(noElement) { StartEmpty(); }
  KF_Vector(KF_Vector const&) = delete;
  KF_Vector& operator=(KF_Vector const&) = delete;

  // Frees the buffer, never the elements.
  virtual ~KF_Vector() { std::free(data); }

  void Set(int index, T value) {
    while (index - indexoffset < 0 || index - indexoffset >= memsize) Resize(index);
    T& slot = data[index - indexoffset];
    const bool wasEmpty = slot == noelement;
    const bool isEmpty = value == noelement;
    if (wasEmpty && !isEmpty) ++count;
    if (!wasEmpty && isEmpty) --count;
    slot = value;

    if (!isEmpty) {
      if (count == 1) {
        minimum = index;
        maximum = index;
      } else {
        if (index < minimum) minimum = index;
        if (index > maximum) maximum = index;
      }
    } else if (count == 0) {
      maximum = -1;
      minimum = 0;
    } else {
      while (minimum < maximum && IsEmptyAt(minimum)) ++minimum;
      while (maximum > minimum && IsEmptyAt(maximum)) --maximum;
    }
    MELVARIN_ASSERT(maximum - minimum <= memsize);
  }

  T Get(int index) const {
    if (index < minimum || index > maximum) return noelement;
    const int mymemindex = index - indexoffset;
    MELVARIN_ASSERT(mymemindex < memsize);
    return data[mymemindex];
  }

  // An empty vector reports minimum 0 whatever its offset; a vector made by Cut may have a
  // positive offset, so the front invariant is only checked while elements are held.
  int GetMinimum() const {
    if (count > 0) MELVARIN_ASSERT(minimum - indexoffset >= 0);
    return minimum;
  }

  int GetMaximum() const {
    MELVARIN_ASSERT(maximum - indexoffset + 1 <= memsize);
    return maximum;
  }

  int GetCount() const {
    MELVARIN_ASSERT(count <= memsize);
    return count;
  }

  virtual void Delete(int index) {
    if (!(minimum <= index)) MELVARIN_ASSERT(false);
    if (!(index <= maximum)) MELVARIN_ASSERT(false);
    const int mymemindex = index - indexoffset;
    MELVARIN_ASSERT(mymemindex < memsize);
    DeleteSlot(index);
  }

  // Grows the buffer until index has a slot; every element keeps its index.
  void Resize(int index) {
    const int slot = index - indexoffset;
    if (slot >= 0 && slot < memsize) return;
    const int oldSize = memsize;
    int size = oldSize;
    int spare = 0;
    if (slot >= memsize) {
      do {
        GrowthStep(size, spare);
      } while (!(slot < size - 2 * spare));
      data = static_cast<T*>(std::realloc(data, sizeof(T) * size));
      MELVARIN_ASSERT(data);
      std::memmove(data + spare, data, sizeof(T) * oldSize);
      Fill(0, spare);
      Fill(spare + oldSize, size);
      indexoffset -= spare;
    } else {
      do {
        GrowthStep(size, spare);
      } while (size - oldSize < 2 * spare - slot);
      data = static_cast<T*>(std::realloc(data, sizeof(T) * size));
      MELVARIN_ASSERT(data);
      const int shift = spare - slot;
      std::memmove(data + shift, data, sizeof(T) * oldSize);
      Fill(0, shift);
      Fill(shift + oldSize, size);
      indexoffset = index - spare;
    }
    memsize = size;
  }

  // Moves the elements above index into a new vector, under the same indices. out is null when
  // index is outside minimum..maximum.
  virtual void Cut(int index, KF_Vector<T>** out) {
    *out = nullptr;
    if (index < minimum || index > maximum) return;
    auto* rest = new KF_Vector<T>(noelement);
    *out = rest;
    if (index == maximum) return;
    const int newcount = MoveAbove(index, *rest);
    if (rest->count == 0) MELVARIN_ASSERT(newcount == 0);
  }

  // Empties every element slot through the virtual Delete (an owning vector deletes the
  // elements), then starts again with a fresh buffer.
  void RemoveAll() {
    for (int slot = 0; slot < memsize; ++slot)
      if (!(data[slot] == noelement)) Delete(slot + indexoffset);
    std::free(data);
    StartEmpty();
  }

 protected:
  // Size and front spare of the buffer that follows one of the given size.
  static void GrowthStep(int& size, int& spare) {
    if (size <= 10) {
      size = 32;
      spare = 6;
    } else if (size <= 20) {
      size = 60;
      spare = 10;
    } else if (size <= 100) {
      size = 240;
      spare = 20;
    } else if (size <= 500) {
      size = 560;
      spare = 30;
    } else {
      size += 560;
      spare = 60;
    }
  }

  bool IsEmptyAt(int index) const { return data[index - indexoffset] == noelement; }

  void Fill(int fromSlot, int toSlot) {
    for (int slot = fromSlot; slot < toSlot; ++slot) data[slot] = noelement;
  }

  // A fresh buffer of size slots, all empty, with the given offset.
  void Allocate(int size, int offset) {
    data = static_cast<T*>(std::malloc(sizeof(T) * size));
    MELVARIN_ASSERT(data);
    memsize = size;
    indexoffset = offset;
    Fill(0, size);
  }

  void StartEmpty() {
    maximum = -1;
    minimum = 0;
    count = 0;
    Allocate(10, 0);
  }

  void DeleteSlot(int index) {
    T& slot = data[index - indexoffset];
    if (!(slot == noelement)) {
      slot = noelement;
      --count;
    }
    if (count == 0) {
      maximum = -1;
      minimum = 0;
    } else if (count == 1) {
      if (index == minimum)
        minimum = maximum;
      else if (index == maximum)
        maximum = minimum;
    } else {
      if (index == minimum)
        while (minimum < maximum && IsEmptyAt(minimum)) ++minimum;
      if (index == maximum)
        while (maximum > minimum && IsEmptyAt(maximum)) --maximum;
    }
    if (maximum < minimum) MELVARIN_ASSERT(count == 0);
  }

  // Moves the slots above index into rest (which must be fresh): ten empty slots, then the
  // moved ones in order, then ten more. Returns the number of elements moved; rest is left
  // empty when none was.
  int MoveAbove(int index, KF_Vector<T>& rest) {
    const int moved = maximum - index;
    std::free(rest.data);
    rest.Allocate(moved + 20, index - 9);
    int newcount = 0;
    for (int i = index + 1; i <= maximum; ++i) {
      T& from = data[i - indexoffset];
      if (from == noelement) continue;
      rest.data[i - rest.indexoffset] = from;
      from = noelement;
      if (newcount == 0) rest.minimum = i;
      rest.maximum = i;
      ++newcount;
    }
    rest.count = newcount;
    if (newcount == 0) {
      rest.maximum = -1;
      rest.minimum = 0;
    }
    count -= newcount;
    maximum = index;
    while (maximum >= minimum && IsEmptyAt(maximum)) --maximum;
    if (count == 0 || maximum < minimum) {
      maximum = -1;
      minimum = 0;
    }
    return newcount;
  }

  T noelement;
  int maximum;
  int minimum;
  int count;
  int indexoffset;
  T* data = nullptr;
  int memsize = 0;
};
