#include "ScorePictures.h"

#include <utility>

#include "GRLayoutWork.h"
#include "GRMusic.h"
#include "VGDevice.h"
#include "VGSystem.h"
#include "engine_globals.h"

namespace {

void WarnNotReadable(std::string const& path) {
  ZudidOvod("Picture not found or not readable:", path.c_str());
}

}  // namespace

ScorePictures::ScorePictures(std::string scoreFile) : mScoreFile(std::move(scoreFile)) {}

std::string ScorePictures::PathOf(char const* name) const {
  return Bitmap::PathOf(name, mScoreFile.c_str());
}

double ScorePictures::Take(char const* name, double room) {
  Picture& picture = mPictures[name];
  if (picture.weighed) return picture.work;
  picture.weighed = true;
  VGDevice* device = gGlobalSettings.gDevice;
  if (!device || !device->getVGSystem()) return 0;
  std::string const path = PathOf(name);
  std::unique_ptr<VGPictureFile> file = device->getVGSystem()->OpenPicture(path.c_str());
  if (!file) {
    WarnNotReadable(path);
    return 0;
  }
  double const work = PictureWork(file->Pixels());
  if (work > room) {
    ZudidOvod("Picture too large for one layout - left out:", path.c_str());
    return 0;
  }
  picture.work = work;
  picture.file = std::move(file);
  return work;
}

std::shared_ptr<Bitmap const> ScorePictures::Of(char const* name) {
  Take(name, GRMusic::sMaxLayoutWork);
  Picture& picture = mPictures[name];
  if (picture.read) return picture.read;
  VGDevice* read = nullptr;
  if (picture.file) {
    read = picture.file->Read();
    picture.file.reset();
    if (!read) WarnNotReadable(PathOf(name));
  }
  picture.read = std::make_shared<Bitmap const>(read);
  return picture.read;
}
