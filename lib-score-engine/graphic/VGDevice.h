#pragma once

#include "VGColor.h"

class VGFont;
class VGSystem;

// The engine's drawing device. Every element draws itself through it; the page drawing sets its
// scale and origin, and the symbol map reads them to turn boxes into device coordinates.
class VGDevice {
 public:
  enum VRasterOpMode {
    kUnknown = 0,
    kOpCopy = 1,
    kOpAnd = 2,
    kOpXOr = 4,
    kOpInvert = 8,
    kOpOr = 16
  };
  // Text and symbol alignment flags, combined by or.
  enum {
    kAlignBase = 1,
    kAlignBottom = 2,
    kAlignTop = 4,
    kAlignCenter = 8,
    kAlignLeft = 16,
    kAlignRight = 32
  };

  virtual ~VGDevice() = default;

  virtual bool IsValid() const = 0;
  virtual bool BeginDraw() = 0;
  virtual void EndDraw() = 0;
  virtual void InvalidateRect(float left, float top, float right, float bottom) = 0;

  virtual void MoveTo(float x, float y) = 0;
  virtual void LineTo(float x, float y) = 0;
  virtual void Line(float x1, float y1, float x2, float y2) = 0;
  virtual void Frame(float left, float top, float right, float bottom) = 0;
  virtual void Arc(float left, float top, float right, float bottom, float startX, float startY,
                   float endX, float endY) = 0;
  virtual void Triangle(float x1, float y1, float x2, float y2, float x3, float y3) = 0;
  virtual void Polygon(float const* xs, float const* ys, int count) = 0;
  virtual void Rectangle(float left, float top, float right, float bottom) = 0;

  virtual void SetMusicFont(VGFont const* font) = 0;
  virtual VGFont const* GetMusicFont() const = 0;
  virtual void SetTextFont(VGFont const* font) = 0;
  virtual VGFont const* GetTextFont() const = 0;

  virtual void SelectPen(VGColor const& color, float width) = 0;
  virtual void SelectFillColor(VGColor const& color) = 0;
  virtual void PushPen(VGColor const& color, float width) = 0;
  virtual void PopPen() = 0;
  virtual void PushFillColor(VGColor const& color) = 0;
  virtual void PopFillColor() = 0;
  virtual void SetRasterOpMode(VRasterOpMode mode) = 0;
  virtual VRasterOpMode GetRasterOpMode() const = 0;

  virtual bool CopyPixels(VGDevice* src, float alpha = -1.0f) = 0;
  virtual bool CopyPixels(int xDest, int yDest, VGDevice* src, int xSrc, int ySrc, int srcWidth,
                          int srcHeight, float alpha = -1.0f) = 0;
  virtual bool CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src,
                          float alpha = -1.0f) = 0;
  virtual bool CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src,
                          int xSrc, int ySrc, int srcWidth, int srcHeight, float alpha = -1.0f) = 0;

  virtual void SetScale(float x, float y) = 0;
  virtual void SetOrigin(float x, float y) = 0;
  virtual void OffsetOrigin(float dx, float dy) = 0;
  virtual void LogicalToDevice(float* x, float* y) const = 0;
  virtual void DeviceToLogical(float* x, float* y) const = 0;
  virtual float GetXScale() const = 0;
  virtual float GetYScale() const = 0;
  virtual float GetXOrigin() const = 0;
  virtual float GetYOrigin() const = 0;
  virtual void NotifySize(int width, int height) = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;

  virtual void DrawMusicSymbol(float x, float y, unsigned int symbol) = 0;
  virtual void DrawString(float x, float y, char const* s, int count) = 0;
  virtual void SetFontColor(VGColor const& color) = 0;
  virtual VGColor GetFontColor() const = 0;
  virtual void SetFontBackgroundColor(VGColor const& color) = 0;
  virtual VGColor GetFontBackgroundColor() const = 0;
  virtual void SetFontAlign(unsigned int align) = 0;
  virtual unsigned int GetFontAlign() const = 0;

  virtual void SetDPITag(float dpi) = 0;
  virtual float GetDPITag() const = 0;
  virtual void* GetBitMapPixels() = 0;
  virtual void ReleaseBitMapPixels() = 0;
  virtual VGSystem* getVGSystem() const = 0;
  virtual void* GetNativeContext() const = 0;
};
