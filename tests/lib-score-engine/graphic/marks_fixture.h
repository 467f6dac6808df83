#pragma once

#include <memory>
#include <string>
#include <vector>

#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"

namespace EngineTesting {

// A font whose glyphs and characters are all half its size wide and its size high: the music
// font at 200 has glyphs 100 wide, the text font at 75 characters 37.5 wide.
class HalfWidthFont : public VGFont {
 public:
  HalfWidthFont(char const* name, int size, int properties)
      : mName(name), mSize(size), mProperties(properties) {}

  char const* GetName() const override { return mName.c_str(); }
  int GetSize() const override { return mSize; }
  int GetProperties() const override { return mProperties; }
  void GetExtent(char const* s, int count, float* width, float* height, VGDevice*) const override {
    *width = s ? count * 0.5f * mSize : 0;
    *height = mSize;
  }
  void GetExtent(unsigned char, float* width, float* height, VGDevice*) const override {
    *width = 0.5f * mSize;
    *height = mSize;
  }

 private:
  std::string mName;
  int mSize;
  int mProperties;
};

class HalfWidthSystem : public FakeSystem {
 public:
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override {
    const_cast<HalfWidthSystem*>(this)->requests.push_back(
        Call("CreateVGFont", face, size, properties));
    return new HalfWidthFont(face, size, properties);
  }
};

// A started engine measuring with half-width fonts, and one system of one staff at y 0 with
// five lines 50 apart.
class MarksFixture : public GraphicFixture {
 protected:
  void SetUp() override {
    GraphicFixture::SetUp();
    auto* slice = new GRSystemSlice(nullptr, Fraction(0, 1));
    grSystem.AddSystemSlice(slice);
    staff = new GRStaff(slice);
    slice->addStaff(staff, 0);
    device.setVGSystem(&halfWidth);
    StartEngine();
  }

  // The device's calls from the first one that starts with prefix.
  std::vector<std::string> CallsFrom(char const* prefix) const {
    for (size_t i = 0; i < device.calls.size(); ++i)
      if (device.calls[i].rfind(prefix, 0) == 0)
        return {device.calls.begin() + static_cast<long>(i), device.calls.end()};
    return {};
  }
  // Only the symbols and strings drawn, without the state they were drawn in.
  std::vector<std::string> Drawn() const {
    std::vector<std::string> drawn;
    for (std::string const& call : device.calls)
      if (call.rfind("DrawMusicSymbol", 0) == 0 || call.rfind("DrawString", 0) == 0)
        drawn.push_back(call.substr(0, call.find(')') + 1));
    return drawn;
  }

  HalfWidthSystem halfWidth;
  GRSystem grSystem;
  GRStaff* staff = nullptr;
};

}  // namespace EngineTesting
