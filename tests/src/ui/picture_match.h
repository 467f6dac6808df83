#pragma once

// Compares what a window shows with the same widgets drawn afresh.

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWidget>

#include <cstdlib>

namespace Testing {

// What the window of `widget` shows as its paints left it, once every paint asked for is done.
inline QImage ShownWindow(QWidget* widget) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  const QPixmap shown = QGuiApplication::primaryScreen()->grabWindow(widget->window()->winId());
  return shown.toImage().convertToFormat(QImage::Format_RGB32);
}

// The window of `widget` drawn afresh, whole.
inline QImage FreshWindow(QWidget* widget) {
  return widget->window()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// How many pixels of `area` look different in the two pictures. A shade off is not seen: a
// gradient or a scaled picture drawn into a part of its widget may come out a few steps of colour
// off the same drawn whole.
inline int PixelsOff(const QImage& shown, const QImage& fresh, QRect area) {
  constexpr int Shade = 8;
  area &= shown.rect();
  int off = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QRgb a = shown.pixel(x, y), b = fresh.pixel(x, y);
      off += std::abs(qRed(a) - qRed(b)) > Shade || std::abs(qGreen(a) - qGreen(b)) > Shade ||
             std::abs(qBlue(a) - qBlue(b)) > Shade;
    }
  return off;
}

}  // namespace Testing
