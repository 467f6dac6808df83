#include "graphic_fixture.h"

#include <cstring>

#include "GRSpecial.h"
#include "engine_globals.h"
#include "engine_reset.h"
#include "graphic_globals.h"

namespace EngineTesting {

void FixedWidthFont::GetExtent(char const* s, int, float* width, float* height, VGDevice*) const {
  ++*mMeasured;
  *width = s ? std::strlen(s) * 0.5f * mSize : 0;
  *height = s ? mSize : 0;
}

void FixedWidthFont::GetExtent(unsigned char, float* width, float* height, VGDevice*) const {
  ++*mMeasured;
  *width = mSize * 3 / 10.0f;
  *height = mSize;
}

VGFont const* FakeSystem::CreateVGFont(char const* face, int size, int properties) const {
  auto* self = const_cast<FakeSystem*>(this);
  self->requests.push_back(Call("CreateVGFont", face, size, properties));
  if (missingFaces.count(face)) return nullptr;
  return new FixedWidthFont(face, size, properties, &self->measured);
}

void GraphicFixture::SetUp() {
  RazidResetEngineState();
}

void GraphicFixture::TearDown() {
  RazidResetEngineState();
}

void GraphicFixture::StartEngine() {
  gGlobalSettings.gDevice = &device;
  gFontDefs.music.font = GRSpecial::FindOrCreateFont(gFontDefs.music.size, &gFontDefs.music.name);
  gFontDefs.text.font = GRSpecial::FindOrCreateFont(gFontDefs.text.size, &gFontDefs.text.name);
  system.requests.clear();
}

}  // namespace EngineTesting
