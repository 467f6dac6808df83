#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "VGSystem.h"
#include "recording_device.h"
#include "recording_symbol_map.h"

namespace EngineTesting {

// A font whose every glyph is 0.3 of its size wide and every character 0.5; it counts what it
// measures.
class FixedWidthFont : public VGFont {
 public:
  FixedWidthFont(char const* name, int size, int properties, int* measured)
      : mName(name), mSize(size), mProperties(properties), mMeasured(measured) {}

  char const* GetName() const override { return mName.c_str(); }
  int GetSize() const override { return mSize; }
  int GetProperties() const override { return mProperties; }
  void GetExtent(char const* s, int count, float* width, float* height, VGDevice*) const override;
  void GetExtent(unsigned char symbol, float* width, float* height, VGDevice*) const override;

 private:
  std::string mName;
  int mSize;
  int mProperties;
  int* mMeasured;
};

// A drawing system that makes fixed-width fonts, except for the faces it is told are missing,
// and records each request. A system whose fonts measure the real music font through Qt takes
// its place with RecordingDevice::setVGSystem before StartEngine.
class FakeSystem : public VGSystem {
 public:
  std::vector<std::string> requests;
  std::set<std::string> missingFaces;
  int measured = 0;

  VGDevice* CreateDisplayDevice() override { return nullptr; }
  VGDevice* CreateMemoryDevice(int, int) override { return nullptr; }
  VGDevice* CreateMemoryDevice(char const*) override { return nullptr; }
  VGDevice* CreatePrinterDevice() override { return nullptr; }
  VGDevice* CreateAntiAliasedMemoryDevice(int, int) override { return nullptr; }
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override;
};

// Every graphic test starts from a fresh engine and ends by resetting it. The engine is started
// as the painter front end does: the device registered, then the music font at 200 and the text
// font at 75 made through the font cache.
class GraphicFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Starts the engine on the recording device; the fixture leaves it stopped.
  void StartEngine();

  FakeSystem system;
  RecordingDevice device{&system};
  RecordingSymbolMap map;
};

}  // namespace EngineTesting
