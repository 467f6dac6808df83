#include "lib-razid-qt/GDeviceQt.h"

#include <QFontMetrics>
#include <QImage>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPicture>
#include <QPixmap>
#include <QPolygonF>
#include <QPrinter>
#include <QRectF>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "lib-razid-qt/GFontQt.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_text.h"
#include "lib-razid-qt/glyph_image_cache.h"
#include "lib-razid-qt/picture_device.h"
#include "lib-razid-qt/raster_mode.h"
#include "src/common/assertion.h"

namespace {

// Coordinates are cut to whole units towards zero. A layout gone wrong can hand over values no
// int holds (or not a number), which a plain conversion would turn into undefined behaviour.
int Trunc(double value) {
  if (std::isnan(value)) return 0;
  constexpr double low = std::numeric_limits<int>::min();
  constexpr double high = std::numeric_limits<int>::max();
  return int(std::clamp(value, low, high));
}

QColor ToQColor(VGColor const& color) {
  return QColor(color.red, color.green, color.blue, color.alpha);
}

QRect TruncatedRect(float left, float top, float right, float bottom) {
  return QRect(Trunc(left), Trunc(top), Trunc(double(right) - left), Trunc(double(bottom) - top));
}

QPaintDevice* PaintDeviceOf(VGDevice* device) {
  if (auto* picture = dynamic_cast<RazidQt::PictureDevice*>(device)) return picture->picture();
  auto* qtDevice = dynamic_cast<GDeviceQt*>(device);
  return qtDevice && qtDevice->painter() ? qtDevice->painter()->device() : nullptr;
}

// The pixels a rectangle of the painter's coordinates covers on its device.
QSize DrawnSize(QPainter const& painter, QRect const& rect) {
  QSizeF const drawn = painter.combinedTransform().mapRect(QRectF(rect)).size();
  return {Trunc(std::ceil(drawn.width())), Trunc(std::ceil(drawn.height()))};
}

}  // namespace

GDeviceQt::GDeviceQt(QPainter* painter, GSystemQt* system) : mPainter(painter), mSystem(system) {
  if (!mPainter) return;
  SelectPen(kOpaqueBlack, 1.0f);
  SelectFillColor(VGColor(255, 255, 255));
  SetFontColor(kOpaqueBlack);
  SetFontBackgroundColor(VGColor(255, 255, 255, 0));
  SetDPITag(72.0f);
  SetFontAlign(kAlignBase | kAlignLeft);
  MoveTo(0, 0);
}

GDeviceQt::~GDeviceQt() = default;

void GDeviceQt::AdoptFonts(VGFont const* textFont, VGFont const* musicFont) {
  mOwnedTextFont.reset(textFont);
  mOwnedMusicFont.reset(musicFont);
  SetTextFont(textFont);
  SetMusicFont(musicFont);
}

bool GDeviceQt::BeginDraw() {
  mSavedStates.push_back({mFontColor, mFontAlign, mTextFont, mMusicFont, mPenPosition});
  if (mPainter) mPainter->save();
  return true;
}

void GDeviceQt::EndDraw() {
  MELVARIN_ASSERT(!mSavedStates.empty());
  const SavedState& saved = mSavedStates.back();
  mFontColor = saved.fontColor;
  mFontAlign = saved.fontAlign;
  mTextFont = saved.textFont;
  mMusicFont = saved.musicFont;
  mPenPosition = saved.penPosition;
  mSavedStates.pop_back();
  if (mPainter) mPainter->restore();
}

void GDeviceQt::InvalidateRect(float left, float top, float right, float bottom) {
  QPaintDevice* target = mPainter ? mPainter->device() : nullptr;
  if (target && target->devType() == QInternal::Widget)
    static_cast<QWidget*>(target)->update(TruncatedRect(left, top, right, bottom));
}

void GDeviceQt::MoveTo(float x, float y) {
  mPenPosition = QPoint(Trunc(x), Trunc(y));
}

void GDeviceQt::LineTo(float x, float y) {
  if (mPainter) {
    const QLineF line(mPenPosition, QPointF(x, y));
    if (!FillStraightLine(line)) mPainter->drawLine(line);
  }
  MoveTo(x, y);
}

// A horizontal or vertical line of a solid, square-capped pen covers a rectangle. On pixels,
// filling it gives the line's own pixels many times quicker than stroking it (staff lines, stems
// and bar lines make up most of a page); printers and pictures keep real lines.
bool GDeviceQt::FillStraightLine(const QLineF& line) {
  const QPen& pen = mPainter->pen();
  if ((line.x1() != line.x2()) == (line.y1() != line.y2())) return false;
  if (pen.style() != Qt::SolidLine || pen.capStyle() != Qt::SquareCap || pen.isCosmetic() ||
      pen.widthF() <= 0 || !DrawsOnRaster())
    return false;
  const qreal half = pen.widthF() / 2;
  const QRectF covered = QRectF(line.p1(), line.p2()).normalized();
  FillInBands(covered.adjusted(-half, -half, half, half), pen.brush());
  return true;
}

// Qt's raster engine hands a blended fill of more than about a hundred spans (an antialiased
// line some thirty rows tall) to its thread pool and waits for the pool, which takes longer than
// the fill itself; the staff's line at the start of each system is one. Such a fill is made band
// by band instead, each band the same fill clipped to a few whole rows of pixels, so that every
// pixel gets the coverage the whole fill gives it. Opaque fills are copied in place by the engine
// and never handed over.
void GDeviceQt::FillInBands(const QRectF& rect, const QBrush& brush) {
  constexpr int kBandRows = 24;
  const QTransform world = mPainter->worldTransform();
  const QRectF device = world.mapRect(rect);
  const bool copied =
      brush.isOpaque() && mPainter->compositionMode() == QPainter::CompositionMode_SourceOver;
  // Clips are set in pixels here, which holds only while the view adds no transformation.
  if (copied || !(device.height() > kBandRows) || mPainter->hasClipping() ||
      (mPainter->viewTransformEnabled() && mPainter->window() != mPainter->viewport()) ||
      !(std::abs(device.top()) < 1.0e6 && std::abs(device.bottom()) < 1.0e6)) {
    mPainter->fillRect(rect, brush);
    return;
  }
  const QRect columns = device.toAlignedRect().adjusted(-1, 0, 1, 0);
  const int bottom = int(std::ceil(device.bottom()));
  for (int top = int(std::floor(device.top())); top < bottom; top += kBandRows) {
    mPainter->setWorldTransform(QTransform());
    mPainter->setClipRect(QRect(columns.left(), top, columns.width(), kBandRows));
    mPainter->setWorldTransform(world);
    mPainter->fillRect(rect, brush);
  }
  mPainter->setClipping(false);
}

void GDeviceQt::Line(float x1, float y1, float x2, float y2) {
  MoveTo(x1, y1);
  LineTo(x2, y2);
}

void GDeviceQt::Frame(float left, float top, float right, float bottom) {
  MoveTo(left, top);
  LineTo(right, top);
  LineTo(right, bottom);
  LineTo(left, bottom);
  LineTo(left, top);
}

float GDeviceQt::CoordToDegree(float x, float y) {
  float angle = float(std::atan(y / x) * 57.2957763671875);
  if (x < 0) angle += 180;
  if (angle < 0)
    angle += 360;
  else if (angle > 360)
    angle -= 360;
  return angle;
}

void GDeviceQt::Arc(float left, float top, float right, float bottom, float startX, float startY,
                    float endX, float endY) {
  const int w = Trunc(double(right) - left);
  const int h = Trunc(double(bottom) - top);
  // An ellipse without width or height has no directions to measure: nothing to draw.
  if (!mPainter || w == 0 || h == 0) return;
  const float cx = (left + right) * 0.5f;
  const float cy = (top + bottom) * 0.5f;
  const float start = CoordToDegree((startX - cx) / float(w), (cy - startY) / float(h));
  const float end = CoordToDegree((endX - cx) / float(w), (cy - endY) / float(h));
  const float start16 = start * 16;
  const int span = Trunc(end * 16 - start16);
  mPainter->drawArc(QRect(Trunc(left), Trunc(top), w, h), std::abs(Trunc(start16)),
                    span == std::numeric_limits<int>::min() ? 0 : std::abs(span));
}

// Filled shapes take the brush only; the pen would outline them.
void GDeviceQt::FillWithoutPen(const auto& draw) {
  if (!mPainter) return;
  const QPen pen = mPainter->pen();
  mPainter->setPen(Qt::NoPen);
  draw();
  mPainter->setPen(pen);
}

void GDeviceQt::Triangle(float x1, float y1, float x2, float y2, float x3, float y3) {
  const QPolygonF triangle({QPointF(x1, y1), QPointF(x2, y2), QPointF(x3, y3)});
  FillWithoutPen([&] { mPainter->drawPolygon(triangle, Qt::OddEvenFill); });
}

void GDeviceQt::Polygon(float const* xs, float const* ys, int count) {
  if (count < 1) return;
  MELVARIN_ASSERT(xs != nullptr && ys != nullptr);
  QPolygonF polygon;
  polygon.reserve(count);
  for (int i = 0; i < count; ++i) polygon.append(QPointF(xs[i], ys[i]));
  FillWithoutPen([&] { mPainter->drawPolygon(polygon, Qt::OddEvenFill); });
}

void GDeviceQt::Rectangle(float left, float top, float right, float bottom) {
  const QRectF rect(TruncatedRect(left, top, right, bottom));
  FillWithoutPen([&] { mPainter->drawRects(&rect, 1); });
}

void GDeviceQt::SelectPen(VGColor const& color, float width) {
  if (!mPainter) return;
  QPen pen(ToQColor(color));
  pen.setWidthF(width);
  mPainter->setPen(pen);
}

void GDeviceQt::SelectFillColor(VGColor const& color) {
  if (mPainter) mPainter->setBrush(QBrush(ToQColor(color)));
}

void GDeviceQt::PushPen(VGColor const& color, float width) {
  BeginDraw();
  SelectPen(color, width);
}

void GDeviceQt::PushFillColor(VGColor const& color) {
  BeginDraw();
  SelectFillColor(color);
}

void GDeviceQt::SetRasterOpMode(VRasterOpMode mode) {
  const QPainter::CompositionMode composition = rasterMode2CompositionMode(mode);
  if (mPainter) mPainter->setCompositionMode(composition);
}

VGDevice::VRasterOpMode GDeviceQt::GetRasterOpMode() const {
  return mPainter ? compositionMode2RasterMode(mPainter->compositionMode()) : kOpCopy;
}

bool GDeviceQt::CopyPixels(VGDevice* src, float alpha) {
  QPaintDevice* source = PaintDeviceOf(src);
  if (!source) return false;
  const int sw = source->width(), sh = source->height();
  return CopyPixels(0, 0, sw, sh, src, 0, 0, sw, sh, alpha);
}

bool GDeviceQt::CopyPixels(int xDest, int yDest, VGDevice* src, int xSrc, int ySrc, int srcWidth,
                           int srcHeight, float alpha) {
  QPaintDevice* source = PaintDeviceOf(src);
  if (!source) return false;
  const int w = std::min(srcWidth, source->width()), h = std::min(srcHeight, source->height());
  return CopyPixels(xDest, yDest, w, h, src, xSrc, ySrc, w, h, alpha);
}

bool GDeviceQt::CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src,
                           float alpha) {
  QPaintDevice* source = PaintDeviceOf(src);
  if (!source) return false;
  return CopyPixels(xDest, yDest, dstWidth, dstHeight, src, 0, 0, source->width(), source->height(),
                    alpha);
}

bool GDeviceQt::CopyPixels(int xDest, int yDest, int dstWidth, int dstHeight, VGDevice* src,
                           int xSrc, int ySrc, int srcWidth, int srcHeight, float alpha) {
  QPaintDevice* source = PaintDeviceOf(src);
  if (!mPainter || !source || GetRasterOpMode() == kOpInvert) return false;
  QRect target(xDest, yDest, dstWidth, dstHeight);
  const QRect from(xSrc, ySrc, srcWidth, srcHeight);
  bool copied = true;
  mPainter->save();
  // A target whose edges are exchanged (a negative width or height) mirrors the copy.
  if (dstWidth < 0 || dstHeight < 0) {
    mPainter->translate(xDest, yDest);
    mPainter->scale(dstWidth < 0 ? -1 : 1, dstHeight < 0 ? -1 : 1);
    target = QRect(0, 0, std::abs(dstWidth), std::abs(dstHeight));
  }
  mPainter->setOpacity(alpha == -1.0f ? 1.0 : alpha);
  switch (source->devType()) {
    case QInternal::Image:
      if (auto* picture = dynamic_cast<RazidQt::PictureDevice*>(src);
          picture && from == static_cast<QImage*>(source)->rect())
        mPainter->drawImage(target, picture->ScaledFor(DrawnSize(*mPainter, target)));
      else
        mPainter->drawImage(target, *static_cast<QImage*>(source), from);
      break;
    case QInternal::Pixmap:
      mPainter->drawPixmap(target, *static_cast<QPixmap*>(source), from);
      break;
    case QInternal::Picture:
      // A picture replays its drawing; it can be placed but not cut or stretched.
      if (xSrc == 0 && ySrc == 0 && srcWidth == dstWidth && srcHeight == dstHeight) {
        mPainter->drawPicture(xDest, yDest, *static_cast<QPicture*>(source));
      } else {
        std::printf(
            "Can't stretch from a Rect to another with QPicture : x=%d , y=%d , sW=%d , sH=%d , "
            "dW=%d , dH=%d\n",
            xSrc, ySrc, srcWidth, srcHeight, dstWidth, dstHeight);
        copied = false;
      }
      break;
    default:
      copied = false;
  }
  mPainter->restore();
  return copied;
}

void GDeviceQt::SetScale(float x, float y) {
  if (mPainter) mPainter->scale(x, y);
}

void GDeviceQt::OffsetOrigin(float dx, float dy) {
  if (mPainter) mPainter->translate(dx, dy);
}

void GDeviceQt::LogicalToDevice(float* x, float* y) const {
  *x = *x * GetXScale() - GetXOrigin();
  *y = *y * GetYScale() - GetYOrigin();
}

void GDeviceQt::DeviceToLogical(float* x, float* y) const {
  *x = (*x + GetXOrigin()) / GetXScale();
  *y = (*y + GetYOrigin()) / GetYScale();
}

float GDeviceQt::GetXScale() const {
  return mPainter ? float(mPainter->worldTransform().m11()) : 1.0f;
}

float GDeviceQt::GetYScale() const {
  return mPainter ? float(mPainter->worldTransform().m22()) : 1.0f;
}

// The origin is the translation in logical units; a transformation that flattens everything
// (scale 0) has none.
float GDeviceQt::GetXOrigin() const {
  const float scale = GetXScale();
  return mPainter && scale != 0 ? float(mPainter->worldTransform().dx()) / scale : 0.0f;
}

float GDeviceQt::GetYOrigin() const {
  const float scale = GetYScale();
  return mPainter && scale != 0 ? float(mPainter->worldTransform().dy()) / scale : 0.0f;
}

void GDeviceQt::NotifySize(int width, int height) {
  if (mPainter)
    mPainter->setViewport(QRect(Trunc(GetXOrigin()), Trunc(GetYOrigin()), width, height));
}

int GDeviceQt::GetWidth() const {
  return mPainter ? mPainter->viewport().width() : 0;
}
int GDeviceQt::GetHeight() const {
  return mPainter ? mPainter->viewport().height() : 0;
}

void GDeviceQt::DrawMusicSymbol(float x, float y, unsigned int symbol) {
  auto* font = static_cast<GFontQt const*>(mMusicFont);
  if (!font || !mPainter) return;
  const QChar character = font->Symbol(symbol);
  // A page draws thousands of symbols, nearly all on their baseline from their left edge and as
  // images: the text of the symbol is made only where it is measured or drawn as text.
  const QPoint position = AlignsOnBaselineFromLeft()
                              ? QPoint(Trunc(x), Trunc(y))
                              : AlignedPosition(x, y, font->symbolFont(), QString(character));
  const QTransform transform = mPainter->worldTransform();
  const qreal size = font->symbolFont().pixelSize() *
                     std::max(std::abs(transform.m11()), std::abs(transform.m22()));
  if (!DrawsOnRaster() || size > RazidQt::kMaxGlyphImageSize)
    return DrawText(position, font->symbolFont(), QString(character));
  const RazidQt::GlyphImage& glyph = RecentGlyph(*font, character, transform);
  if (glyph.image.isNull()) return;
  const QPointF origin = transform.map(QPointF(position));
  const QPoint topLeft = QPoint(qRound(origin.x()), qRound(origin.y())) + glyph.offset;
  RazidQt::RasterPixels pixels;
  if (BlendsInPlace(pixels)) return RazidQt::BlendOver(pixels, topLeft, glyph.image);
  mPainter->setWorldTransform(QTransform());
  DrawGlyph(topLeft, glyph);
  mPainter->setWorldTransform(transform);
}

// The painter would blend a symbol's image, placed on whole pixels, over the target's pixels and
// nothing else: full opacity, no clip, no view transformation, no smoothing of images.
bool GDeviceQt::BlendsInPlace(RazidQt::RasterPixels& pixels) const {
  if (!mRasterTarget.blendable ||
      mPainter->compositionMode() != QPainter::CompositionMode_SourceOver ||
      mPainter->opacity() != 1.0 || mPainter->hasClipping() ||
      mPainter->testRenderHint(QPainter::SmoothPixmapTransform) ||
      (mPainter->viewTransformEnabled() && mPainter->window() != mPainter->viewport()))
    return false;
  // Asked at every symbol: the painter may have begun again on other pixels since the target
  // was looked at.
  auto const* image = static_cast<QImage const*>(mPainter->paintEngine()->paintDevice());
  if (image->format() != QImage::Format_ARGB32_Premultiplied || !image->constBits()) return false;
  pixels = {const_cast<uchar*>(image->constBits()), image->bytesPerLine(), image->rect()};
  return true;
}

// The raster engine blends a row of an image in groups of pixels that start where the target's
// row is aligned, and blends the pixels before the first group and after the last one in masked
// steps that cost many times more; a symbol's image is a dozen pixels wide. Where the device sees
// the target's pixels, the symbol is drawn from its copy that starts at a group's start, so that
// every row blends in whole groups, to the same pixels.
void GDeviceQt::DrawGlyph(QPoint topLeft, const RazidQt::GlyphImage& glyph) {
  if (!mRasterTarget.bits) {
    mPainter->drawImage(topLeft, glyph.image);
    return;
  }
  const quintptr address =
      quintptr(mRasterTarget.bits) +
      quintptr(qint64(topLeft.y()) * mRasterTarget.bytesPerLine + qint64(topLeft.x()) * 4);
  const int shift = int((address / 4) % RazidQt::kBlendGroup);
  mPainter->drawImage(topLeft - QPoint(shift, 0), RazidQt::AlignedGlyph(glyph, shift));
}

void GDeviceQt::DrawString(float x, float y, char const* s, int) {
  auto* font = static_cast<GFontQt const*>(mTextFont);
  if (!font || !s || !mPainter) return;
  const QString text = RazidQt::DecodeScoreText(s);
  DrawText(AlignedPosition(x, y, font->textFont(), text), font->textFont(), text);
}

// Symbols are drawn as images cached for the process, at the device pixel of their position. The
// device remembers the last images it drew by character, since a page asks for the same few
// symbols over and over, and finding one among all kept images costs a hash of the font's key.
// An entry holds a copy of the font's key, so no other key can come to lie where that one lies.
const RazidQt::GlyphImage& GDeviceQt::RecentGlyph(const GFontQt& font, QChar character,
                                                  const QTransform& transform) {
  const QRgb color = ToQColor(mFontColor).rgba();
  RecentGlyphEntry& entry = mRecentGlyphs[character.unicode() % mRecentGlyphs.size()];
  if (entry.font != &font || entry.character != character || entry.color != color ||
      entry.scaleX != transform.m11() || entry.scaleY != transform.m22() ||
      entry.fontKey.constData() != font.symbolFontKey().constData()) {
    entry = {&font,
             character,
             color,
             transform.m11(),
             transform.m22(),
             font.symbolFontKey(),
             RazidQt::CachedGlyph(font.symbolFont(), font.symbolFontKey(), character, color,
                                  transform.m11(), transform.m22())};
  }
  return entry.glyph;
}

// Images stand in for glyphs only where they look the same: on pixels one to one (not in a PDF,
// a recorded picture or a high-density pixmap), without rotation, and with no text background.
bool GDeviceQt::DrawsOnRaster() const {
  const QPaintDevice* target = mPainter->device();
  // What the target is, asked once per target: its pixel ratio is a virtual query.
  if (target != mRasterTarget.device) {
    mRasterTarget = {target};
    switch (target->devType()) {
      case QInternal::Image:
      case QInternal::Pixmap:
      case QInternal::Widget:
        mRasterTarget.onePixelPerUnit = target->devicePixelRatio() == 1;
        break;
      default:
        break;
    }
    // An image, a pixmap or a widget's window on the raster engine paints into an image.
    QPaintEngine const* engine = mPainter->paintEngine();
    QPaintDevice const* pixels = engine ? engine->paintDevice() : nullptr;
    if (mRasterTarget.onePixelPerUnit && pixels && pixels->devType() == QInternal::Image) {
      auto const* image = static_cast<QImage const*>(pixels);
      if (image->format() == QImage::Format_ARGB32_Premultiplied ||
          image->format() == QImage::Format_RGB32) {
        mRasterTarget.bits = image->constBits();
        mRasterTarget.bytesPerLine = image->bytesPerLine();
      }
      // A widget is painted through its window's pixels, at its place there and inside its
      // region: only images and pixmaps are their own pixels.
      mRasterTarget.blendable = image->format() == QImage::Format_ARGB32_Premultiplied &&
                                engine->type() == QPaintEngine::Raster &&
                                target->devType() != QInternal::Widget &&
                                engine->systemClip().isEmpty();
    }
  }
  return mRasterTarget.onePixelPerUnit &&
         mPainter->worldTransform().type() <= QTransform::TxScale &&
         mPainter->backgroundMode() == Qt::TransparentMode;
}

bool GDeviceQt::AlignsOnBaselineFromLeft() const {
  return !(mFontAlign & (kAlignTop | kAlignBottom | kAlignRight | kAlignCenter));
}

QPoint GDeviceQt::AlignedPosition(float x, float y, const QFont& font, const QString& text) const {
  // Symbols stand on their baseline from their left edge: most draws need no metrics, which
  // are looked up afresh for every font.
  if (AlignsOnBaselineFromLeft()) return QPoint(Trunc(x), Trunc(y));
  const QFontMetrics metrics(font);
  if (mFontAlign & kAlignTop)
    y += metrics.ascent();
  else if (mFontAlign & kAlignBottom)
    y -= metrics.descent();
  if (mFontAlign & kAlignRight)
    x -= metrics.horizontalAdvance(text);
  else if (mFontAlign & kAlignCenter)
    x = float(x + -0.5 * metrics.horizontalAdvance(text));
  return QPoint(Trunc(x), Trunc(y));
}

void GDeviceQt::DrawText(QPoint position, const QFont& font, const QString& text) {
  const QPen pen = mPainter->pen();
  mPainter->setPen(ToQColor(mFontColor));
  mPainter->setFont(font);
  mPainter->drawText(position, text);
  mPainter->setPen(pen);
}

void GDeviceQt::SetFontBackgroundColor(VGColor const& color) {
  if (!mPainter) return;
  mPainter->setBackgroundMode(color.alpha != 0 ? Qt::OpaqueMode : Qt::TransparentMode);
  mPainter->setBackground(QBrush(ToQColor(color)));
}

VGColor GDeviceQt::GetFontBackgroundColor() const {
  if (!mPainter) return VGColor(255, 255, 255, 0);
  const QColor color = mPainter->background().color();
  return VGColor(color.red(), color.green(), color.blue(), color.alpha());
}

float GDeviceQt::GetDPITag() const {
  QPaintDevice* target = mPainter ? mPainter->device() : nullptr;
  if (!target || target->devType() != QInternal::Printer) return -1.0f;
  return float(static_cast<QPrinter*>(target)->resolution());
}

VGSystem* GDeviceQt::getVGSystem() const {
  return mSystem;
}
