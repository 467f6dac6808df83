#include "src/ui/screen_geometry.h"

#include <QGuiApplication>
#include <QScreen>

namespace UI {

namespace {
QList<QRect>& Override() {
  static QList<QRect> screens;
  return screens;
}

// The primary screen first, then the others as Qt lists them.
QList<QScreen*> DesktopScreens() {
  QList<QScreen*> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen()) screens.append(primary);
  for (QScreen* screen : QGuiApplication::screens())
    if (screen != QGuiApplication::primaryScreen()) screens.append(screen);
  return screens;
}

QList<QRect> Screens() {
  if (!Override().isEmpty()) return Override();
  QList<QRect> screens;
  for (QScreen* screen : DesktopScreens()) screens.append(screen->geometry());
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

QScreen* DesktopScreen(int index) {
  if (!Override().isEmpty()) return nullptr;
  const QList<QScreen*> screens = DesktopScreens();
  return index >= 0 && index < screens.size() ? screens[index] : nullptr;
}

QRect PrimaryScreenGeometry() {
  return ScreenGeometry(0);
}

void SetScreenGeometries(const QList<QRect>& screens) {
  Override() = screens;
}

}  // namespace UI
