#include <QCoreApplication>
#include <QFile>
#include <QPaintEvent>
#include <QPicture>
#include <QPixmap>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>

#include "image_device_fixture.h"

namespace RazidQtTesting {
namespace {

// Images and pixmaps are copied from any part into any rectangle; pictures only whole, in place.
TEST_F(ImageDevice, CopiesFromImagesPixmapsAndWholePicturesOnly) {
  QImage sourceImage(20, 20, QImage::Format_ARGB32_Premultiplied);
  QPixmap sourcePixmap(20, 20);
  QPicture sourcePicture;
  const std::pair<QPaintDevice*, QRect> rows[] = {{&sourceImage, QRect(10, 10, 40, 40)},
                                                  {&sourcePixmap, QRect(60, 10, 40, 40)},
                                                  {&sourcePicture, QRect(110, 10, 20, 20)}};
  for (auto [paintDevice, target] : rows) {
    QPainter sourcePainter(paintDevice);
    sourcePainter.fillRect(QRect(0, 0, 20, 20), Qt::red);
    GDeviceQt source(&sourcePainter, &system);
    EXPECT_TRUE(
        device->CopyPixels(target.x(), target.y(), target.width(), target.height(), &source));
    if (paintDevice != &sourcePicture) continue;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(device->CopyPixels(0, 100, 40, 40, &source, 0, 0, 20, 20));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Can't stretch from a Rect to another with QPicture : x=0 , y=0 , sW=20 , sH=20 , "
              "dW=40 , dH=40\n");
  }
  // The short forms copy what the source holds, clipped to its size; nothing while inverting.
  QPainter imagePainter(&sourceImage);
  GDeviceQt imageSource(&imagePainter, &system);
  GDeviceQt measuring(nullptr, &system);
  EXPECT_TRUE(device->CopyPixels(10, 150, &imageSource, 0, 0, 100, 100));
  EXPECT_TRUE(device->CopyPixels(&imageSource));
  EXPECT_FALSE(device->CopyPixels(&measuring));
  testing::internal::CaptureStdout();
  device->SetRasterOpMode(VGDevice::kOpInvert);
  testing::internal::GetCapturedStdout();
  EXPECT_FALSE(device->CopyPixels(100, 150, 20, 20, &imageSource));
  EXPECT_EQ(PixelsOf(QRect(10, 10, 90, 40), qRgb(255, 0, 0)), 2 * 1600);
  EXPECT_EQ(PixelsOf(QRect(10, 150, 20, 20), qRgb(255, 0, 0)), 400);
  EXPECT_EQ(PixelsOf(QRect(0, 0, 10, 10), qRgb(255, 0, 0)), 100);
  EXPECT_EQ(Ink(QRect(0, 60, 200, 90)) + Ink(QRect(30, 150, 170, 50)), 0);
}

// The engine's measuring device has no painter: it draws nothing, reports no size and no scale.
TEST(MeasuringDevice, DrawsNothingAndMeasuresUnscaled) {
  GSystemQt system(nullptr);
  std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
  EXPECT_FALSE(device->IsValid());
  EXPECT_TRUE(device->BeginDraw());
  device->SetScale(3, 3);
  device->Frame(0, 0, 10, 10);
  device->DrawMusicSymbol(0, 0, 88);
  device->EndDraw();
  EXPECT_EQ(device->GetXScale(), 1.0f);
  EXPECT_EQ(device->GetWidth(), 0);
}

// A printer reports its resolution, and the page drawn through it lands in the PDF.
TEST(PrinterDevice, WritesAPdfPageAndReportsThePrintersResolution) {
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("score.pdf"));
  {
    QPainter painter(&printer);
    GSystemQt system(&painter);
    std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
    device->SetDPITag(72);
    EXPECT_EQ(device->GetDPITag(), float(printer.resolution()));
    device->Line(100, 100, 1000, 100);
    device->DrawMusicSymbol(200, 200, 88);
  }
  QFile pdf(dir.filePath("score.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF"));
  EXPECT_EQ(bytes.count("/Type /Page\n"), 1);
}

// A widget that draws through a device and asks for one more paint of a part of itself.
class InvalidatingWidget : public QWidget {
 public:
  std::vector<QRect> painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    painted.push_back(event->rect());
    QPainter painter(this);
    GSystemQt system(&painter);
    std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
    if (painted.size() == 1) device->InvalidateRect(10.9f, 20.9f, 40.5f, 60.5f);
  }
};

TEST(WidgetDevice, InvalidateRectRepaintsThatPartOfTheWidget) {
  InvalidatingWidget widget;
  widget.resize(100, 100);
  widget.show();
  widget.repaint();
  for (int round = 0; round < 10 && widget.painted.size() < 2; ++round)
    QCoreApplication::processEvents();
  ASSERT_GE(widget.painted.size(), 2u);
  // Width and height are the truncated differences, not the differences of truncated edges.
  EXPECT_EQ(widget.painted.back(), QRect(10, 20, 29, 39));
}

}  // namespace
}  // namespace RazidQtTesting
