#include "src/ui/screen_geometry.h"

#include <QGuiApplication>
#include <QScreen>

namespace UI {

namespace {
QList<QRect>& Override() {
  static QList<QRect> screens;
  return screens;
}

QList<QRect> Screens() {
  if (!Override().isEmpty()) return Override();
  QList<QRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) screens.append(primary->geometry());
  for (QScreen* screen : QGuiApplication::screens())
    if (screen != QGuiApplication::primaryScreen()) screens.append(screen->geometry());
  return screens;
}
}  // namespace

int ScreenCount() {
  return int(Screens().size());
}

QRect ScreenGeometry(int index) {
  const QList<QRect> screens = Screens();
  if (screens.isEmpty()) return QRect(0, 0, 1440, 900);
  if (index < 0 || index >= screens.size()) return screens.front();
  return screens[index];
}

QRect PrimaryScreenGeometry() {
  return ScreenGeometry(0);
}

void SetScreenGeometries(const QList<QRect>& screens) {
  Override() = screens;
}

}  // namespace UI
