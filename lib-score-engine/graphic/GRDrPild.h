#pragma once

#include "ARDrPild.h"
#include "PictureMark.h"

// The picture of the DrPild tag.
class GRDrPild : public PictureMark<ARDrPild> {
 public:
  static constexpr char kImageName[] = "drpild";
  // The picture is read from the file of its name beside the score's file, when it has one.
  explicit GRDrPild(ARDrPild* mark, char const* scoreFile = nullptr)
      : PictureMark(mark, kImageName, scoreFile) {}
};
