#pragma once

// The screen lesson-score rows are sized for. Tests and screenshot runs name the screen they mean
// (the offscreen platform's own is 800 x 600); otherwise it is the desktop's primary screen.

#include <QRect>

namespace Core {

QRect ScoreScreenGeometry();
// Replaces the desktop's screen until cleared with a null rectangle.
void SetScoreScreenGeometry(const QRect& screen);

}  // namespace Core
