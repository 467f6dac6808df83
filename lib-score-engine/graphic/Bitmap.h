#pragma once

#include <string>

#include "Image.h"

class VGDevice;

// A named picture of the drawing system, held on an offscreen device and copied onto the page.
// Without a device or without such a picture it has no size and draws nothing.
class Bitmap : public Image {
 public:
  // The picture of the file named, beside the score's own file unless the name is a whole path
  // (or the score has no file). Without one the drawing system can read, it warns.
  Bitmap(char const* name, char const* scoreFile);
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
  // Where the file of a picture named so is looked for.
  static std::string PathOf(char const* name, char const* scoreFile);

 private:
  void Copy(VGDevice& device, float x, float y, float width, float height) const;

  VGDevice* mBitmapDevice = nullptr;
};
