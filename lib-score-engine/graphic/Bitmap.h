#pragma once

#include <string>

#include "Image.h"

class VGDevice;

// A picture of the drawing system, held on an offscreen device and copied onto the page. Without
// one it has no size and draws nothing.
class Bitmap : public Image {
 public:
  // The picture on the device, which it owns from now on; none without a device.
  explicit Bitmap(VGDevice* picture = nullptr) : mBitmapDevice(picture) {}
  Bitmap(Bitmap const&) = delete;
  Bitmap& operator=(Bitmap const&) = delete;
  ~Bitmap() override;

  // Into the box; a box with its edges exchanged mirrors the picture.
  void OnDraw(VGDevice& device, NVRect const& box) const override;
  void OnDrawW(VGDevice& device, NVPoint const& at, float width) const override;
  void OnDrawH(VGDevice& device, NVPoint const& at, float height) const override;
  // The other side of the picture at the given one, its proportions kept.
  float GetProportionalHeight(float width) const;
  float GetProportionalWidth(float height) const;
  int GetWidth() const;
  int GetHeight() const;
  // Where the file of a picture named so is looked for: beside the score's own file, unless the
  // name is a whole path or the score has no file.
  static std::string PathOf(char const* name, char const* scoreFile);

 private:
  void Copy(VGDevice& device, float x, float y, float width, float height) const;

  VGDevice* mBitmapDevice = nullptr;
};
