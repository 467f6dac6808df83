#pragma once

#include <array>
#include <optional>

// A colour an element keeps for itself (red, green, blue, alpha), or none: elements copy their
// event's colour when they are made and answer getColRef with it.
class OwnedColor {
 public:
  OwnedColor() = default;
  explicit OwnedColor(unsigned char const* rgba) { set(rgba); }

  // Null forgets the colour.
  void set(unsigned char const* rgba) {
    if (rgba) {
      mColor = std::array<unsigned char, 4>{rgba[0], rgba[1], rgba[2], rgba[3]};
    } else {
      mColor.reset();
    }
  }
  void reset() { mColor.reset(); }
  // Makes the colour (opaque black) when there is none, for the caller to fill.
  unsigned char* make() {
    if (!mColor) mColor = std::array<unsigned char, 4>{0, 0, 0, 255};
    return mColor->data();
  }
  unsigned char const* get() const { return mColor ? mColor->data() : nullptr; }

 private:
  std::optional<std::array<unsigned char, 4>> mColor;
};
