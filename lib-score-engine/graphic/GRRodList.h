#pragma once

#include <map>
#include <vector>

#include "GRArenaObject.h"
#include "kf_ilist.h"

class GRRod;

// An owning list of rods in rod order, by first spring id, indexed so that a layout of any
// length finds the rods of a few springs without walking all the others: the rods of each first
// id are one run of the list, and a tree over the first ids keeps the furthest end of each run,
// which finds the rods that reach over a spring from far before it.
class GRRodList : public GRArenaObject {
 public:
  GRRodList() = default;
  GRRodList(GRRodList const&) = delete;
  GRRodList& operator=(GRRodList const&) = delete;

  KF_IPointerList<GRRod> const& rods() const { return mRods; }
  bool IsEmpty() const { return mRods.IsEmpty(); }

  // Takes the rod, first or last among the rods of its first id.
  void insert(GRRod* rod, bool firstOfItsId);
  // Takes the rod where the staff manager puts it: coming from the back, last among the rods of
  // its id when no rod starts later, else first; coming from the front, first when no rod starts
  // earlier, else last.
  void insertFrom(GRRod* rod, bool fromFront);
  // Removes and deletes the rod; false when the list does not hold it.
  bool remove(GRRod* rod);
  // Removes and deletes every rod whose first id lies in [from, to).
  void removeStartingIn(int from, int to);

  // The rods whose first id lies in [from, to), in list order.
  void collectStartingIn(int from, int to, std::vector<GRRod*>& out) const;
  // The rods that begin before `before` and end after `beyond`, in list order.
  void collectReaching(int before, int beyond, std::vector<GRRod*>& out) const;

 private:
  struct Run {
    void* first;
    void* last;
  };
  using Runs = std::map<int, Run>;

  void* placeNewRun(int id, GRRod* rod);
  void removeAt(void* node);
  // Furthest end of the rods of one id, for the tree.
  int furthestEnd(Run const& run) const;
  void updateTree(int id);
  void growTree(int id) const;
  void collectTree(int node, int low, int high, int before, int beyond,
                   std::vector<int>& ids) const;

  KF_IPointerList<GRRod> mRods{1};
  Runs mRuns;
  // The furthest end per first id (ids 0 and up), as a complete binary tree over mTreeSize
  // leaves; slot 1 is the root.
  mutable std::vector<int> mTree;
  mutable int mTreeSize = 0;
};
