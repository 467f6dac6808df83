#include "OpenRangeIndex.h"

#include <algorithm>
#include <typeinfo>

#include "ARCast.h"
#include "ARMusicalTag.h"
#include "ARPositionTag.h"

namespace {

// Takes the newest entry of tag out of entries; false when there is none.
template <class Entries>
bool EraseNewest(Entries& entries, ARPositionTag const* tag) {
  auto found = std::find_if(entries.rbegin(), entries.rend(),
                            [tag](auto const& entry) { return entry.second == tag; });
  if (found == entries.rend()) return false;
  entries.erase(std::next(found).base());
  return true;
}

// Walks the entries from the newest, erasing closed begins where they are met so that none is
// passed twice, until visit returns true for an open one; returns that one's place or -1.
template <class Entries, class Visit>
std::ptrdiff_t NewestOpen(Entries& entries, Visit visit) {
  for (std::size_t i = entries.size(); i > 0; --i) {
    if (entries[i - 1].second->getCorrespondence()) {
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i - 1));
      continue;
    }
    if (visit(entries[i - 1].second)) return static_cast<std::ptrdiff_t>(i - 1);
  }
  return -1;
}

}  // namespace

OpenRangeIndex::Entries* OpenRangeIndex::EntriesOf(ARPositionTag* begin, int id) {
  auto kinds = mById.find(id);
  if (kinds == mById.end()) return nullptr;
  auto kind = kinds->second.find(std::type_index(typeid(*begin)));
  return kind == kinds->second.end() ? nullptr : &kind->second;
}

void OpenRangeIndex::Add(ARPositionTag* begin) {
  mUnfiled.emplace_back(mFiled++, begin);
}

void OpenRangeIndex::Remove(ARPositionTag* begin) {
  if (EraseNewest(mUnfiled, begin)) return;
  if (auto* tag = ar_cast<ARMusicalTag>(begin))
    if (Entries* entries = EntriesOf(begin, tag->getID()); entries && EraseNewest(*entries, begin))
      return;
  // Filed under an id it no longer has: rare enough to look everywhere.
  for (auto& [id, kinds] : mById)
    for (auto& [kind, entries] : kinds)
      if (EraseNewest(entries, begin)) return;
}

void OpenRangeIndex::Clear() {
  mUnfiled.clear();
  mById.clear();
}

void OpenRangeIndex::FileNew() {
  for (Entry const& entry : mUnfiled) {
    auto* tag = ar_cast<ARMusicalTag>(entry.second);
    if (tag && !entry.second->isEndTagClass())
      mById[tag->getID()][std::type_index(typeid(*entry.second))].push_back(entry);
  }
  mUnfiled.clear();
}

ARPositionTag* OpenRangeIndex::FindOpen(ARPositionTag* begin, int id, double& steps) {
  if (!begin) return nullptr;
  FileNew();
  Entries* entries = EntriesOf(begin, id);
  if (!entries) return nullptr;
  const std::ptrdiff_t at = NewestOpen(*entries, [&](ARPositionTag* candidate) {
    ++steps;
    return candidate == begin;
  });
  return at < 0 ? nullptr : begin;
}

ARPositionTag* OpenRangeIndex::FindNewest(int id, std::function<bool(ARPositionTag*)> const& fits,
                                          double& steps) {
  FileNew();
  auto kinds = mById.find(id);
  if (kinds == mById.end()) return nullptr;
  Entry const* newest = nullptr;
  for (auto& [kind, entries] : kinds->second) {
    ++steps;
    // Begins with a range are those whose parentheses are still open, a few; the newest one
    // without decides for its whole kind.
    const std::ptrdiff_t at = NewestOpen(entries, [&](ARPositionTag* candidate) {
      ++steps;
      return !ar_cast<ARMusicalTag>(candidate)->getRange();
    });
    if (at < 0) continue;
    Entry const& found = entries[static_cast<std::size_t>(at)];
    if (fits(found.second) && (!newest || found.first > newest->first)) newest = &found;
  }
  return newest ? newest->second : nullptr;
}
