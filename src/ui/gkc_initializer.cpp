#include "src/ui/gkc_initializer.h"

#include <QCoreApplication>

#include <array>

#include "src/common/assertion.h"

namespace {

struct Statics {
  bool initialised = false;
  std::vector<GKCKeyPositon> keys;
  std::array<std::vector<QPixmap*>, GKCinitializer::SetCount> sets;
  QPixmap* highlightLeft = nullptr;
  QPixmap* highlightRight = nullptr;
  QBrush fadeBrush{QColor(0, 0, 0, 120)};
};

Statics& Shared() {
  static Statics statics;
  return statics;
}

const char* const ImageNames[KeyboardGeometry::ImageCount] = {
    "Afirst",  "C", "C_sharp", "D", "D_sharp", "E", "F",
    "F_sharp", "G", "G_sharp", "A", "A_sharp", "B", "Clast"};

}  // namespace

void GKCinitializer::Init() {
  Statics& s = Shared();
  if (s.initialised) return;
  s.initialised = true;
  LoadResources(s.sets[Normal], "normal", "");
  LoadResources(s.sets[Hover], "hover", "hover");
  LoadResources(s.sets[Pressed], "pressed", "pressed");
  LoadResources(s.sets[Green], "green", "green");
  LoadResources(s.sets[Blue], "blue", "blue");
  LoadResources(s.sets[Red], "red", "red");
  s.highlightLeft = new QPixmap(":/pixmap/GKC/highlightL", "png");
  s.highlightRight = new QPixmap(":/pixmap/GKC/highlightR", "png");
  s.keys = KeyboardGeometry::BuildKeys();
  // Pixmaps must not outlive the application object; a later one loads them again.
  qAddPostRoutine(&GKCinitializer::Release);
}

void GKCinitializer::LoadResources(std::vector<QPixmap*>& set, const QString& folder,
                                   const QString& suffix) {
  for (QPixmap* old : set) delete old;
  set.assign(KeyboardGeometry::ImageCount, nullptr);
  for (int i = 0; i < KeyboardGeometry::ImageCount; ++i) {
    QString name = ":/pixmap/GKC/" + folder + "/" + ImageNames[i];
    if (!suffix.isEmpty()) name += "_" + suffix;
    set[i] = new QPixmap(name + ".png");
  }
}

void GKCinitializer::Release() {
  Statics& s = Shared();
  for (auto& set : s.sets) {
    for (QPixmap* pixmap : set) delete pixmap;
    set.clear();
  }
  delete s.highlightLeft;
  delete s.highlightRight;
  s.highlightLeft = s.highlightRight = nullptr;
  s.keys.clear();
  s.initialised = false;
}

const std::vector<GKCKeyPositon>& GKCinitializer::Keys() {
  return Shared().keys;
}

const QPixmap& GKCinitializer::Image(ImageSet set, int pixmapIndex) {
  const auto& images = Shared().sets[set];
  MELVARIN_ASSERT(pixmapIndex >= 0 && size_t(pixmapIndex) < images.size());
  return *images[size_t(pixmapIndex)];
}

const QPixmap& GKCinitializer::HighlightLeft() {
  MELVARIN_ASSERT(Shared().highlightLeft);
  return *Shared().highlightLeft;
}

const QPixmap& GKCinitializer::HighlightRight() {
  MELVARIN_ASSERT(Shared().highlightRight);
  return *Shared().highlightRight;
}

const QBrush& GKCinitializer::FadeBrush() {
  return Shared().fadeBrush;
}
