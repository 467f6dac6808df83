#include "GRStaffState.h"

#include <algorithm>

#include "ARStaffFormat.h"
#include "TagParameterFloat.h"

float GRStaffState::lineSpaceOf(ARStaffFormat const* format) {
  if (!format || !format->getStaffSize()) return 50;
  const float size = format->getStaffSize()->getValue(50);
  return size > 0 ? 2 * size : 50;
}

GRStaffState& GRStaffState::operator=(GRStaffState const& other) {
  if (this == &other) return *this;
  meterset = other.meterset;
  curmeasurenum = other.curmeasurenum;
  curmeter = other.curmeter;
  keyset = other.keyset;
  numkeys = other.numkeys;
  std::copy_n(other.KeyArray, kPitches, KeyArray);
  std::copy_n(other.MeasureAccidentals, kPitches, MeasureAccidentals);
  curkey = other.curkey;
  clefset = other.clefset;
  clefname = other.clefname;
  basepit = other.basepit;
  transposeOffset = other.transposeOffset;
  instrKeyNumber = other.instrKeyNumber;
  std::copy_n(other.instrKeyArray, kPitches, instrKeyArray);
  baseoct = other.baseoct;
  octava = other.octava;
  baseline = other.baseline;
  curclef = other.curclef;
  curbarfrmt = other.curbarfrmt;
  curstaffrmt = other.curstaffrmt;
  lineSpace = lineSpaceOf(curstaffrmt);
  numlines = other.numlines;
  distance = other.distance;
  distanceset = other.distanceset;
  return *this;
}
