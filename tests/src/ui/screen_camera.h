#pragma once

// Saves what the whole screen shows, for the screenshot programs run under Xvfb.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include <cstdio>

#include "tests/support/patience.h"

namespace Testing {

// Lets the screen settle for `settleMs`, then saves it as <folder>/<name>.png and prints the
// outcome. False when nothing could be grabbed or saved.
inline bool TakeScreenshot(const QString& folder, const QString& name, int settleMs = 200) {
  QTest::qWait(settleMs);
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  const QString path = folder + "/" + name + ".png";
  const bool saved = !shot.isNull() && shot.save(path);
  std::printf("%s %s (%dx%d)\n", saved ? "saved" : "FAILED", qPrintable(path), shot.width(),
              shot.height());
  return saved;
}

}  // namespace Testing
