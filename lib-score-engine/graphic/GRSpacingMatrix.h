#pragma once

#include "kf_ilist.h"
#include "kf_ivect.h"
#include "kf_list.h"

class GRSpring;

// Per-spring spacing values of a stretch of music (6 rows, one column per spring id; row 3 is
// the frequency 1 / shortest note spanning the spring, written by the voices) and the runs of
// equal notes of each voice, which CheckNeighbours spaces evenly where they would come out
// irregular.
class GRSpacingMatrix {
 public:
  static constexpr int kRows = 6;
  static constexpr int kFrequencyRow = 3;

  GRSpacingMatrix();
  // Columns below firstColumn are expected to stay 0: the matrix of a stretch of springs keeps
  // memory for its own springs only, wherever in the score they stand.
  explicit GRSpacingMatrix(int firstColumn);
  GRSpacingMatrix(GRSpacingMatrix const&) = delete;
  GRSpacingMatrix& operator=(GRSpacingMatrix const&) = delete;
  virtual ~GRSpacingMatrix();

  // Grows to at least n columns (10 spare), keeping every value; n columns are in use after.
  double* resizeMSCMatrix(int n);
  double getMSCMatrix(int column, int row) const;
  void setMSCMatrix(int column, int row, double value);
  double* getMSCMatrix() const { return mMatrix; }
  int getMSCMatrixMemSize() const { return mCapacity; }
  int getMSCMatrixRealSize() const { return mCount; }

  // Takes the list of ascending spring ids of one run.
  void AddNeighbourList(KF_List<int>* list);
  void CheckNeighbours(KF_IVector<GRSpring>* springs);

  KF_IPointerList<KF_List<int>> const* getListsByStart() const { return mByStart; }
  KF_IPointerList<KF_List<int>> const* getListsByEnd() const { return mByEnd; }

 private:
  struct Interval {
    int first;
    int end;
  };
  bool isIrregular(KF_List<int> const& list) const;
  Interval widen(KF_List<int> const& candidate) const;
  void evenOut(Interval interval, KF_IVector<GRSpring>* springs);

  // Stores column c at c - mBase; columns below mBase are held only once written.
  void reach(int column);

  int mCapacity = 50;
  int mCount = 0;
  int mBase = 0;
  double* mMatrix;
  KF_IPointerList<KF_List<int>>* mByStart = nullptr;
  KF_IPointerList<KF_List<int>>* mByEnd = nullptr;
  int mLargestFirst = -1;
  int mSmallestLast = -1;
};
