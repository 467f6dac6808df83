#include "lib-razid-qt/QRazidPainter.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "VGDevice.h"
#include "engine_state.h"
#include "lib-razid-qt/GSystemQt.h"
#include "lib-razid-qt/engine_text.h"
#include "rmn_parse.h"

namespace {

// The engine's measuring system and device, from start to stop.
GSystemQt* sSystem = nullptr;
VGDevice* sDevice = nullptr;

}  // namespace

void QRazidPainter::startRazidEngine() {
  if (sSystem) return;
  sSystem = new GSystemQt(nullptr);
  sDevice = sSystem->CreateDisplayDevice();
  const RazidInitDesc desc{sDevice, nullptr, "Razid2", "times"};
  RazidInit(&desc);
}

void QRazidPainter::stopRazidEngine() {
  if (!sSystem) return;
  // The engine lets go of the device and of the fonts made on it before they are deleted.
  RazidShutdown();
  delete sDevice;
  delete sSystem;
  sDevice = nullptr;
  sSystem = nullptr;
}

bool QRazidPainter::isRazidEngineStarted() {
  return sSystem != nullptr;
}

QRazidPainter* QRazidPainter::createRazidPainter() {
  return sSystem ? new QRazidPainter : nullptr;
}

void QRazidPainter::destroyRazidPainter(QRazidPainter* painter) {
  delete painter;
}

QRazidPainter::QRazidPainter() {
  mDrawRequest.page = 1;
  RazidGetDefaultLayoutSettings(&mLayoutSettings);
  RazidGetDefaultPageFormat(&mPageFormat);
}

QRazidPainter::~QRazidPainter() {
  RazidFreeGR(mDrawRequest.handle);
}

bool QRazidPainter::setRMNCode(const QString& text) {
  const bool parsed = setRMNData(text, RazidParseString);
  mRmnText = text;
  return parsed;
}

bool QRazidPainter::setRMNFile(const QString& fileName) {
  const bool parsed = setRMNData(fileName, RazidParseFile);
  mFileName = fileName;
  mRmnText = getFileContent(fileName);
  return parsed;
}

bool QRazidPainter::setRMNData(const QString& data, ParseFunction parse) {
  ARHandle ar = nullptr;
  // A file name goes to the file system in its encoding, a score's text to the engine in the one
  // the engine reads its texts in.
  const QByteArray bytes =
      parse == RazidParseFile ? QFile::encodeName(data) : RazidQt::EncodeScoreText(data);
  mLastError = parse(bytes.constData(), &ar);
  if (mLastError == 0) {
    RazidFreeGR(mDrawRequest.handle);
    mDrawRequest.handle = nullptr;
    // The conversion lays out with the engine's default page format: this painter's format is
    // the default for the conversion only, since all painters share the engine.
    RazidPageFormat saved;
    RazidGetDefaultPageFormat(&saved);
    RazidSetDefaultPageFormat(&mPageFormat);
    mLastError = RazidAR2GR(ar, &mLayoutSettings, &mDrawRequest.handle);
    RazidSetDefaultPageFormat(&saved);
    if (mLastError == 0 && mResizePageToMusic)
      mLastError = RazidResizePageToMusic(mDrawRequest.handle);
  }
  // The layout holds the parsed score for as long as it needs it.
  RazidFreeAR(ar);
  mValid = mLastError == 0;
  mHasValidGR = mHasValidGR || mValid;
  return mValid;
}

QString QRazidPainter::getLastErrorMessage() const {
  QString message = QString::fromLatin1(RazidGetErrorString(mLastError));
  if (mLastError == -1) message += QStringLiteral(" (line %1)").arg(RazidGetParseErrorLine());
  return message;
}

int QRazidPainter::pageCount() const {
  return mHasValidGR ? RazidGetPageCount(mDrawRequest.handle) : 1;
}

int QRazidPainter::heightForWidth(int width, int page) const {
  if (!mHasValidGR) return width;
  RazidPageFormat format;
  RazidGetPageFormat(mDrawRequest.handle, page, &format);
  if (format.width <= 0 || format.height <= 0) return width;
  return static_cast<int>(static_cast<float>(width) / (format.width / format.height));
}

QSizeF QRazidPainter::pageSizeMM(int page) const {
  if (!mHasValidGR) return {0, 0};
  RazidPageFormat format;
  RazidGetPageFormat(mDrawRequest.handle, page, &format);
  if (format.width <= 0 || format.height <= 0) return {0, 0};
  return {RazidUnit2CM(format.width) * 10.0, RazidUnit2CM(format.height) * 10.0};
}

void QRazidPainter::setRazidLayoutSettings(const RazidLayoutSettings& settings) {
  mLayoutSettings = settings;
  Relayout();
}

void QRazidPainter::setSystemsDistance(float distance) {
  if (distance == mLayoutSettings.systemsDistance) return;
  mLayoutSettings.systemsDistance = std::max(distance, 1.0f);
  Relayout();
}

void QRazidPainter::Relayout() {
  if (!mHasValidGR) return;
  RazidUpdateGR(mDrawRequest.handle, &mLayoutSettings);
  if (mResizePageToMusic) RazidResizePageToMusic(mDrawRequest.handle);
}

void QRazidPainter::setRazidPageFormat(const RazidPageFormat& format) {
  mPageFormat = format;
  setRMNData(mRmnText, RazidParseString);
}

void QRazidPainter::setResizePageToMusic(bool resize) {
  if (resize == mResizePageToMusic) return;
  mResizePageToMusic = resize;
  setRMNData(mRmnText, RazidParseString);
}

void QRazidPainter::draw(QPainter* painter, int page, const QRect& drawRect,
                         const QRect& redrawRect) {
  if (!mHasValidGR || !painter || drawRect.isEmpty()) return;
  painter->save();
  painter->translate(drawRect.topLeft());
  GSystemQt system(painter);
  std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
  mDrawRequest.hdc = device.get();
  mDrawRequest.page = std::min(std::max(page, 1), RazidGetPageCount(mDrawRequest.handle));
  mDrawRequest.sizex = drawRect.width();
  mDrawRequest.sizey = drawRect.height();
  SetUpdateRegion(mDrawRequest.page, drawRect, redrawRect);
  RazidOnDraw(&mDrawRequest);
  mDrawRequest.hdc = nullptr;
  painter->restore();
}

// The part of the page under redrawRect, in page units, as the page scales into the draw size.
void QRazidPainter::SetUpdateRegion(int page, const QRect& drawRect, const QRect& redrawRect) {
  auto& region = mDrawRequest.updateRegion;
  region.erase = true;
  if (redrawRect.isNull()) return;
  RazidPageFormat format;
  RazidGetPageFormat(mDrawRequest.handle, page, &format);
  if (format.width <= 0 || format.height <= 0) return;
  // The height-to-width ratio cut to three decimals.
  const float ratio =
      static_cast<float>(static_cast<int>(1000 / (format.width / format.height))) / 1000;
  int width = drawRect.width();
  int height = drawRect.height();
  if (height >= width * ratio)
    height = static_cast<int>(width * ratio);
  else
    width = static_cast<int>(height / ratio);
  if (width <= 0 || height <= 0) return;
  const float sx = width / format.width;
  const float sy = height / format.height;
  region.left = static_cast<int>((redrawRect.left() - drawRect.left()) / sx);
  region.top = static_cast<int>((redrawRect.top() - drawRect.top()) / sy);
  region.right = static_cast<int>((redrawRect.right() + 1 - drawRect.left()) / sx);
  region.bottom = static_cast<int>((redrawRect.bottom() + 1 - drawRect.top()) / sy);
  region.erase = false;
}

QString getFileContent(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return {};
  // The text the engine parses from the file, a UTF-16 one among them: parsing the content again
  // gives the same score.
  const std::string text = RmnFileText(file.readAll().toStdString());
  QByteArray content;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size() - 1) + 1;
    const std::string_view line(text.data() + start, end - start);
    content += QByteArrayView(line.substr(0, line.find('\0')));
    start = end;
  }
  return RazidQt::DecodeScoreText(content);
}
