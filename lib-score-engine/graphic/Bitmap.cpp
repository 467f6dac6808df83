#include "Bitmap.h"

#include <filesystem>

#include "NVRect.h"
#include "VGDevice.h"

std::string Bitmap::PathOf(char const* name, char const* scoreFile) {
  std::filesystem::path const picture(name ? name : "");
  if (picture.is_absolute() || !scoreFile || !*scoreFile) return picture.string();
  return (std::filesystem::path(scoreFile).parent_path() / picture).string();
}

Bitmap::~Bitmap() {
  delete mBitmapDevice;
}

int Bitmap::GetWidth() const {
  return mBitmapDevice ? mBitmapDevice->GetWidth() : 0;
}

int Bitmap::GetHeight() const {
  return mBitmapDevice ? mBitmapDevice->GetHeight() : 0;
}

// A picture of no extent has no proportions: it is taken as no picture.
float Bitmap::GetProportionalHeight(float width) const {
  return GetWidth() > 0 ? GetHeight() * width / GetWidth() : 0;
}

float Bitmap::GetProportionalWidth(float height) const {
  return GetHeight() > 0 ? GetWidth() * height / GetHeight() : 0;
}

void Bitmap::Copy(VGDevice& device, float x, float y, float width, float height) const {
  if (!mBitmapDevice) return;
  device.SetRasterOpMode(VGDevice::kOpAnd);
  device.CopyPixels(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                    static_cast<int>(height), mBitmapDevice, -1.0f);
}

void Bitmap::OnDraw(VGDevice& device, NVRect const& box) const {
  Copy(device, box.left, box.top, box.right - box.left, box.bottom - box.top);
}

void Bitmap::OnDrawW(VGDevice& device, NVPoint const& at, float width) const {
  Copy(device, at.x, at.y, width, GetProportionalHeight(width));
}

void Bitmap::OnDrawH(VGDevice& device, NVPoint const& at, float height) const {
  Copy(device, at.x, at.y, GetProportionalWidth(height), height);
}
