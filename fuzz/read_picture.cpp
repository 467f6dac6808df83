#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "VGDevice.h"
#include "VGPictureFile.h"
#include "fuzz/fuzz_targets.h"
#include "fuzz/offscreen_application.h"
#include "lib-razid-qt/GSystemQt.h"

namespace Fuzz {
namespace {

// Pictures within this cost are decoded: each run stays far inside the fuzzer's time limit, and
// a picture weighed as lighter than it decodes is still found.
constexpr double kMostPixels = 1 << 20;

}  // namespace

int ReadPicture(const std::uint8_t* data, std::size_t size) {
  StartOffscreenApplicationOnce();
  static QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("picture"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    if (file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) std::abort();
  }
  GSystemQt system(nullptr);
  std::unique_ptr<VGPictureFile> picture = system.OpenPicture(QFile::encodeName(path).constData());
  if (!picture) return 0;
  const double pixels = picture->Pixels();
  if (!(pixels > 0)) std::abort();  // a picture weighed is never free
  if (pixels > kMostPixels) return 0;
  // A picture decodes to the size it was weighed at, or not at all.
  std::unique_ptr<VGDevice> const read(picture->Read());
  if (read && double(read->GetWidth()) * read->GetHeight() > pixels) std::abort();
  return 0;
}

}  // namespace Fuzz
