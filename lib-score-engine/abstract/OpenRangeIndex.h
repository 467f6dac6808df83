#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <typeindex>
#include <unordered_map>
#include <utility>
#include <vector>

class ARPositionTag;

// The begin tags of one voice whose ranges are still open, by id and kind (the tag's class) and
// oldest first, so that an end tag looks only at the begins it may close and not at every range
// tag written before it. A begin counts as open until it has a partner; closed ones are dropped
// when a search meets them. A tag's id is read when the first search after its filing comes, as
// the factory gives it its id only after filing it.
class OpenRangeIndex {
 public:
  // A begin just appended to the voice's range list.
  void Add(ARPositionTag* begin);
  // A begin taken back out of the range list.
  void Remove(ARPositionTag* begin);
  // The begin if it is open, filed under that id; the open begins of its id and kind opened
  // after it are passed on the way and added to steps.
  ARPositionTag* FindOpen(ARPositionTag* begin, int id, double& steps);
  // The newest open begin without a range, of that id, for which fits holds, or null: what a
  // named end tag closes. fits must answer alike for begins of one class, as an end tag's name
  // fits a begin by its class alone; a begin with a range only its closing parenthesis ends.
  // Adds the begins and kinds looked at to steps.
  ARPositionTag* FindNewest(int id, std::function<bool(ARPositionTag*)> const& fits, double& steps);
  // Forgets every begin, for when the range list is reordered or its tags deleted.
  void Clear();

 private:
  using Entry = std::pair<std::uint64_t, ARPositionTag*>;  // the order of filing, the begin
  using Entries = std::vector<Entry>;
  using Kinds = std::map<std::type_index, Entries>;

  void FileNew();
  Entries* EntriesOf(ARPositionTag* begin, int id);

  std::uint64_t mFiled = 0;
  Entries mUnfiled;
  std::unordered_map<int, Kinds> mById;
};
