#pragma once

#include <map>
#include <memory>
#include <ostream>

#include "GRArenaObject.h"
#include "kf_ilist.h"
#include "kf_vect.h"

class GRSpring;

// One spring of a space-force function: from the force on it stretches (frozen springs never).
struct GRSpringForceIndex {
  static constexpr float kFrozenForce = 1000000000.0f;

  GRSpring* spring;
  float force;
  int index;  // insertion number, 1-based and dense
};

// The width a set of springs takes under a common force, as a piecewise linear function: each
// spring stands pre-stretched under its own force and only stretches once the applied force
// passes it, so the records are kept sorted by that force.
class GRSpaceForceFunction2 : public GRArenaObject {
 public:
  GRSpaceForceFunction2() = default;
  GRSpaceForceFunction2(GRSpaceForceFunction2 const& other);
  GRSpaceForceFunction2& operator=(GRSpaceForceFunction2 const&) = delete;
  virtual ~GRSpaceForceFunction2();

  void addSpring(GRSpring* spring);
  void deleteSpring(GRSpring* spring);
  // Whether the spring is among those the function sums.
  bool holds(GRSpring const* spring) const { return findRecord(spring) != nullptr; }
  void FreezeSpring(GRSpring* spr);
  void UnfreezeSpring(GRSpring* spr);

  float getExtent(float force) const;
  float getForce(float width) const;
  // The quality of a line of this width: 1 at the optimum force, above 1 for slack lines, 0 for
  // lines that cannot be filled or need twice the optimum.
  float EvaluateBreak(float width) const;
  // Merges other's records in by force; at equal force this function's stay first.
  void addSFF(GRSpaceForceFunction2 const& other);
  // Puts every unfrozen spring back under the force it had when it was added.
  void ResetSprings();
  void writeAllExtents(std::ostream& os) const;

  float getXminSum() const { return mXmin; }
  float getTotalConstant() const { return mTotalConstant; }
  float getOptConstant() const { return mOptConstant; }
  float getOverOptExtent() const { return mOverOptExtent; }
  KF_IPointerList<GRSpringForceIndex> const& getRecords() const { return mRecords; }

  static float getOptForce() { return optforce; }
  static void setOptForce(float force) { optforce = force; }
  // Set from the layout settings.
  static float optforce;

 private:
  void* findRecord(GRSpring const* spring) const;
  void insertByForce(GRSpringForceIndex* record);
  // Makes the index from the records, which must be sorted by force.
  void indexByForce();
  // Links the record in where the index says, after those of no greater force.
  void insertIndexed(GRSpringForceIndex* record);
  // The records stand by force, and will while nothing but insertion by force changes them.
  bool isSortedByForce() const;
  // Takes the record at pos out of the list (and the index) without deleting it.
  GRSpringForceIndex* takeOut(void* pos);
  void addToOptConstant(float c);
  void removeFromOptConstant(float c);

  KF_IPointerList<GRSpringForceIndex> mRecords{1};
  // Beside a long list (a line of music without breaks), the records by force, in list order,
  // so that a spring finds its place without walking the list; none while a force is no number.
  std::unique_ptr<std::multimap<float, void*>> mByForce;
  bool mUnordered = false;
  // The records are out of force order (a frozen one behind greater forces, or merged from such
  // records): a merge then places records by walking the list, where an index would differ.
  bool mOutOfOrder = false;
  float mXmin = 0;
  float mTotalConstant = 0;
  float mOverOptExtent = 0;
  float mOptConstant = -1;
};

// The function of a staff manager's begin elements, with the two vectors it fills alongside.
class GRBeginSpaceForceFunction2 : public GRSpaceForceFunction2 {
 public:
  KF_Vector<float>& getFirstVector() { return mFirst; }
  KF_Vector<float>& getSecondVector() { return mSecond; }

 private:
  KF_Vector<float> mFirst{0.0f};
  KF_Vector<float> mSecond{0.0f};
};
