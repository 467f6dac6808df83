#include "fuzz/offscreen_application.h"

#include <QGuiApplication>

namespace Fuzz {

void StartOffscreenApplicationOnce() {
  static bool started = [] {
    if (!QCoreApplication::instance()) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
      static int argc = 1;
      static char name[] = "fuzz";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);
    }
    return true;
  }();
  (void)started;
}

}  // namespace Fuzz
