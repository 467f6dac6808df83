#include "lib-razid-qt/picture_device.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
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
  // The suffixes of the formats a picture is read in, in the order of Qt's list of formats.
  for (char const* suffix : {"bmp", "jpeg", "jpg", "pbm", "pgm", "png", "ppm"})
    if (auto file = OpenRegularFile(path + u'.' + QString::fromLatin1(suffix))) return file;
  return nullptr;
}

}  // namespace RazidQt
