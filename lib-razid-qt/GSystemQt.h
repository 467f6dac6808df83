#pragma once

#include "VGSystem.h"

class QPainter;

// The Qt drawing system: makes drawing devices on one painter (none for the engine's measuring
// device) and fonts that map the engine's symbol codes through the static music symbol table,
// so a font never depends on the system that made it.
class GSystemQt : public VGSystem {
 public:
  explicit GSystemQt(QPainter* painter) : mPainter(painter) {}

  // A device on the system's painter with its own text and music fonts, which it frees.
  VGDevice* CreateDisplayDevice() override;
  // A device holding the picture in the file at path (in the file system's encoding), when its
  // content is one whose cost is known before it is decoded (OpenPicture); null otherwise.
  VGDevice* CreateMemoryDevice(char const* path) override;
  // The picture's file, weighed by its content before any of it is decoded
  // (RazidQt::OpenPicture).
  std::unique_ptr<VGPictureFile> OpenPicture(char const* path) override;
  // Other offscreen and printer devices are not made by this system: these return null.
  VGDevice* CreateMemoryDevice(int width, int height) override;
  VGDevice* CreatePrinterDevice() override;
  VGDevice* CreateAntiAliasedMemoryDevice(int width, int height) override;
  // Properties: 1 bold, 2 italic. The size is in pixels.
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override;

  QPainter* painter() const { return mPainter; }

 private:
  QPainter* mPainter;
};
