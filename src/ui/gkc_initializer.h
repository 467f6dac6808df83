#pragma once

// The on-screen piano's shared pictures and key table, built once for every piano of the process:
// six sets of 14 key images (normal, under the pointer, pressed, green, blue, red), the two glows
// that frame the octave under the pointer, and the geometry of the 88 keys.

#include <QBrush>
#include <QPixmap>
#include <QString>

#include <vector>

#include "src/ui/keyboard_geometry.h"

class GKCinitializer {
 public:
  enum ImageSet { Normal, Hover, Pressed, Green, Blue, Red, SetCount };

  // Loads the pictures and builds the table on the first call; later calls return at once. The
  // pictures are released when the application object goes, before the statics do.
  static void Init();
  // Fills `set` with the 14 images of ":/pixmap/GKC/<folder>/<name>[_<suffix>].png".
  static void LoadResources(std::vector<QPixmap*>& set, const QString& folder,
                            const QString& suffix);

  static const std::vector<GKCKeyPositon>& Keys();
  static const QPixmap& Image(ImageSet set, int pixmapIndex);
  static const QPixmap& HighlightLeft();
  static const QPixmap& HighlightRight();
  static const QBrush& FadeBrush();

 private:
  static void Release();
};
