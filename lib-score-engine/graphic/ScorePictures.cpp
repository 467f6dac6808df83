#include "ScorePictures.h"

#include <utility>

#include "VGDevice.h"
#include "VGSystem.h"
#include "engine_globals.h"

ScorePictures::ScorePictures(std::string scoreFile) : mScoreFile(std::move(scoreFile)) {}

double ScorePictures::PixelsOf(char const* name) {
  Picture& picture = mPictures[name];
  if (picture.pixels) return *picture.pixels;
  picture.pixels = 0;
  VGDevice* device = gGlobalSettings.gDevice;
  if (!device || !device->getVGSystem()) return 0;
  int width = 0, height = 0;
  std::string const path = Bitmap::PathOf(name, mScoreFile.c_str());
  if (device->getVGSystem()->GetPictureSize(path.c_str(), &width, &height) && width > 0 &&
      height > 0)
    picture.pixels = static_cast<double>(width) * height;
  return *picture.pixels;
}

std::shared_ptr<Bitmap const> ScorePictures::Of(char const* name) {
  Picture& picture = mPictures[name];
  if (!picture.read) picture.read = std::make_shared<Bitmap const>(name, mScoreFile.c_str());
  return picture.read;
}
