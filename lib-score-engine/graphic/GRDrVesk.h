#pragma once

#include "ARDrVesk.h"
#include "PictureMark.h"
#include "ScorePictures.h"

// The picture of the DrVesk tag.
class GRDrVesk : public PictureMark<ARDrVesk> {
 public:
  static constexpr char kImageName[] = "drvesk";
  // The picture the score holds under the mark's name; a mark made on its own reads the file of
  // that name itself.
  explicit GRDrVesk(ARDrVesk* mark,
                    std::shared_ptr<Bitmap const> picture = ScorePictures().Of(kImageName))
      : PictureMark(mark, std::move(picture)) {}
};
