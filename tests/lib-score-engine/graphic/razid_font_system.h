#pragma once

#include "graphic_fixture.h"

namespace EngineTesting {

// A drawing system whose fonts measure through Qt: the music font "Razid2" by the character the
// symbol table gives each code, any other face by its text, as the Qt front end measures.
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
