#include "src/ui/keyboard_geometry.h"

#include "src/core/exercise/theory/key_geometry.h"

namespace KeyboardGeometry {

namespace {

constexpr float UpperHeight = 108;
constexpr float LowerHeight = 72;
constexpr float WhiteWidth = 35;
constexpr float BlackWidth = 19;
constexpr float OctaveWidth = 245;
constexpr float FirstOctaveX = 70;

struct KeyShape {
  float offset;  // a black key's x within its octave; a white key's upper part within the key
  float width;   // a white key's upper part; unused for black keys
};

// By pixmap index: first A, C, C sharp, D, .., B, last C.
constexpr KeyShape KeyOffs[ImageCount] = {{0, 30},  {0, 21},  {21, 20}, {5, 25}, {65, 0},
                                          {14, 21}, {0, 21},  {126, 0}, {5, 20}, {165, 0},
                                          {10, 20}, {206, 0}, {14, 21}, {0, 35}};

GKCKeyPositon White(int pixmap, float x, float upperX, float upperWidth) {
  return {pixmap, QRectF(upperX, 0, upperWidth, UpperHeight),
          QRectF(x, UpperHeight, WhiteWidth, LowerHeight), QPointF(x, 0), true};
}

GKCKeyPositon Black(int pixmap, float x, float width) {
  return {pixmap, QRectF(x, 0, width, UpperHeight), QRectF(), QPointF(x, 0), false};
}

}  // namespace

std::vector<GKCKeyPositon> BuildKeys() {
  std::vector<GKCKeyPositon> keys;
  keys.reserve(KeyCount);
  keys.push_back(White(0, 0, 0, 30));
  keys.push_back(Black(11, 30, BlackWidth));
  keys.push_back(White(12, 35, 49, 21));
  for (int octave = 0; octave < 7; ++octave) {
    // Sums in single precision, as the key images were measured.
    const float base = OctaveWidth * float(octave);
    for (int n = 0; n < 12; ++n) {
      const KeyShape& shape = KeyOffs[n + 1];
      const bool black = n == 1 || n == 3 || n == 6 || n == 8 || n == 10;
      if (black) {
        const float x = shape.offset + base + FirstOctaveX;
        keys.push_back(Black(n + 1, x, n == 8 ? 20.f : BlackWidth));
      } else {
        const float x = float(((n < 5 ? n : n + 1) / 2)) * WhiteWidth + base + FirstOctaveX;
        keys.push_back(White(n + 1, x, x + shape.offset, shape.width));
      }
    }
  }
  keys.push_back(White(13, 1785, 1785, 35));
  return keys;
}

int Group(int key) {
  return int(Core::octave(key));
}

int GroupBegin(int group) {
  if (group <= 0) return 0;
  if (group >= 8) return 87;
  return 12 * group - 9;
}

int GroupEnd(int group) {
  return group >= 8 ? KeyCount : GroupBegin(group + 1);
}

QRectF GroupStrip(int group) {
  if (group <= 0) return QRectF(0, 0, FirstOctaveX, DesignHeight);
  if (group >= 8) return QRectF(1785, 0, WhiteWidth, DesignHeight);
  return QRectF(FirstOctaveX + OctaveWidth * float(group - 1), 0, OctaveWidth, DesignHeight);
}

}  // namespace KeyboardGeometry
