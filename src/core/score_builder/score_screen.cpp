#include "src/core/score_builder/score_screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace Core {

namespace {
QRect& Override() {
  static QRect screen;
  return screen;
}
}  // namespace

QRect ScoreScreenGeometry() {
  if (!Override().isNull()) return Override();
  if (QScreen* screen = QGuiApplication::primaryScreen()) return screen->geometry();
  return QRect(0, 0, 1440, 900);
}

void SetScoreScreenGeometry(const QRect& screen) {
  Override() = screen;
}

}  // namespace Core
