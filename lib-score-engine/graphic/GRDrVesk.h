#pragma once

#include "ARDrVesk.h"
#include "PictureMark.h"

// The picture of the DrVesk tag.
class GRDrVesk : public PictureMark<ARDrVesk> {
 public:
  static constexpr char kImageName[] = "drvesk";
  explicit GRDrVesk(ARDrVesk* mark) : PictureMark(mark, kImageName) {}
};
