#pragma once

#include <memory>

#include "VGDevice.h"

class VGFont;

// The drawing system: makes devices and fonts. Whatever it returns belongs to the caller.
class VGSystem {
 public:
  virtual ~VGSystem() = default;

  virtual VGDevice* CreateDisplayDevice() = 0;
  virtual VGDevice* CreateMemoryDevice(int width, int height) = 0;
  // An offscreen device holding the named picture; null when there is no such picture.
  virtual VGDevice* CreateMemoryDevice(char const* path) = 0;
  // The size in pixels of the named picture, learnt without reading all its pixels where the
  // system can, so that a score can be weighed before its pictures are read; false when there is
  // no such picture. A system that cannot tell makes the picture and measures it.
  virtual bool GetPictureSize(char const* path, int* width, int* height) {
    std::unique_ptr<VGDevice> const picture(CreateMemoryDevice(path));
    if (!picture) return false;
    *width = picture->GetWidth();
    *height = picture->GetHeight();
    return true;
  }
  virtual VGDevice* CreatePrinterDevice() = 0;
  virtual VGDevice* CreateAntiAliasedMemoryDevice(int width, int height) = 0;
  // Properties: 1 bold, 2 italic, 4 underline. Null when the font cannot be made.
  virtual VGFont const* CreateVGFont(char const* face, int size, int properties) const = 0;
};
