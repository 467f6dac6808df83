#include "GRForceRodEntry.h"

#include "GRRod.h"

int GRForceRodEntry::comp(GRForceRodEntry const* a, GRForceRodEntry const* b) {
  if (a->force == 0 || b->force == 0) {
    if (a->force == 0 && b->force == 0) return 0;
    return a->force == 0 ? -1 : 1;
  }
  const bool aFlagged = a->rod->getIsMarked();
  const bool bFlagged = b->rod->getIsMarked();
  if (aFlagged != bFlagged) return aFlagged ? 1 : -1;
  if (!aFlagged) {
    if (a->force == b->force) return 0;
    return a->force < b->force ? -1 : 1;
  }
  const int aFirst = a->rod->getSpr1();
  const int bFirst = b->rod->getSpr1();
  if (aFirst == bFirst) return 0;
  return aFirst > bFirst ? -1 : 1;
}
