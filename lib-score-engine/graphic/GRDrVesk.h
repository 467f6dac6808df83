#pragma once

#include "ARDrVesk.h"
#include "PictureMark.h"

// The picture of the DrVesk tag.
class GRDrVesk : public PictureMark<ARDrVesk> {
 public:
  static constexpr char kImageName[] = "drvesk";
  // The picture is read from the file of its name beside the score's file, when it has one.
  explicit GRDrVesk(ARDrVesk* mark, char const* scoreFile = nullptr)
      : PictureMark(mark, kImageName, scoreFile) {}
};
