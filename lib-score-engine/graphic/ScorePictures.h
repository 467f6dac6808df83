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

  // Takes the named picture into the score when the layout work of reading and holding it is no
  // more than `room`, and returns that work; 0 when there is no such picture, none whose cost is
  // known before it is decoded, or it is left out for want of room. Each is warned of once.
  double Take(char const* name, double room);
  // The named picture, read when first asked for; a picture of no size when it was not taken or
  // its file did not hold what its weight told. A picture not yet taken is taken with the room
  // of a whole layout.
  std::shared_ptr<Bitmap const> Of(char const* name);

 private:
  struct Picture {
    bool weighed = false;
    double work = 0;
    // Taken and not yet read.
    std::unique_ptr<VGPictureFile> file;
    std::shared_ptr<Bitmap const> read;
  };

  std::string PathOf(char const* name) const;

  std::string mScoreFile;
  std::map<std::string, Picture, std::less<>> mPictures;
};
