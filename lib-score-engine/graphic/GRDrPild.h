#pragma once

#include "ARDrPild.h"
#include "PictureMark.h"

// The picture of the DrPild tag.
class GRDrPild : public PictureMark<ARDrPild> {
 public:
  static constexpr char kImageName[] = "drpild";
  explicit GRDrPild(ARDrPild* mark) : PictureMark(mark, kImageName) {}
};
