#include "src/ui/notation_engine.h"

#include "lib-razid-qt/QRazidPainter.h"

namespace UI {

void StartNotationEngine() {
  QRazidPainter::startRazidEngine();
}

void StopNotationEngine() {
  QRazidPainter::stopRazidEngine();
}

}  // namespace UI
