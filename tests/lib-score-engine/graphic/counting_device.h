#pragma once

#include "GRMusic.h"
#include "RazidDrawTypes.h"
#include "recording_device.h"

namespace EngineTesting {

// A device that only counts what it is asked to draw, for measuring the engine's drawing
// rather than the formatting of a recording; it measures glyphs and texts as its base does.
class CountingDevice : public RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;
  long calls = 0;

  void MoveTo(float, float) override { ++calls; }
  void LineTo(float, float) override { ++calls; }
  void Line(float, float, float, float) override { ++calls; }
  void Polygon(float const*, float const*, int) override { ++calls; }
  void Rectangle(float, float, float, float) override { ++calls; }
  void SelectPen(VGColor const&, float) override { ++calls; }
  void SelectFillColor(VGColor const&) override { ++calls; }
  void PushPen(VGColor const&, float) override { ++calls; }
  void PopPen() override { ++calls; }
  void PushFillColor(VGColor const&) override { ++calls; }
  void PopFillColor() override { ++calls; }
  void DrawMusicSymbol(float, float, unsigned int) override { ++calls; }
  void DrawString(float, float, char const*, int) override { ++calls; }
  void SetMusicFont(VGFont const* font) override { mMusic = font; }
  VGFont const* GetMusicFont() const override { return mMusic; }
  void SetTextFont(VGFont const* font) override { mText = font; }
  VGFont const* GetTextFont() const override { return mText; }
  void SetFontColor(VGColor const& colour) override { mColour = colour; }
  VGColor GetFontColor() const override { return mColour; }
  void SetFontAlign(unsigned int align) override { mAlign = align; }
  unsigned int GetFontAlign() const override { return mAlign; }

 private:
  VGFont const* mMusic = nullptr;
  VGFont const* mText = nullptr;
  VGColor mColour;
  unsigned int mAlign = 0;
};

// Every page of the layout drawn on the device, each as an A4 page of 1000 x 1414 units.
inline void DrawEveryPage(GRMusic& layout, CountingDevice& device) {
  for (int page = 1; page <= layout.getNumPages(); ++page) {
    RazidOnDrawDesc desc;
    desc.hdc = &device;
    desc.page = page;
    desc.sizex = 1000;
    desc.sizey = 1414;
    layout.OnDraw(device, desc);
  }
}

}  // namespace EngineTesting
