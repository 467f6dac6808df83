#pragma once
// The list of pictures the generator draws, each with its resource path (relative to the pictures
// folder, which the resource list maps to ":/"), its pixel size and the code that paints it.
#include <QDir>
#include <QPainter>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace Pictures {

using PaintFunction = std::function<void(QPainter&, QSizeF)>;
// Paints frame `frame` of `frames`.
using FramePaintFunction = std::function<void(QPainter&, QSizeF, int frame, int frames)>;

class PictureSet {
 public:
  void Add(const QString& path, QSize size, PaintFunction paint);
  // An animated GIF of `frames` frames, `delayMs` apart, looping for ever.
  void AddAnimation(const QString& path, QSize size, int frames, int delayMs,
                    FramePaintFunction paint);

  // Draws every picture into `folder` (sub-folders are made as needed); returns the paths written.
  // A picture that cannot be written stops the run with a message.
  QStringList WriteAll(const QDir& folder) const;

 private:
  struct Picture {
    QString path;
    QSize size;
    int frames = 1;
    int delayMs = 0;
    FramePaintFunction paint;
  };
  std::vector<Picture> pictures_;
};

// Every picture of the program, in one set.
PictureSet AllPictures();

// The groups AllPictures is made of, one per part of the program.
void AddToolbarPictures(PictureSet& set);
void AddHomePictures(PictureSet& set);
void AddDialogPictures(PictureSet& set);
void AddKeyboardPictures(PictureSet& set);
void AddRangeSelectorPictures(PictureSet& set);
void AddWidgetPictures(PictureSet& set);
void AddSettingsPictures(PictureSet& set);
void AddExercisePictures(PictureSet& set);

}  // namespace Pictures
