#pragma once

#include <cstring>
#include <string>

#include "VGFont.h"
#include "VGSystem.h"

namespace Layout {

// Every glyph 0.3 of the font's size wide, as the heads of the music font are, and every
// character of a text 0.5: measures that are the same on every machine.
class FixedWidthFont : public VGFont {
 public:
  FixedWidthFont(char const* name, int size, int properties)
      : mName(name ? name : ""), mSize(size), mProperties(properties) {}
  char const* GetName() const override { return mName.c_str(); }
  int GetSize() const override { return mSize; }
  int GetProperties() const override { return mProperties; }
  void GetExtent(char const* s, int, float* width, float* height, VGDevice*) const override {
    *width = s ? static_cast<float>(std::strlen(s)) * 0.5f * static_cast<float>(mSize) : 0;
    *height = s ? static_cast<float>(mSize) : 0;
  }
  void GetExtent(unsigned char, float* width, float* height, VGDevice*) const override {
    *width = static_cast<float>(mSize) * 0.3f;
    *height = static_cast<float>(mSize);
  }

 private:
  std::string mName;
  int mSize;
  int mProperties;
};

class FixedWidthSystem : public VGSystem {
 public:
  VGDevice* CreateDisplayDevice() override { return nullptr; }
  VGDevice* CreateMemoryDevice(int, int) override { return nullptr; }
  VGDevice* CreateMemoryDevice(char const*) override { return nullptr; }
  VGDevice* CreatePrinterDevice() override { return nullptr; }
  VGDevice* CreateAntiAliasedMemoryDevice(int, int) override { return nullptr; }
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override {
    return new FixedWidthFont(face, size, properties);
  }
};

}  // namespace Layout
