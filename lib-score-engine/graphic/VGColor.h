#pragma once

// A colour of the drawing device: red, green, blue and alpha, one byte each; 255 alpha is opaque.
struct VGColor {
  unsigned char red = 0;
  unsigned char green = 0;
  unsigned char blue = 0;
  unsigned char alpha = 255;

  constexpr VGColor() = default;
  constexpr VGColor(unsigned char r, unsigned char g, unsigned char b, unsigned char a = 255)
      : red(r), green(g), blue(b), alpha(a) {}
  // From the four bytes red, green, blue, alpha of a tag's colour.
  explicit constexpr VGColor(unsigned char const* rgba)
      : red(rgba[0]), green(rgba[1]), blue(rgba[2]), alpha(rgba[3]) {}

  bool operator==(VGColor const&) const = default;
};

inline constexpr VGColor kOpaqueBlack{0, 0, 0, 255};
