#pragma once

#include "graphic_fixture.h"

namespace EngineTesting {

// A drawing system whose fonts are the Qt front end's own (GFontQt), measuring the music font
// "Razid2" and the text faces as pages are drawn; its devices are the recording ones.
class RazidFontSystem : public FakeSystem {
 public:
  VGFont const* CreateVGFont(char const* face, int size, int properties) const override;
};

// Graphic tests on Razid2's real metrics: the music font is registered with Qt and the engine
// starts on a device whose system measures it.
class RazidFontFixture : public GraphicFixture {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;

  RazidFontSystem razidSystem;
};

}  // namespace EngineTesting
