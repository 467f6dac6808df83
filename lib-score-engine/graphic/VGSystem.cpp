#include "VGSystem.h"

#include "VGPictureFile.h"

namespace {

// A picture that a system which cannot weigh a file had to read to learn its size.
class AlreadyReadPicture : public VGPictureFile {
 public:
  explicit AlreadyReadPicture(VGDevice* picture) : mPicture(picture) {}
  double Pixels() const override {
    return static_cast<double>(mPicture->GetWidth()) * mPicture->GetHeight();
  }
  VGDevice* Read() override { return mPicture.release(); }

 private:
  std::unique_ptr<VGDevice> mPicture;
};

}  // namespace

std::unique_ptr<VGPictureFile> VGSystem::OpenPicture(char const* path) {
  VGDevice* picture = CreateMemoryDevice(path);
  if (!picture) return nullptr;
  return std::make_unique<AlreadyReadPicture>(picture);
}
