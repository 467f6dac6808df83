#include "OpenRangeIndex.h"

#include <algorithm>

#include "ARCast.h"
#include "ARMusicalTag.h"
#include "ARPositionTag.h"

namespace {

// Takes the newest entry equal to tag out of entries; false when there is none.
bool EraseNewest(std::vector<ARPositionTag*>& entries, ARPositionTag const* tag) {
  auto found = std::find(entries.rbegin(), entries.rend(), tag);
  if (found == entries.rend()) return false;
  entries.erase(std::next(found).base());
  return true;
}

}  // namespace

void OpenRangeIndex::Add(ARPositionTag* begin) {
  mUnfiled.push_back(begin);
}

void OpenRangeIndex::Remove(ARPositionTag* begin) {
  if (EraseNewest(mUnfiled, begin)) return;
  if (auto* tag = ar_cast<ARMusicalTag>(begin)) {
    auto group = mById.find(tag->getID());
    if (group != mById.end() && EraseNewest(group->second, begin)) return;
  }
  // Filed under an id it no longer has: rare enough to look everywhere.
  for (auto& [id, entries] : mById)
    if (EraseNewest(entries, begin)) return;
}

void OpenRangeIndex::Clear() {
  mUnfiled.clear();
  mById.clear();
}

void OpenRangeIndex::FileNew() {
  for (ARPositionTag* begin : mUnfiled) {
    auto* tag = ar_cast<ARMusicalTag>(begin);
    if (tag && !begin->isEndTagClass()) mById[tag->getID()].push_back(begin);
  }
  mUnfiled.clear();
}

ARPositionTag* OpenRangeIndex::FindNewest(int id, std::function<bool(ARPositionTag*)> const& fits,
                                          double& steps) {
  FileNew();
  auto group = mById.find(id);
  if (group == mById.end()) return nullptr;
  std::vector<ARPositionTag*>& entries = group->second;
  // Walking from the newest, closed begins are erased where they are met, so none is passed twice.
  for (std::size_t i = entries.size(); i > 0; --i) {
    ARPositionTag* candidate = entries[i - 1];
    if (candidate->getCorrespondence()) {
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i - 1));
      continue;
    }
    ++steps;
    if (fits(candidate)) return candidate;
  }
  return nullptr;
}
