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

// The largest picture file read, which is held whole while its picture is weighed and decoded:
// four times a large photograph's. A larger one is not read.
constexpr qint64 kMostBytes = qint64(64) << 20;

// The whole file, or nothing when it is larger than is read.
std::optional<QByteArray> ReadWhole(QFile& file) {
  if (file.size() > kMostBytes || !file.seek(0)) return std::nullopt;
  return file.read(file.size());
}

// Qt's reader takes no picture whose decoded pixels are beyond its allocation limit, and checks
// that only once it has begun: such a picture is too large to be read at all.
bool BeyondReader(PictureWeight const& weight) {
  // Sides of up to 2^31 pixels each: their product does not fit 64 bits at every depth.
  double const bytes = double(weight.size.width()) * weight.size.height() * weight.bytesPerPixel;
  double const limit = double(QImageReader::allocationLimit()) * (1 << 20);
  return limit > 0 && bytes > limit;
}

// A picture file kept open between its weighing and its decoding, while the score's other
// pictures are weighed, without its bytes: they are read again to be decoded, and decoded only
// when they weigh as they did.
class PictureFile : public VGPictureFile {
 public:
  PictureFile(std::unique_ptr<QFile> file, PictureWeight const& weight, GSystemQt* system)
      : mFile(std::move(file)), mSize(weight.size), mPasses(weight.passes), mSystem(system) {}

  double Pixels() const override { return double(mSize.width()) * mSize.height() * mPasses; }

  VGDevice* Read() override {
    std::unique_ptr<QFile> const file = std::move(mFile);
    std::optional<QByteArray> bytes = file ? ReadWhole(*file) : std::nullopt;
    std::optional<PictureWeight> const weight =
        bytes ? WeighPicture(*std::move(bytes)) : std::nullopt;
    if (!weight || weight->size != mSize || weight->passes != mPasses || BeyondReader(*weight))
      return nullptr;
    qint64 const pixels = qint64(mSize.width()) * mSize.height();
    if (weight->format == "png" && !PngDataFitItsRows(weight->decodable)) return nullptr;
    QBuffer buffer;
    buffer.setData(weight->decodable);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, weight->format);
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
  std::unique_ptr<QFile> mFile;
  QSize mSize;
  double mPasses;
  GSystemQt* mSystem;
};

// A file too large to be read whole, or a picture too large to be decoded, which no score takes.
class FileTooLarge : public VGPictureFile {
 public:
  double Pixels() const override { return std::numeric_limits<double>::infinity(); }
  VGDevice* Read() override { return nullptr; }
};

}  // namespace

std::unique_ptr<VGPictureFile> OpenPicture(QString const& path, GSystemQt* system) {
  std::unique_ptr<QFile> file = OpenPictureFile(path);
  if (!file) return nullptr;
  std::optional<QByteArray> bytes = ReadWhole(*file);
  if (!bytes) return std::make_unique<FileTooLarge>();
  std::optional<PictureWeight> const weight = WeighPicture(*std::move(bytes));
  if (!weight) return nullptr;
  if (BeyondReader(*weight)) return std::make_unique<FileTooLarge>();
  return std::make_unique<PictureFile>(std::move(file), *weight, system);
}

}  // namespace RazidQt
