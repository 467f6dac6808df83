#pragma once

struct NVPoint;
struct NVRect;
class VGDevice;

// A picture an element can draw into a box, or at a width or a height with its proportions kept.
class Image {
 public:
  virtual ~Image() = default;
  virtual void OnDraw(VGDevice& device, NVRect const& box) const = 0;
  virtual void OnDrawW(VGDevice& device, NVPoint const& at, float width) const = 0;
  virtual void OnDrawH(VGDevice& device, NVPoint const& at, float height) const = 0;
};
