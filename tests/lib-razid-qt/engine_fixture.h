#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "lib-razid-qt/QRazidPainter.h"
#include "lib-razid-qt/engine_fonts.h"

namespace RazidQtTesting {

// The engine started once for the test program, as the application starts it, and painters made
// and drawn as the score builder makes and draws them.
class EngineFixture : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(RazidQt::PrepareEngineFonts());
    QRazidPainter::startRazidEngine();
  }
  static void TearDownTestSuite() { QRazidPainter::stopRazidEngine(); }

  struct PainterDeleter {
    void operator()(QRazidPainter* painter) const { QRazidPainter::destroyRazidPainter(painter); }
  };
  using Painter = std::unique_ptr<QRazidPainter, PainterDeleter>;

  static Painter NewPainter() { return Painter(QRazidPainter::createRazidPainter()); }

  // A question score's painter: a 3000 x 1000 page with margins 20/70/20/70, optimal page fill
  // off, pages not shrunk to the music.
  static Painter QuestionPainter(const QString& rmn) {
    Painter painter = NewPainter();
    RazidLayoutSettings settings = painter->razidLayoutSettings();
    settings.optPageFill = 0;
    painter->setRazidLayoutSettings(settings);
    painter->setRazidPageFormat({3000, 1000, 20, 70, 20, 70});
    painter->setResizePageToMusic(false);
    EXPECT_TRUE(painter->setRMNCode(rmn)) << painter->getLastErrorMessage().toStdString();
    return painter;
  }

  // The page drawn into a white image of the size, over all of it.
  static QImage Draw(QRazidPainter& painter, int page, QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter target(&image);
    target.setRenderHint(QPainter::Antialiasing);
    target.setPen(QColor(0, 0, 32));
    painter.draw(&target, page, image.rect(), image.rect());
    return image;
  }

  static QString WriteFile(const QTemporaryDir& dir, const char* name, const std::string& text) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.data(), static_cast<qint64>(text.size()));
    return file.fileName();
  }

  // Pixels of the image inside the area for which counts is true.
  static int Count(const QImage& image, const QRectF& area, auto&& counts) {
    int count = 0;
    const QRect pixels = area.toAlignedRect() & image.rect();
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
      for (int x = pixels.left(); x <= pixels.right(); ++x) count += counts(image.pixel(x, y));
    return count;
  }
  static bool Dark(QRgb pixel) { return qGray(pixel) < 128; }
  static QRectF Box(CScoreElement* element) {
    float l, t, r, b;
    RazidMapGetElementBoundingBox(element, &l, &t, &r, &b);
    return QRectF(QPointF(l, t), QPointF(r, b));
  }
};

}  // namespace RazidQtTesting
