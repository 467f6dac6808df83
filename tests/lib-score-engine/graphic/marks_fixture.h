#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "GRStaff.h"
#include "GRSystem.h"
#include "GRSystemSlice.h"
#include "graphic_fixture.h"

namespace EngineTesting {

// Fonts whose glyphs are half their size wide, as their characters are: the music font at 200
// has glyphs 100 wide, the text font at 75 characters 37.5 wide.
class HalfWidthSystem : public FakeSystem {
  class HalfWidthFont : public FixedWidthFont {
   public:
    using FixedWidthFont::FixedWidthFont;
    void GetExtent(unsigned char, float* width, float* height, VGDevice*) const override {
      *width = 0.5f * GetSize();
      *height = GetSize();
    }
  };

 public:
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override {
    auto* self = const_cast<HalfWidthSystem*>(this);
    self->requests.push_back(Call("CreateVGFont", face, size, properties));
    return new HalfWidthFont(face, size, properties, &self->measured);
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
    auto from =
        std::find_if(device.calls.begin(), device.calls.end(),
                     [prefix](std::string const& call) { return call.rfind(prefix, 0) == 0; });
    return {from, device.calls.end()};
  }
  // The same joined by blanks.
  std::string DrawnText() const {
    std::string text;
    for (std::string const& call : Drawn()) text += (text.empty() ? "" : " ") + call;
    return text;
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
