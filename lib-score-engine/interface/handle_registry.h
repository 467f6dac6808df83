#pragma once

#include <cstdint>
#include <map>

// The engine's handles: every object handed out is registered under an id that is never given
// out again, and the handle carries only that id. A handle that was freed, or never handed out,
// finds nothing, so a stale handle can never reach memory that now holds something else.
template <class Object>
class HandleRegistry {
 public:
  struct Entry {
    Object* object = nullptr;  // owned by whoever registered it; the registry never deletes
    int references = 1;
    std::uintptr_t source = 0;  // the id of the entry this one was made from (a layout's score)
  };

  // Registers the object with one reference and returns its new id (never 0).
  std::uintptr_t Add(Object* object, std::uintptr_t source = 0) {
    const std::uintptr_t id = ++mLastId;
    mEntries.emplace(id, Entry{object, 1, source});
    return id;
  }

  // Null for an id that is not (or no longer) registered.
  Entry* Find(std::uintptr_t id) {
    auto found = mEntries.find(id);
    return found == mEntries.end() ? nullptr : &found->second;
  }

  // Unregisters the entry and hands it back; false when there was none.
  bool Remove(std::uintptr_t id, Entry* removed) {
    auto found = mEntries.find(id);
    if (found == mEntries.end()) return false;
    *removed = found->second;
    mEntries.erase(found);
    return true;
  }

  int size() const { return static_cast<int>(mEntries.size()); }

 private:
  std::map<std::uintptr_t, Entry> mEntries;
  std::uintptr_t mLastId = 0;
};

// A handle of the interface and the registry id it carries.
template <class Handle>
std::uintptr_t HandleId(Handle handle) {
  return reinterpret_cast<std::uintptr_t>(handle);
}
template <class Handle>
Handle HandleFromId(std::uintptr_t id) {
  return reinterpret_cast<Handle>(id);
}
