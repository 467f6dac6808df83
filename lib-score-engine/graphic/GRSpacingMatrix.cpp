#include "GRSpacingMatrix.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "GRSpring.h"
#include "spacing_rounding.h"
#include "src/common/assertion.h"

GRSpacingMatrix::GRSpacingMatrix() : mMatrix(new double[kRows * 50]()) {}

GRSpacingMatrix::GRSpacingMatrix(int firstColumn) : GRSpacingMatrix() {
  mBase = firstColumn > 0 ? firstColumn : 0;
}

GRSpacingMatrix::~GRSpacingMatrix() {
  delete[] mMatrix;
  delete mByEnd;
  delete mByStart;
}

double* GRSpacingMatrix::resizeMSCMatrix(int n) {
  if (mCapacity < n - mBase) {
    const int capacity = n - mBase + 10;
    auto* grown = new double[kRows * capacity]();
    for (int row = 0; row < kRows; ++row)
      std::copy(mMatrix + row * mCapacity, mMatrix + row * mCapacity + mCapacity,
                grown + row * capacity);
    delete[] mMatrix;
    mMatrix = grown;
    mCapacity = capacity;
  }
  mCount = n;
  return mMatrix;
}

void GRSpacingMatrix::reach(int column) {
  if (column >= mBase) return;
  const int shift = mBase - column;
  const int capacity = mCapacity + shift;
  auto* grown = new double[kRows * capacity]();
  for (int row = 0; row < kRows; ++row)
    std::copy(mMatrix + row * mCapacity, mMatrix + row * mCapacity + mCapacity,
              grown + row * capacity + shift);
  delete[] mMatrix;
  mMatrix = grown;
  mCapacity = capacity;
  mBase = column;
}

double GRSpacingMatrix::getMSCMatrix(int column, int row) const {
  if (column < mBase || column >= mCount || row < 0 || row >= kRows) return 0;
  return mMatrix[row * mCapacity + column - mBase];
}

void GRSpacingMatrix::setMSCMatrix(int column, int row, double value) {
  if (column < 0 || column >= mCount || row < 0 || row >= kRows) return;
  reach(column);
  mMatrix[row * mCapacity + column - mBase] = value;
}

namespace {

int firstId(KF_List<int> const* list) {
  return list->IsEmpty() ? 0 : list->GetHead();
}
int lastId(KF_List<int> const* list) {
  return list->IsEmpty() ? 0 : list->GetTail();
}

}  // namespace

void GRSpacingMatrix::AddNeighbourList(KF_List<int>* list) {
  const int f = firstId(list);
  const int l = lastId(list);
  if (!mByStart) {
    mByStart = new KF_IPointerList<KF_List<int>>(1);
    mByEnd = new KF_IPointerList<KF_List<int>>(0);
    mByStart->AddTail(list);
    mByEnd->AddTail(list);
    mLargestFirst = f;
    mSmallestLast = l;
    return;
  }
  if (f < mLargestFirst) {
    mByStart->AddSortedHead(list, [](KF_List<int> const* at, KF_List<int> const* added) {
      return firstId(at) >= firstId(added) ? 1 : 0;
    });
  } else {
    mLargestFirst = f;
    mByStart->AddTail(list);
  }
  if (l <= mSmallestLast) {
    mSmallestLast = l;
    mByEnd->AddTail(list);
  } else {
    mByEnd->AddSortedHead(list, [](KF_List<int> const* at, KF_List<int> const* added) {
      return lastId(at) <= lastId(added) ? 1 : 0;
    });
  }
}

// A run is irregular when the mean frequency between its notes differs from one pair to the
// next.
bool GRSpacingMatrix::isIrregular(KF_List<int> const& list) const {
  // Special spacing is a layout setting a score may turn on, so a run of one note is simply
  // regular rather than a stop.
  if (list.GetCount() < 2) return false;
  void* pos = list.GetHeadPosition();
  int previous = list.GetNext(pos);
  bool haveMean = false;
  double firstMean = 0;
  while (pos) {
    const int id = list.GetNext(pos);
    double sum = 0;
    for (int column = previous; column < id; ++column) sum += getMSCMatrix(column, kFrequencyRow);
    const double mean = id > previous ? sum / (id - previous) : 0;
    if (!haveMean) {
      firstMean = mean;
      haveMean = true;
    } else if (mean != firstMean) {
      return true;
    }
    previous = id;
  }
  return false;
}

// Widens a candidate run over the runs of other voices that overlap its ends.
GRSpacingMatrix::Interval GRSpacingMatrix::widen(KF_List<int> const& candidate) const {
  int f = firstId(&candidate);
  int l = lastId(&candidate);
  for (void* pos = mByStart->GetHeadPosition(); pos;) {
    KF_List<int> const* other = mByStart->GetNext(pos);
    if (firstId(other) < l && lastId(other) > f && lastId(other) > l) l = lastId(other);
  }
  for (void* pos = mByEnd->GetHeadPosition(); pos;) {
    KF_List<int> const* other = mByEnd->GetNext(pos);
    if (lastId(other) > f && firstId(other) < l && firstId(other) < f) f = firstId(other);
  }
  return {f, l};
}

void GRSpacingMatrix::evenOut(Interval interval, KF_IVector<GRSpring>* springs) {
  const int n = interval.end - interval.first;
  if (n <= 0) return;
  double sum = 0;
  double highest = 0;
  float series = 0;
  double summedDuration = 0;
  for (int column = interval.first; column < interval.end; ++column) {
    const double frequency = getMSCMatrix(column, kFrequencyRow);
    sum += frequency;
    highest = std::max(highest, frequency);
    GRSpring const* spring = springs ? springs->Get(column) : nullptr;
    if (!spring || frequency <= 0) continue;
    const double d = spring->getDuration().getValue();
    if (d <= 0) continue;
    const Fraction noteValue(1.0 / frequency);
    const float effective =
        static_cast<float>(GRSpring::defconst(noteValue) * noteValue.getValue() / d);
    series = series == 0 ? effective : seriesCombine(series, effective);
    summedDuration += d;
  }
  if (summedDuration <= 0) return;
  const double average = sum / n;
  auto evenStiffness = [&](double frequency) {
    return GRSpring::defconst(static_cast<float>(1.0 / frequency)) / (summedDuration * frequency);
  };
  double even = 0;
  if (average > 0 && std::fabs(series - evenStiffness(average)) < 0.05)
    even = average;
  else if (highest > 0 && std::fabs(series - evenStiffness(highest)) < 0.17)
    even = highest;
  if (even == 0) return;
  for (int column = interval.first; column < interval.end; ++column)
    setMSCMatrix(column, kFrequencyRow, even);
}

void GRSpacingMatrix::CheckNeighbours(KF_IVector<GRSpring>* springs) {
  if (!mByStart) return;
  std::vector<Interval> intervals;
  for (void* pos = mByStart->GetHeadPosition(); pos;) {
    KF_List<int> const* list = mByStart->GetNext(pos);
    if (!isIrregular(*list)) continue;
    const Interval interval = widen(*list);
    if (interval.first == -1) continue;
    intervals.push_back(interval);
    mLargestFirst = interval.first;
  }
  for (Interval const& interval : intervals) evenOut(interval, springs);
}
