#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <typeinfo>

// ar_cast<T>(object) answers exactly what dynamic_cast<T*>(object) answers, but the passes and
// the layout ask it for every element they step over, and a dynamic_cast that fails walks the
// whole class tree comparing type names as strings. For one most-derived class the answer never
// changes: T is at a fixed distance from the start of the whole object, or not there at all. So
// each pair of source and target class keeps a small table from the most-derived class met to
// that distance, filled by a real dynamic_cast the first time a class comes by. The engine's
// classes have no repeated bases, so the distance does not depend on which source subobject is
// asked.
//
// IsExactly<T>(object) answers typeid(*object) == typeid(T) the same way.

namespace ARCastDetail {

// A slot holds the class and the distance in one word, so that threads parsing at once share
// the tables without locks: a slot read is always one whole entry, and two threads that fill the
// same slot write the same answer or one of two right ones. The class's address takes the upper
// 48 bits, the distance the lower 16; a class or distance that does not fit is never kept.
using Entry = std::uint64_t;
inline constexpr int kDistanceBits = 16;
inline constexpr std::int64_t kNotThere = -(std::int64_t{1} << (kDistanceBits - 1));
inline constexpr std::int64_t kFarthest = (std::int64_t{1} << (kDistanceBits - 1)) - 1;

// A class is looked for in the few slots from its own on, so that the seventy-odd classes of
// elements a layout passes through the same cast all stay in the table.
inline constexpr std::size_t kSlotBits = 7;
inline constexpr std::size_t kSlots = std::size_t{1} << kSlotBits;
inline constexpr std::size_t kProbes = 4;

template <class Target, class Source>
struct Table {
  static inline std::atomic<Entry> slots[kSlots] = {};
};

inline std::size_t SlotOf(std::type_info const* type) {
  return static_cast<std::size_t>(
      (static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(type)) *
       0x9E3779B97F4A7C15ull) >>
      (64 - kSlotBits));
}

inline bool Holds(Entry entry, std::type_info const* type) {
  return entry >> kDistanceBits == reinterpret_cast<std::uintptr_t>(type);
}

// The distance of the target in an object of that class; false when the class is not kept.
inline bool Find(std::atomic<Entry> const* slots, std::type_info const* type,
                 std::ptrdiff_t& distance) {
  const std::size_t first = SlotOf(type);
  for (std::size_t i = 0; i < kProbes; ++i) {
    const Entry entry = slots[(first + i) & (kSlots - 1)].load(std::memory_order_relaxed);
    if (Holds(entry, type)) {
      distance = static_cast<std::int16_t>(entry & 0xffff);
      return true;
    }
    // Slots are never emptied again, so the class lies in no slot after an empty one.
    if (entry == 0) return false;
  }
  return false;
}

// Keeps the answer in the first free slot from the class's own on, else in its own slot.
inline void Keep(std::atomic<Entry>* slots, std::type_info const* type, std::ptrdiff_t distance) {
  if ((reinterpret_cast<std::uintptr_t>(type) >> (64 - kDistanceBits)) != 0 ||
      distance < kNotThere || distance > kFarthest)
    return;
  const Entry entry =
      (static_cast<Entry>(reinterpret_cast<std::uintptr_t>(type)) << kDistanceBits) |
      static_cast<std::uint16_t>(distance);
  const std::size_t first = SlotOf(type);
  for (std::size_t i = 0; i < kProbes; ++i) {
    Entry held = 0;
    std::atomic<Entry>& slot = slots[(first + i) & (kSlots - 1)];
    if (slot.compare_exchange_strong(held, entry, std::memory_order_relaxed) || Holds(held, type))
      return;
  }
  slots[first].store(entry, std::memory_order_relaxed);
}

}  // namespace ARCastDetail

template <class T, class S>
T* ar_cast(S* object) {
  static_assert(std::is_polymorphic_v<S>);
  static_assert(sizeof(void*) == sizeof(ARCastDetail::Entry));
  // A cast to a base needs no look-up.
  if constexpr (std::is_convertible_v<S*, T*>) return object;
  if (!object) return nullptr;
  using Bare = std::remove_cv_t<T>;
  using Byte = std::conditional_t<std::is_const_v<S> || std::is_const_v<T>, char const, char>;
  using Whole = std::conditional_t<std::is_const_v<Byte>, void const*, void*>;
  std::type_info const* type = &typeid(*object);
  auto* slots = ARCastDetail::Table<Bare, std::remove_cv_t<S>>::slots;
  std::ptrdiff_t distance = 0;
  if (ARCastDetail::Find(slots, type, distance)) {
    if (distance == ARCastDetail::kNotThere) return nullptr;
    return reinterpret_cast<T*>(static_cast<Byte*>(dynamic_cast<Whole>(object)) + distance);
  }
  T* cast = dynamic_cast<T*>(object);
  ARCastDetail::Keep(
      slots, type,
      cast ? reinterpret_cast<Byte*>(cast) - static_cast<Byte*>(dynamic_cast<Whole>(object))
           : ARCastDetail::kNotThere);
  return cast;
}

template <class T, class S>
bool IsExactly(S const* object) {
  static_assert(std::is_polymorphic_v<S>);
  if (!object) return false;
  std::type_info const* type = &typeid(*object);
  if (type == &typeid(T)) return true;
  auto* slots = ARCastDetail::Table<T, void>::slots;
  std::ptrdiff_t distance = 0;
  if (!ARCastDetail::Find(slots, type, distance)) {
    const bool same = *type == typeid(T);
    ARCastDetail::Keep(slots, type, same ? 0 : ARCastDetail::kNotThere);
    return same;
  }
  return distance == 0;
}
