#pragma once

class VGDevice;

// A font of the drawing system that measures a text or one music symbol on a device.
class VGFont {
 public:
  virtual ~VGFont() = default;

  virtual char const* GetName() const = 0;
  virtual int GetSize() const = 0;
  // Bits: 1 bold, 2 italic.
  virtual int GetProperties() const = 0;
  virtual void GetExtent(char const* s, int count, float* width, float* height,
                         VGDevice* device) const = 0;
  virtual void GetExtent(unsigned char symbol, float* width, float* height,
                         VGDevice* device) const = 0;
};
