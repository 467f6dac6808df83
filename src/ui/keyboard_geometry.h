#pragma once

// Where each of the 88 keys of the on-screen piano lies in its design space of 1820 x 180 units,
// one unit per pixel of the key images.

#include <QPointF>
#include <QRectF>

#include <vector>

struct GKCKeyPositon {
  int pixmapIndex = 0;  // the same index in every image set
  QRectF upper;         // the part in the band y 0..108; a black key's whole key
  QRectF lower;         // a white key's full-width lower part; empty for black keys
  QPointF drawPosition;
  bool white = false;
};

namespace KeyboardGeometry {

constexpr int DesignWidth = 1820;
constexpr int DesignHeight = 180;
constexpr int KeyCount = 88;
constexpr int GroupCount = 9;  // A0..B0, seven octaves C..B, C8
constexpr int ImageCount = 14;

// The 88 records in key index order.
std::vector<GKCKeyPositon> BuildKeys();

inline bool IsKey(int key) {
  return key >= 0 && key < KeyCount;
}

// The octave group of a key (0 for A0..B0 and for no key, 8 for C8).
int Group(int key);
// The first key of a group and one past its last.
int GroupBegin(int group);
int GroupEnd(int group);
// The horizontal extent of a group, 180 units high.
QRectF GroupStrip(int group);

}  // namespace KeyboardGeometry
