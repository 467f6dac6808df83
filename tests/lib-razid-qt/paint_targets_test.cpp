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

// A 20 x 20 red square on whatever the painter paints, as a source device sees it.
void PaintRedSquare(QPainter& source) {
  source.fillRect(QRect(0, 0, 20, 20), Qt::red);
}

// Images and pixmaps are copied from any part into any rectangle; pictures only whole, in place.
TEST_F(ImageDevice, CopiesFromImagesPixmapsAndPictures) {
  QImage sourceImage(20, 20, QImage::Format_ARGB32_Premultiplied);
  QPixmap sourcePixmap(20, 20);
  QPicture sourcePicture;
  struct Row {
    const char* name;
    QPaintDevice* source;
    QRect target;
  };
  const Row rows[] = {{"image", &sourceImage, QRect(10, 10, 40, 40)},
                      {"pixmap", &sourcePixmap, QRect(60, 10, 40, 40)},
                      {"picture", &sourcePicture, QRect(110, 10, 20, 20)}};
  for (const Row& row : rows) {
    QPainter sourcePainter(row.source);
    PaintRedSquare(sourcePainter);
    GDeviceQt source(&sourcePainter, &system);
    EXPECT_TRUE(device->CopyPixels(row.target.x(), row.target.y(), row.target.width(),
                                   row.target.height(), &source))
        << row.name;
  }
  // The short forms copy what the source holds, clipped to its size.
  QPainter imagePainter(&sourceImage);
  GDeviceQt imageSource(&imagePainter, &system);
  EXPECT_TRUE(device->CopyPixels(10, 150, &imageSource, 0, 0, 100, 100));
  EXPECT_TRUE(device->CopyPixels(&imageSource));
  EXPECT_EQ(PixelsOf(QRect(10, 10, 40, 40), qRgb(255, 0, 0)), 1600);
  EXPECT_EQ(PixelsOf(QRect(60, 10, 40, 40), qRgb(255, 0, 0)), 1600);
  EXPECT_EQ(PixelsOf(QRect(10, 150, 20, 20), qRgb(255, 0, 0)), 400);
  EXPECT_EQ(PixelsOf(QRect(0, 0, 10, 10), qRgb(255, 0, 0)), 100);
  EXPECT_EQ(Ink(QRect(10, 170, 100, 30)), 0);
}

TEST_F(ImageDevice, CopyRefusesToStretchAPictureOrToCopyWhenInverting) {
  QPicture picture;
  QPainter picturePainter(&picture);
  PaintRedSquare(picturePainter);
  GDeviceQt source(&picturePainter, &system);
  GDeviceQt measuring(nullptr, &system);
  testing::internal::CaptureStdout();
  EXPECT_FALSE(device->CopyPixels(0, 0, 40, 40, &source, 0, 0, 20, 20));
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "Can't stretch from a Rect to another with QPicture : x=0 , y=0 , sW=20 , sH=20 , "
            "dW=40 , dH=40\n");
  EXPECT_FALSE(device->CopyPixels(&measuring));
  testing::internal::CaptureStdout();
  device->SetRasterOpMode(VGDevice::kOpInvert);
  testing::internal::GetCapturedStdout();
  EXPECT_FALSE(device->CopyPixels(0, 0, 20, 20, &source, 0, 0, 20, 20));
  device->SetRasterOpMode(VGDevice::kOpCopy);
  EXPECT_EQ(Ink(image.rect()), 0);
}

// The engine's measuring device has no painter: it draws nothing, reports no size and no scale.
TEST(MeasuringDevice, DrawsNothingAndMeasuresUnscaled) {
  GSystemQt system(nullptr);
  std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
  EXPECT_FALSE(device->IsValid());
  EXPECT_TRUE(device->BeginDraw());
  device->SetScale(3, 3);
  device->OffsetOrigin(5, 5);
  device->Frame(0, 0, 10, 10);
  device->Rectangle(0, 0, 10, 10);
  device->DrawMusicSymbol(0, 0, 88);
  device->DrawString(0, 0, "x", 1);
  device->NotifySize(10, 10);
  device->EndDraw();
  EXPECT_EQ(device->GetXScale(), 1.0f);
  EXPECT_EQ(device->GetXOrigin(), 0.0f);
  EXPECT_EQ(device->GetWidth(), 0);
  EXPECT_EQ(device->GetDPITag(), -1.0f);
  EXPECT_EQ(device->GetNativeContext(), nullptr);
}

// A printer reports its resolution, and the page drawn through it lands in the PDF.
TEST(PrinterDevice, WritesAPdfPageAndReportsThePrintersResolution) {
  QTemporaryDir dir;
  const QString path = dir.filePath("score.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  {
    QPainter painter(&printer);
    GSystemQt system(&painter);
    std::unique_ptr<VGDevice> device(system.CreateDisplayDevice());
    EXPECT_EQ(device->GetDPITag(), float(printer.resolution()));
    device->SetDPITag(72);
    EXPECT_EQ(device->GetDPITag(), float(printer.resolution()));
    device->Line(100, 100, 1000, 100);
    device->DrawMusicSymbol(200, 200, 88);
  }
  QFile pdf(path);
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
