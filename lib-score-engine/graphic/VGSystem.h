#pragma once

#include <memory>

#include "VGDevice.h"
#include "VGPictureFile.h"

class VGFont;

// The drawing system: makes devices and fonts. Whatever it returns belongs to the caller.
class VGSystem {
 public:
  virtual ~VGSystem() = default;

  virtual VGDevice* CreateDisplayDevice() = 0;
  virtual VGDevice* CreateMemoryDevice(int width, int height) = 0;
  // An offscreen device holding the named picture; null when there is no such picture.
  virtual VGDevice* CreateMemoryDevice(char const* path) = 0;
  // The named picture's file, weighed before any of it is decoded; null when there is no such
  // picture, or none whose cost the system can tell before decoding it. A system that cannot weigh
  // a file reads the picture (CreateMemoryDevice) and weighs what it read.
  virtual std::unique_ptr<VGPictureFile> OpenPicture(char const* path);
  virtual VGDevice* CreatePrinterDevice() = 0;
  virtual VGDevice* CreateAntiAliasedMemoryDevice(int width, int height) = 0;
  // Properties: 1 bold, 2 italic, 4 underline. Null when the font cannot be made.
  virtual VGFont const* CreateVGFont(char const* face, int size, int properties) const = 0;
};
