#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <typeinfo>

// ar_cast<T>(object) answers exactly what dynamic_cast<T*>(object) answers, but the passes ask
// it for every element they step over, and a dynamic_cast that fails walks the whole class tree
// comparing type names as strings. For one most-derived class the answer never changes: T is at
// a fixed distance from the start of the whole object, or not there at all. So each pair of
// source and target class keeps a small table from the most-derived class met to that distance,
// filled by a real dynamic_cast the first time a class comes by. The engine's classes have no
// repeated bases, so the distance does not depend on which source subobject is asked.
//
// IsExactly<T>(object) answers typeid(*object) == typeid(T) the same way.

namespace ARCastDetail {

inline constexpr std::ptrdiff_t kNotThere = PTRDIFF_MIN;
inline constexpr std::size_t kSlots = 32;

struct Slot {
  std::type_info const* type = nullptr;
  std::ptrdiff_t offset = kNotThere;
};

// One table per thread: tests and tools may parse on several threads at once.
template <class Target, class Source>
struct Table {
  static thread_local Slot slots[kSlots];
};
template <class Target, class Source>
thread_local Slot Table<Target, Source>::slots[kSlots];

inline std::size_t SlotOf(std::type_info const* type) {
  // Type descriptions lie at least 16 bytes apart; mix the higher bits in.
  const auto bits = reinterpret_cast<std::uintptr_t>(type) >> 4;
  return (bits ^ (bits >> 6)) & (kSlots - 1);
}

}  // namespace ARCastDetail

template <class T, class S>
T* ar_cast(S* object) {
  static_assert(std::is_polymorphic_v<S>);
  if (!object) return nullptr;
  using Bare = std::remove_cv_t<T>;
  using Byte = std::conditional_t<std::is_const_v<S> || std::is_const_v<T>, char const, char>;
  std::type_info const* type = &typeid(*object);
  ARCastDetail::Slot& slot =
      ARCastDetail::Table<Bare, std::remove_cv_t<S>>::slots[ARCastDetail::SlotOf(type)];
  auto* whole = static_cast<Byte*>(
      dynamic_cast<std::conditional_t<std::is_const_v<Byte>, void const*, void*>>(object));
  if (slot.type != type) {
    T* cast = dynamic_cast<T*>(object);
    slot.type = type;
    slot.offset = cast ? reinterpret_cast<Byte*>(cast) - whole : ARCastDetail::kNotThere;
    return cast;
  }
  if (slot.offset == ARCastDetail::kNotThere) return nullptr;
  return reinterpret_cast<T*>(whole + slot.offset);
}

template <class T, class S>
bool IsExactly(S const* object) {
  static_assert(std::is_polymorphic_v<S>);
  if (!object) return false;
  std::type_info const* type = &typeid(*object);
  if (type == &typeid(T)) return true;
  ARCastDetail::Slot& slot = ARCastDetail::Table<T, void>::slots[ARCastDetail::SlotOf(type)];
  if (slot.type != type) {
    slot.type = type;
    slot.offset = *type == typeid(T) ? 0 : ARCastDetail::kNotThere;
  }
  return slot.offset == 0;
}
