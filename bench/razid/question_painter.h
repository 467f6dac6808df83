#pragma once

// The painter of a one-question exercise score, set up as the score builder sets it up, and the
// note boxes read back from its map: shared by the engine and score builder benchmarks so both
// time the same work.

#include <QString>

#include "Razid.h"
#include "lib-razid-qt/QRazidPainter.h"

namespace Bench {

// A painter holding `rmn` parsed and laid out on a 3000 x 1000 page that is not fitted to the
// music. The caller destroys it with QRazidPainter::destroyRazidPainter.
inline QRazidPainter* LaidOutQuestion(const QString& rmn) {
  QRazidPainter* painter = QRazidPainter::createRazidPainter();
  RazidLayoutSettings settings = painter->razidLayoutSettings();
  settings.optPageFill = 0;
  painter->setRazidLayoutSettings(settings);
  painter->setRazidPageFormat({3000, 1000, 20, 70, 20, 70});
  painter->setResizePageToMusic(false);
  painter->setRMNCode(rmn);
  return painter;
}

// Reads the bounding box of every note on page 1, as the builder does; returns how many.
inline int CountNoteBoxes(QRazidPainter* painter) {
  constexpr int kNoteSubType = 10;
  CScoreElement* root = RazidMapGetRootElement(painter->grHandle(), 1);
  int boxes = 0;
  float l, t, r, b;
  for (int n = 1; CScoreElement* e = RazidMapFindDeepNthElementOfType(root, 1, n); ++n) {
    if (RazidMapGetElementSubType(e) != kNoteSubType) continue;
    RazidMapGetElementBoundingBox(e, &l, &t, &r, &b);
    ++boxes;
  }
  return boxes;
}

}  // namespace Bench
