#pragma once

#include "GRArenaObject.h"
#include "kf_ivect.h"

class GRNotationElement;
class GRSpring;

// The least distance across the springs first .. end-1, and the force that gives them that
// distance (-1 until computed).
class GRRod : public GRArenaObject {
 public:
  // Spans a's spring up to b's, or up to defaultEnd while b has no spring yet.
  GRRod(GRNotationElement const* a, GRNotationElement const* b, int defaultEnd, float length);
  // The same span, as long as the room a needs to the right and b to the left.
  GRRod(GRNotationElement const* a, GRNotationElement const* b, int defaultEnd);
  GRRod(float length, int first, int end);
  // A copy forgets the force: it may be set against other springs.
  GRRod(GRRod const& other);
  GRRod& operator=(GRRod const&) = delete;
  virtual ~GRRod() = default;

  float calcforce(KF_IVector<GRSpring>* springs);
  float calclength(float inForce, KF_IVector<GRSpring>* springs) const;
  float stretchsprings(float inForce, KF_IVector<GRSpring>* springs) const;
  // Forgets the force when other overlaps this rod; 1 when it did.
  int resetForce(GRRod const& other);
  // -1, 0 or 1: rods over one spring first, then by first spring.
  int operator<(GRRod const& other) const;

  float getForce() const { return mForce; }
  float getLength() const { return mLength; }
  void setLength(float length) { mLength = length; }
  int getSpr1() const { return mFirst; }
  int getSpr2() const { return mEnd; }
  bool getIsMarked() const { return mMarker; }
  void setIsMarked(bool marked) { mMarker = marked; }

 private:
  float mForce = -1;
  bool mMarker = false;
  int mFirst;
  int mEnd;
  float mLength;
};
