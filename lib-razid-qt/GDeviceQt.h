#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "VGDevice.h"
#include "VGFont.h"
#include "lib-razid-qt/glyph_blend.h"
#include "lib-razid-qt/glyph_image_cache.h"

class GFontQt;
class GSystemQt;
class QBrush;
class QFont;
class QLineF;
class QPaintDevice;
class QPainter;
class QRectF;
class QTransform;

// The engine's drawing device on a QPainter (over an image, pixmap, picture, printer or widget).
// Without a painter it only serves the engine for measuring and draws nothing. Pen, brush and
// transformation live in the painter; the device keeps the fonts, the font colour and alignment
// and the pen position, and saves them in step with the painter's own save and restore.
class GDeviceQt : public VGDevice {
 public:
  GDeviceQt(QPainter* painter, GSystemQt* system);
  ~GDeviceQt() override;

  // Makes the device the owner of its two fonts and selects them; the fonts a drawing system
  // makes for a device live and die with it.
  void AdoptFonts(VGFont const* textFont, VGFont const* musicFont);

  bool IsValid() const override { return mPainter != nullptr; }
  bool BeginDraw() override;
  void EndDraw() override;
  void InvalidateRect(float left, float top, float right, float bottom) override;

  void MoveTo(float x, float y) override;
  void LineTo(float x, float y) override;
  void Line(float x1, float y1, float x2, float y2) override;
  void Frame(float left, float top, float right, float bottom) override;
  void Arc(float left, float top, float right, float bottom, float startX, float startY, float endX,
           float endY) override;
  void Triangle(float x1, float y1, float x2, float y2, float x3, float y3) override;
  void Polygon(float const* xs, float const* ys, int count) override;
  void Rectangle(float left, float top, float right, float bottom) override;

  void SetMusicFont(VGFont const* font) override { mMusicFont = font; }
  VGFont const* GetMusicFont() const override { return mMusicFont; }
  void SetTextFont(VGFont const* font) override { mTextFont = font; }
  VGFont const* GetTextFont() const override { return mTextFont; }

  void SelectPen(VGColor const& color, float width) override;
  void SelectFillColor(VGColor const& color) override;
  void PushPen(VGColor const& color, float width) override;
  void PopPen() override { EndDraw(); }
  void PushFillColor(VGColor const& color) override;
  void PopFillColor() override { EndDraw(); }
  void SetRasterOpMode(VRasterOpMode mode) override;
  VRasterOpMode GetRasterOpMode() const override;

  bool CopyPixels(VGDevice* src, float alpha = -1.0f) override;
  bool CopyPixels(int xDest, int yDest, VGDevice* src, int xSrc, int ySrc, int srcWidth,
                  int srcHeight, float alpha = -1.0f) override;
  bool CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src,
                  float alpha = -1.0f) override;
  bool CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src, int xSrc,
                  int ySrc, int srcWidth, int srcHeight, float alpha = -1.0f) override;

  // The scale multiplies the painter's transformation; the origin is only ever offset.
  void SetScale(float x, float y) override;
  void SetOrigin(float, float) override {}
  void OffsetOrigin(float dx, float dy) override;
  void LogicalToDevice(float* x, float* y) const override;
  void DeviceToLogical(float* x, float* y) const override;
  float GetXScale() const override;
  float GetYScale() const override;
  float GetXOrigin() const override;
  float GetYOrigin() const override;
  void NotifySize(int width, int height) override;
  int GetWidth() const override;
  int GetHeight() const override;

  void DrawMusicSymbol(float x, float y, unsigned int symbol) override;
  void DrawString(float x, float y, char const* s, int count) override;
  void SetFontColor(VGColor const& color) override { mFontColor = color; }
  VGColor GetFontColor() const override { return mFontColor; }
  void SetFontBackgroundColor(VGColor const& color) override;
  VGColor GetFontBackgroundColor() const override;
  void SetFontAlign(unsigned int align) override { mFontAlign = align; }
  unsigned int GetFontAlign() const override { return mFontAlign; }

  void SetDPITag(float) override {}
  // The printer's resolution; -1 on any other paint device.
  float GetDPITag() const override;
  // Pixel access and file export are not offered by this device: null and false.
  void* GetBitMapPixels() override { return nullptr; }
  void ReleaseBitMapPixels() override {}
  bool ExportToFile(char const*) { return false; }
  VGSystem* getVGSystem() const override;
  void* GetNativeContext() const override { return mPainter; }

  QPainter* painter() const { return mPainter; }
  // The direction of a point seen from an ellipse's centre, in degrees from 0 to 360,
  // counter-clockwise from the positive x axis with y upwards.
  static float CoordToDegree(float x, float y);

 private:
  struct SavedState {
    VGColor fontColor;
    unsigned int fontAlign;
    VGFont const* textFont;
    VGFont const* musicFont;
    QPoint penPosition;
  };

  struct RecentGlyphEntry {
    GFontQt const* font = nullptr;
    QChar character;
    QRgb color = 0;
    qreal scaleX = 0;
    qreal scaleY = 0;
    QString fontKey;
    RazidQt::GlyphImage glyph;
  };
  struct RasterTarget {
    QPaintDevice const* device = nullptr;
    bool onePixelPerUnit = false;
    // The pixels under the paint engine, where they are 32-bit rows the device can see.
    uchar const* bits = nullptr;
    qsizetype bytesPerLine = 0;
    // Whether the painter draws straight into those pixels, premultiplied, without an offset or
    // a clip of the system's (an image or a pixmap rather than a widget's window).
    bool blendable = false;
  };

  bool AlignsOnBaselineFromLeft() const;
  QPoint AlignedPosition(float x, float y, const QFont& font, const QString& text) const;
  const RazidQt::GlyphImage& RecentGlyph(const GFontQt& font, QChar character,
                                         const QTransform& transform);
  void DrawText(QPoint position, const QFont& font, const QString& text);
  bool DrawsOnRaster() const;
  bool BlendsInPlace(RazidQt::RasterPixels& pixels) const;
  void DrawGlyph(QPoint topLeft, const RazidQt::GlyphImage& glyph);
  bool FillStraightLine(const QLineF& line);
  void FillInBands(const QRectF& rect, const QBrush& brush);
  void FillWithoutPen(const auto& draw);

  QPainter* mPainter;
  std::vector<SavedState> mSavedStates;
  VGFont const* mTextFont = nullptr;
  VGFont const* mMusicFont = nullptr;
  VGColor mFontColor = kOpaqueBlack;
  unsigned int mFontAlign = 0;
  GSystemQt* mSystem;
  QPoint mPenPosition;
  std::unique_ptr<VGFont const> mOwnedTextFont;
  std::unique_ptr<VGFont const> mOwnedMusicFont;
  // The last image of each character, one place per character of the music font's byte codes:
  // the symbols of a page (heads, stem pieces, flags, clefs, rests) then never push each other
  // out, and the shared cache is asked only when the colour or the scale changes.
  std::array<RecentGlyphEntry, 256> mRecentGlyphs;
  mutable RasterTarget mRasterTarget;
};
