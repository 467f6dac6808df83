#pragma once

#include <QRect>
#include <QSizeF>
#include <QString>

#include "Razid.h"

class GSystemQt;
class QPainter;
class VGDevice;

// The Qt front end of the notation engine. Once per process it starts and stops the engine with
// a measuring device of its own; per score it has RMN text parsed and laid out with its own
// layout settings and page format, and draws any page of the result scaled into a rectangle of a
// QPainter. Drawing a page fills that page's symbol map, which the GR handle reaches.
class QRazidPainter {
 public:
  // Parse functions: RazidParseString and RazidParseFile.
  using ParseFunction = RazidErrCode (*)(char const*, ARHandle*);

  // The music font must be registered first (RazidQt::PrepareEngineFonts). A second start does
  // nothing; stopping leaves no device, font or default page format behind, and a later start
  // begins afresh. Painters are made after the start and destroyed before the stop.
  static void startRazidEngine();
  static void stopRazidEngine();
  static bool isRazidEngineStarted();
  // Null while the engine is not started.
  static QRazidPainter* createRazidPainter();
  static void destroyRazidPainter(QRazidPainter* painter);

  QRazidPainter();
  ~QRazidPainter();
  QRazidPainter(const QRazidPainter&) = delete;
  QRazidPainter& operator=(const QRazidPainter&) = delete;

  // Each keeps the text (or the file's content) whatever the outcome.
  bool setRMNCode(const QString& text);
  bool setRMNFile(const QString& fileName);
  bool setRMNData(const QString& data, ParseFunction parse);

  bool isRMNValid() const { return mValid; }
  QString rmnCode() const { return mRmnText; }
  QString fileName() const { return mFileName; }
  // The engine's message, with the line for a parse error.
  QString getLastErrorMessage() const;
  // 1 until a score was laid out.
  int pageCount() const;
  // The height keeping the page's aspect; width itself without a laid-out page.
  int heightForWidth(int width, int page) const;
  // (0, 0) without a laid-out page.
  QSizeF pageSizeMM(int page) const;

  // These lay a score already held out again.
  void setRazidLayoutSettings(const RazidLayoutSettings& settings);
  RazidLayoutSettings razidLayoutSettings() const { return mLayoutSettings; }
  // At least 1.
  void setSystemsDistance(float distance);
  float getSystemsDistance() const { return mLayoutSettings.systemsDistance; }
  // These parse and lay out the held text again.
  void setRazidPageFormat(const RazidPageFormat& format);
  RazidPageFormat razidPageFormat() const { return mPageFormat; }
  void setResizePageToMusic(bool resize);

  // Draws the page (clamped to 1 .. page count) fitted into drawRect with its aspect kept; only
  // what falls in redrawRect, or everything for a null redrawRect.
  void draw(QPainter* painter, int page, const QRect& drawRect, const QRect& redrawRect);

  GRHandle grHandle() const { return mDrawRequest.handle; }

 private:
  void Relayout();
  void SetUpdateRegion(int page, const QRect& drawRect, const QRect& redrawRect);

  // The first member: its first field, the GR handle, is read by the score's users.
  RazidOnDrawDesc mDrawRequest{};
  QString mFileName;
  QString mRmnText;
  bool mValid = false;
  RazidErrCode mLastError = 0;
  bool mHasValidGR = false;
  bool mResizePageToMusic = true;
  RazidLayoutSettings mLayoutSettings{};
  RazidPageFormat mPageFormat{};
};

// The file's text as the engine reads it, each line up to a zero byte; empty when it cannot be
// opened.
QString getFileContent(const QString& fileName);
