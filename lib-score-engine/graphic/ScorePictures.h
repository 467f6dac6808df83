#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "Bitmap.h"

// The pictures of one score's picture marks. Each is looked for once, in the file of its name
// beside the score's own file, and shared by every mark that shows it: a thousand marks of a
// large picture hold one copy of its pixels, and a missing picture is looked for, and warned of,
// once.
class ScorePictures {
 public:
  explicit ScorePictures(std::string scoreFile = {});

  // The pixels of the named picture, as its file tells them before they are read; 0 without
  // such a picture. The layout weighs them before it takes the score on.
  double PixelsOf(char const* name);
  // The named picture, read when it is first asked for: a picture of no size when there is none.
  std::shared_ptr<Bitmap const> Of(char const* name);

 private:
  struct Picture {
    std::optional<double> pixels;
    std::shared_ptr<Bitmap const> read;
  };

  std::string mScoreFile;
  std::map<std::string, Picture, std::less<>> mPictures;
};
