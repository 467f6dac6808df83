#include "tools/pictures/picture_set.h"

#include "tools/pictures/gif_writer.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace Pictures {

namespace {

QImage Render(QSize size, const std::function<void(QPainter&)>& paint) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
  paint(painter);
  painter.end();
  return image;
}

bool FullyOpaque(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) != 255) return false;
    }
  }
  return true;
}

[[noreturn]] void Fail(const QString& path) {
  std::fprintf(stderr, "Cannot write the picture %s\n", qPrintable(path));
  std::exit(1);
}

}  // namespace

void PictureSet::Add(const QString& path, QSize size, PaintFunction paint) {
  pictures_.push_back({path, size, 1, 0,
                       [paint](QPainter& painter, QSizeF box, int, int) { paint(painter, box); }});
}

void PictureSet::AddAnimation(const QString& path, QSize size, int frames, int delayMs,
                              FramePaintFunction paint) {
  pictures_.push_back({path, size, frames, delayMs, std::move(paint)});
}

QStringList PictureSet::WriteAll(const QDir& folder) const {
  QStringList written;
  for (const Picture& picture : pictures_) {
    const QString file = folder.filePath(picture.path);
    if (!QDir().mkpath(QFileInfo(file).path())) Fail(file);
    std::vector<QImage> frames;
    for (int frame = 0; frame < picture.frames; ++frame) {
      frames.push_back(Render(picture.size, [&](QPainter& painter) {
        picture.paint(painter, QSizeF(picture.size), frame, picture.frames);
      }));
    }
    if (picture.frames > 1) {
      QFile out(file);
      if (!out.open(QIODevice::WriteOnly) || out.write(EncodeGif(frames, picture.delayMs)) < 0) {
        Fail(file);
      }
    } else {
      // Straight (not premultiplied) colours, and no alpha channel where nothing is see-through:
      // smaller files that load as the cheaper opaque pixmaps.
      const QImage image = frames.front().convertToFormat(
          FullyOpaque(frames.front()) ? QImage::Format_RGB32 : QImage::Format_ARGB32);
      if (!image.save(file, "PNG")) Fail(file);
    }
    written << picture.path;
  }
  return written;
}

PictureSet AllPictures() {
  PictureSet set;
  AddToolbarPictures(set);
  AddHomePictures(set);
  AddDialogPictures(set);
  AddKeyboardPictures(set);
  AddRangeSelectorPictures(set);
  AddWidgetPictures(set);
  AddSettingsPictures(set);
  AddExercisePictures(set);
  return set;
}

}  // namespace Pictures
