#include "lib-razid-qt/picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <limits>
#include <utility>

#include "lib-razid-qt/picture_device.h"
#include "lib-razid-qt/picture_weight.h"
#include "lib-razid-qt/png_picture.h"

namespace RazidQt {

namespace {

// The largest picture file read, which is held until its picture is decoded: four times a large
// photograph's. A larger one is not read.
constexpr qint64 kMostBytes = qint64(64) << 20;

class PictureFile : public VGPictureFile {
 public:
  PictureFile(PictureWeight weight, GSystemQt* system)
      : mWeight(std::move(weight)), mSystem(system) {}

  double Pixels() const override {
    return double(mWeight.size.width()) * mWeight.size.height() * mWeight.passes;
  }

  VGDevice* Read() override {
    QByteArray const bytes = std::exchange(mWeight.decodable, {});
    // Qt's reader takes no picture beyond its allocation limit, and checks that only once it has
    // begun: such a picture is not begun.
    qint64 const pixels = qint64(mWeight.size.width()) * mWeight.size.height();
    qint64 const limit = qint64(QImageReader::allocationLimit()) << 20;
    if (limit > 0 && pixels * 4 > limit) return nullptr;
    if (mWeight.format == "png" && !PngDataFitItsRows(bytes)) return nullptr;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, mWeight.format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    // A turn its metadata asks for exchanges its sides, not its pixels.
    if (picture.isNull() || qint64(picture.width()) * picture.height() != pixels) return nullptr;
    // The format pages are drawn from fastest; the picture is converted in its own memory where
    // the formats allow, not beside a copy of it.
    picture = std::move(picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return new PictureDevice(std::move(picture), mSystem);
  }

 private:
  PictureWeight mWeight;
  GSystemQt* mSystem;
};

// A file too large to be read whole, which no score takes.
class FileTooLarge : public VGPictureFile {
 public:
  double Pixels() const override { return std::numeric_limits<double>::infinity(); }
  VGDevice* Read() override { return nullptr; }
};

}  // namespace

std::unique_ptr<VGPictureFile> OpenPicture(QString const& path, GSystemQt* system) {
  std::unique_ptr<QFile> const file = OpenPictureFile(path);
  if (!file) return nullptr;
  if (file->size() > kMostBytes) return std::make_unique<FileTooLarge>();
  // What is weighed is what is decoded, however the file changes meanwhile.
  QByteArray const bytes = file->read(file->size());
  std::optional<PictureWeight> weight = WeighPicture(bytes);
  if (!weight) return nullptr;
  return std::make_unique<PictureFile>(std::move(*weight), system);
}

}  // namespace RazidQt
