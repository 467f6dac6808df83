#pragma once

#include "ARDrPild.h"
#include "PictureMark.h"
#include "ScorePictures.h"

// The picture of the DrPild tag.
class GRDrPild : public PictureMark<ARDrPild> {
 public:
  static constexpr char kImageName[] = "drpild";
  // The picture the score holds under the mark's name; a mark made on its own reads the file of
  // that name itself.
  explicit GRDrPild(ARDrPild* mark,
                    std::shared_ptr<Bitmap const> picture = ScorePictures().Of(kImageName))
      : PictureMark(mark, std::move(picture)) {}
};
