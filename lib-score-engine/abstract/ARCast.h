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

inline constexpr std::size_t kSlots = 32;

// A slot holds the class and the distance in one word, so that threads parsing at once share
// the tables without locks: a slot read is always one whole entry, and two threads that fill the
// same slot write the same answer or one of two right ones. The class's address takes the upper
// 48 bits, the distance the lower 16; a class or distance that does not fit is never kept.
using Entry = std::uint64_t;
inline constexpr int kDistanceBits = 16;
inline constexpr std::int64_t kNotThere = -(std::int64_t{1} << (kDistanceBits - 1));
inline constexpr std::int64_t kFarthest = (std::int64_t{1} << (kDistanceBits - 1)) - 1;

inline bool Fits(std::type_info const* type, std::ptrdiff_t distance) {
  return (reinterpret_cast<std::uintptr_t>(type) >> (64 - kDistanceBits)) == 0 &&
         distance >= kNotThere && distance <= kFarthest;
}

inline Entry MakeEntry(std::type_info const* type, std::int64_t distance) {
  return (static_cast<Entry>(reinterpret_cast<std::uintptr_t>(type)) << kDistanceBits) |
         static_cast<std::uint16_t>(distance);
}

inline bool Holds(Entry entry, std::type_info const* type) {
  return entry >> kDistanceBits == reinterpret_cast<std::uintptr_t>(type);
}

inline std::ptrdiff_t DistanceOf(Entry entry) {
  return static_cast<std::int16_t>(entry & 0xffff);
}

template <class Target, class Source>
struct Table {
  static inline std::atomic<Entry> slots[kSlots] = {};
};

inline std::size_t SlotOf(std::type_info const* type) {
  // Type descriptions lie at least 16 bytes apart; mix the higher bits in.
  const auto bits = reinterpret_cast<std::uintptr_t>(type) >> 4;
  return (bits ^ (bits >> 6)) & (kSlots - 1);
}

}  // namespace ARCastDetail

template <class T, class S>
T* ar_cast(S* object) {
  static_assert(std::is_polymorphic_v<S>);
  static_assert(sizeof(void*) == sizeof(ARCastDetail::Entry));
  if (!object) return nullptr;
  using Bare = std::remove_cv_t<T>;
  using Byte = std::conditional_t<std::is_const_v<S> || std::is_const_v<T>, char const, char>;
  std::type_info const* type = &typeid(*object);
  std::atomic<ARCastDetail::Entry>& slot =
      ARCastDetail::Table<Bare, std::remove_cv_t<S>>::slots[ARCastDetail::SlotOf(type)];
  auto* whole = static_cast<Byte*>(
      dynamic_cast<std::conditional_t<std::is_const_v<Byte>, void const*, void*>>(object));
  const ARCastDetail::Entry entry = slot.load(std::memory_order_relaxed);
  if (!ARCastDetail::Holds(entry, type)) {
    T* cast = dynamic_cast<T*>(object);
    const std::ptrdiff_t distance =
        cast ? reinterpret_cast<Byte*>(cast) - whole : ARCastDetail::kNotThere;
    if (ARCastDetail::Fits(type, distance))
      slot.store(ARCastDetail::MakeEntry(type, distance), std::memory_order_relaxed);
    return cast;
  }
  const std::ptrdiff_t distance = ARCastDetail::DistanceOf(entry);
  if (distance == ARCastDetail::kNotThere) return nullptr;
  return reinterpret_cast<T*>(whole + distance);
}

template <class T, class S>
bool IsExactly(S const* object) {
  static_assert(std::is_polymorphic_v<S>);
  if (!object) return false;
  std::type_info const* type = &typeid(*object);
  if (type == &typeid(T)) return true;
  std::atomic<ARCastDetail::Entry>& slot =
      ARCastDetail::Table<T, void>::slots[ARCastDetail::SlotOf(type)];
  const ARCastDetail::Entry entry = slot.load(std::memory_order_relaxed);
  if (!ARCastDetail::Holds(entry, type)) {
    const bool same = *type == typeid(T);
    if (ARCastDetail::Fits(type, same ? 0 : ARCastDetail::kNotThere))
      slot.store(ARCastDetail::MakeEntry(type, same ? 0 : ARCastDetail::kNotThere),
                 std::memory_order_relaxed);
    return same;
  }
  return ARCastDetail::DistanceOf(entry) == 0;
}
