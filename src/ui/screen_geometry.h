#pragma once

// Screen sizes as the shell sees them. The shell lays itself out for the screens of the desktop;
// tests and screenshot runs give it the screens they mean (the offscreen platform's own screen is
// 800 x 600), so every size the shell takes from a screen goes through here.

#include <QList>
#include <QRect>

class QScreen;

namespace UI {

int ScreenCount();
// The geometry of screen `index`; the primary screen for an index that names no screen.
QRect ScreenGeometry(int index);
QRect PrimaryScreenGeometry();
// The desktop's screen `index` in the order above; null for an index that names none, and while
// screens are given by SetScreenGeometries.
QScreen* DesktopScreen(int index);

// Replaces the desktop's screens until cleared with an empty list.
void SetScreenGeometries(const QList<QRect>& screens);

}  // namespace UI
