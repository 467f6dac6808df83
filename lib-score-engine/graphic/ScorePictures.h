#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "Bitmap.h"
#include "VGPictureFile.h"

// The pictures of one score's picture marks. Each is looked for once, in the file of its name
// beside the score's own file, weighed from that file before any of it is decoded, and shared by
// every mark that shows it: a thousand marks of a large picture hold one copy of its pixels, and a
// missing picture is looked for, and warned of, once.
class ScorePictures {
 public:
  explicit ScorePictures(std::string scoreFile = {});

  // The layout work of reading and holding the named picture, weighed from its file before any
  // of it is decoded; 0 when there is no such picture or none whose cost is known before it is
  // decoded, which is warned of once.
  double Weigh(char const* name);
  // The named picture, read when first asked for; a picture of no size when there is none or its
  // file did not hold what its weight told.
  std::shared_ptr<Bitmap const> Of(char const* name);

 private:
  struct Picture {
    bool weighed = false;
    double work = 0;
    // Weighed and not yet read.
    std::unique_ptr<VGPictureFile> file;
    std::shared_ptr<Bitmap const> read;
  };

  std::string PathOf(char const* name) const;

  std::string mScoreFile;
  std::map<std::string, Picture, std::less<>> mPictures;
};
