#pragma once

class VGDevice;

// A picture's file, found and weighed but not yet decoded. The weight is what decoding the picture
// and holding it costs, learnt from the file's headers and structure alone, so that a score can
// take the picture on, or leave it out, before any of that cost is spent.
class VGPictureFile {
 public:
  virtual ~VGPictureFile() = default;

  // The cost of the picture in pixels held: its own pixels, and more where its format works
  // through each pixel several times.
  virtual double Pixels() const = 0;
  // The picture decoded onto an offscreen device, which the caller owns; null when the file holds
  // more than its weight told, which is then not decoded, or nothing that decodes.
  virtual VGDevice* Read() = 0;
};
