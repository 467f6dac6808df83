#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "VGDevice.h"
#include "VGFont.h"

namespace EngineTesting {

// "name(a,b,c)" with the arguments as a stream writes them. One stream serves every call (the
// arguments are formatted before it is taken), since making a stream costs more than the text.
template <class... Args>
std::string Call(char const* name, Args const&... args) {
  thread_local std::ostringstream os;
  os.str("");
  os.clear();
  os << name << "(";
  char const* separator = "";
  ((os << separator << args, separator = ","), ...);
  (void)separator;  // unused for a call without arguments
  os << ")";
  return os.str();
}

// "name@size" of a font, "none" for null.
inline std::string FontName(VGFont const* font) {
  return font ? std::string(font->GetName()) + "@" + std::to_string(font->GetSize()) : "none";
}

inline std::string Rgba(VGColor const& c) {
  return Call("rgba", int(c.red), int(c.green), int(c.blue), int(c.alpha));
}

// A device that draws nothing and records every call with its arguments; symbols and strings
// also record the state they are drawn in (font, colour, alignment).
class RecordingDevice : public VGDevice {
 public:
  explicit RecordingDevice(VGSystem* system) : mSystem(system) {}
  // The system that makes the fonts the engine measures with: a Qt system measures the real
  // music font.
  void setVGSystem(VGSystem* system) { mSystem = system; }

  std::vector<std::string> calls;
  // Off, the device keeps no calls: a caller that looks only at what lands where draws many
  // pages faster.
  bool keepCalls = true;

  bool IsValid() const override { return true; }
  bool BeginDraw() override {
    return Log([&] { return Call("BeginDraw"); }), true;
  }
  void EndDraw() override {
    Log([&] { return Call("EndDraw"); });
  }
  void InvalidateRect(float l, float t, float r, float b) override {
    Log([&] { return Call("InvalidateRect", l, t, r, b); });
  }
  void MoveTo(float x, float y) override {
    Log([&] { return Call("MoveTo", x, y); });
  }
  void LineTo(float x, float y) override {
    Log([&] { return Call("LineTo", x, y); });
  }
  void Line(float x1, float y1, float x2, float y2) override {
    Log([&] { return Call("Line", x1, y1, x2, y2); });
  }
  void Frame(float l, float t, float r, float b) override {
    Log([&] { return Call("Frame", l, t, r, b); });
  }
  void Arc(float l, float t, float r, float b, float sx, float sy, float ex, float ey) override {
    Log([&] { return Call("Arc", l, t, r, b, sx, sy, ex, ey); });
  }
  void Triangle(float x1, float y1, float x2, float y2, float x3, float y3) override {
    Log([&] { return Call("Triangle", x1, y1, x2, y2, x3, y3); });
  }
  void Polygon(float const*, float const*, int count) override {
    Log([&] { return Call("Polygon", count); });
  }
  void Rectangle(float l, float t, float r, float b) override {
    Log([&] { return Call("Rectangle", l, t, r, b); });
  }
  void SetMusicFont(VGFont const* font) override {
    Log([&] { return Call("SetMusicFont", FontName(font)); }), mMusicFont = font;
  }
  VGFont const* GetMusicFont() const override { return mMusicFont; }
  void SetTextFont(VGFont const* font) override {
    Log([&] { return Call("SetTextFont", FontName(font)); }), mTextFont = font;
  }
  VGFont const* GetTextFont() const override { return mTextFont; }
  void SelectPen(VGColor const& c, float width) override {
    Log([&] { return Call("SelectPen", Rgba(c), width); });
  }
  void SelectFillColor(VGColor const& c) override {
    Log([&] { return Call("SelectFillColor", Rgba(c)); });
  }
  void PushPen(VGColor const& c, float width) override {
    Log([&] { return Call("PushPen", Rgba(c), width); });
  }
  void PopPen() override {
    Log([&] { return Call("PopPen"); });
  }
  void PushFillColor(VGColor const& c) override {
    Log([&] { return Call("PushFillColor", Rgba(c)); });
  }
  void PopFillColor() override {
    Log([&] { return Call("PopFillColor"); });
  }
  void SetRasterOpMode(VRasterOpMode mode) override {
    Log([&] { return Call("SetRasterOpMode", int(mode)); }), mRasterMode = mode;
  }
  VRasterOpMode GetRasterOpMode() const override { return mRasterMode; }
  bool CopyPixels(VGDevice*, float) override { return Copy(); }
  bool CopyPixels(int, int, VGDevice*, int, int, int, int, float) override { return Copy(); }
  bool CopyPixels(int, int, int, int, VGDevice*, float) override { return Copy(); }
  bool CopyPixels(int, int, int, int, VGDevice*, int, int, int, int, float) override {
    return Copy();
  }
  void SetScale(float x, float y) override {
    Log([&] { return Call("SetScale", x, y); });
  }
  void SetOrigin(float x, float y) override {
    Log([&] { return Call("SetOrigin", x, y); });
  }
  void OffsetOrigin(float dx, float dy) override {
    Log([&] { return Call("OffsetOrigin", dx, dy); });
  }
  void LogicalToDevice(float*, float*) const override {}
  void DeviceToLogical(float*, float*) const override {}
  float GetXScale() const override { return 1; }
  float GetYScale() const override { return 1; }
  float GetXOrigin() const override { return 0; }
  float GetYOrigin() const override { return 0; }
  void NotifySize(int w, int h) override {
    Log([&] { return Call("NotifySize", w, h); });
  }
  int GetWidth() const override { return 0; }
  int GetHeight() const override { return 0; }
  void DrawMusicSymbol(float x, float y, unsigned int symbol) override {
    Log([&] { return Call("DrawMusicSymbol", x, y, symbol) + State(mMusicFont); });
  }
  void DrawString(float x, float y, char const* s, int count) override {
    Log([&] { return Call("DrawString", x, y, s, count) + State(mTextFont); });
  }
  void SetFontColor(VGColor const& c) override {
    Log([&] { return Call("SetFontColor", Rgba(c)); }), mFontColor = c;
  }
  VGColor GetFontColor() const override { return mFontColor; }
  void SetFontBackgroundColor(VGColor const& c) override {
    Log([&] { return Call("SetFontBackgroundColor", Rgba(c)); }), mBackground = c;
  }
  VGColor GetFontBackgroundColor() const override { return mBackground; }
  void SetFontAlign(unsigned int align) override {
    Log([&] { return Call("SetFontAlign", align); }), mAlign = align;
  }
  unsigned int GetFontAlign() const override { return mAlign; }
  void SetDPITag(float dpi) override {
    Log([&] { return Call("SetDPITag", dpi); });
  }
  float GetDPITag() const override { return -1; }
  void* GetBitMapPixels() override { return nullptr; }
  void ReleaseBitMapPixels() override {}
  VGSystem* getVGSystem() const override { return mSystem; }
  void* GetNativeContext() const override { return nullptr; }

 private:
  // The call's text is made only when calls are kept.
  template <class Text>
  void Log(Text const& text) {
    if (keepCalls) calls.push_back(text());
  }
  bool Copy() {
    return Log([&] { return Call("CopyPixels"); }), false;
  }
  std::string State(VGFont const* font) const {
    return " font=" + FontName(font) + " color=" + Rgba(mFontColor) +
           " align=" + std::to_string(mAlign);
  }

  VGSystem* mSystem;
  VGFont const* mMusicFont = nullptr;
  VGFont const* mTextFont = nullptr;
  VGColor mFontColor;
  VGColor mBackground{255, 255, 255, 0};
  unsigned int mAlign = 17;
  VRasterOpMode mRasterMode = kOpCopy;
};

}  // namespace EngineTesting
