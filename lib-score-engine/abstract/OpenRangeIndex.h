#pragma once

#include <functional>
#include <unordered_map>
#include <vector>

class ARPositionTag;

// The begin tags of one voice whose ranges are still open, by id and oldest first, so that an
// end tag looks only at the begins it may close and not at every range tag written before it.
// A begin counts as open until it has a partner; closed ones are dropped when a search meets
// them. A tag's id is read when the first search after its filing comes, as the factory gives
// it its id only after filing it.
class OpenRangeIndex {
 public:
  // A begin just appended to the voice's range list.
  void Add(ARPositionTag* begin);
  // A begin taken back out of the range list.
  void Remove(ARPositionTag* begin);
  // The newest open begin with that id for which fits holds, or null. Adds the number of open
  // begins looked at to steps.
  ARPositionTag* FindNewest(int id, std::function<bool(ARPositionTag*)> const& fits, double& steps);
  // Forgets every begin, for when the range list is reordered or its tags deleted.
  void Clear();

 private:
  void FileNew();

  std::vector<ARPositionTag*> mUnfiled;
  std::unordered_map<int, std::vector<ARPositionTag*>> mById;
};
