#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "ScoreElementDesc.h"
#include "VGSystem.h"
#include "VScoreSymbolMap.h"
#include "recording_device.h"

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

// Keeps every record reported to it.
class RecordingSymbolMap : public VScoreSymbolMap {
 public:
  std::vector<ScoreElementDesc> elements;

  void AddElement(VGDevice const&, ScoreElementDesc const& desc) override {
    elements.push_back(desc);
  }
  void Finish() override {}
  void SetDent(VGDevice const&, float dent) override { mDent = dent; }
  void Reset() override { elements.clear(); }
  bool IsEmpty() const override { return elements.empty(); }
  float GetDent() const override { return mDent; }
  CScoreElement* GetRootElement() const override { return nullptr; }
  int ElementCount() const override { return static_cast<int>(elements.size()); }
  int ElementCountForType(int) const override { return 0; }
  CScoreElement const* GetElement(int) const override { return nullptr; }
  float GetMinDate() const override { return -1; }
  float GetMaxDate() const override { return 0; }
  CScoreElement* FindNthElementOfType(int, int, CScoreElement*) const override { return nullptr; }
  CScoreElement* FindNearestSubElement(int, float, float) const override { return nullptr; }
  CScoreElement* FindEventHitBy(float, float) const override { return nullptr; }

 private:
  float mDent = 0;
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
