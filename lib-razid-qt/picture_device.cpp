#include "lib-razid-qt/picture_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QImageReader>
#include <utility>

namespace RazidQt {

namespace {

bool IsRegularFile(struct stat const& status) {
  return S_ISREG(status.st_mode);
}

// The file when it is a regular file, opened for reading; null otherwise. What the name stands
// for may change between the look and the open, so the file is opened without waiting (a pipe
// opens at once then) and looked at once more.
std::unique_ptr<QFile> OpenRegularFile(QString const& name) {
  QByteArray const encoded = QFile::encodeName(name);
  struct stat status {};
  if (::stat(encoded.constData(), &status) != 0 || !IsRegularFile(status)) return nullptr;
  int const descriptor = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return nullptr;
  auto file = std::make_unique<QFile>(name);
  if (::fstat(descriptor, &status) != 0 || !IsRegularFile(status) ||
      !file->open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(descriptor);
    return nullptr;
  }
  return file;
}

}  // namespace

PictureDevice::PictureDevice(QImage picture, GSystemQt* system)
    : GDeviceQt(nullptr, system), mPicture(std::move(picture)) {}

QImage const& PictureDevice::ScaledFor(QSize drawn) {
  if (drawn.isEmpty() || (drawn.width() >= mPicture.width() && drawn.height() >= mPicture.height()))
    return mPicture;
  if (mScaled.size() != drawn)
    mScaled = mPicture.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return mScaled;
}

std::unique_ptr<QFile> OpenPictureFile(QString const& path) {
  if (path.isEmpty()) return nullptr;
  if (auto file = OpenRegularFile(path)) return file;
  for (QByteArray const& format : QImageReader::supportedImageFormats())
    if (auto file = OpenRegularFile(path + u'.' + QString::fromLatin1(format))) return file;
  return nullptr;
}

QSize PictureSize(QString const& path) {
  std::unique_ptr<QFile> const file = OpenPictureFile(path);
  if (!file) return {};
  QImageReader reader(file.get());
  reader.setAutoTransform(true);
  QSize size = reader.size();
  // A format without the size in its header tells it only by being read.
  if (!size.isValid()) return reader.read().size();
  if (reader.transformation() & QImageIOHandler::TransformationRotate90) size.transpose();
  return size;
}

PictureDevice* ReadPicture(QString const& path, GSystemQt* system) {
  std::unique_ptr<QFile> const file = OpenPictureFile(path);
  if (!file) return nullptr;
  QImageReader reader(file.get());
  reader.setAutoTransform(true);
  QImage picture = reader.read();
  if (picture.isNull()) return nullptr;
  // The format pages are drawn from fastest; the picture is converted in its own memory where
  // the formats allow, not beside a copy of it.
  picture = std::move(picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  return new PictureDevice(std::move(picture), system);
}

}  // namespace RazidQt
