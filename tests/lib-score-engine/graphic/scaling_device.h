#pragma once

#include "recording_device.h"

namespace EngineTesting {

// A recording device that keeps its scale and origin, so that what reports itself to a symbol
// map lands where a real device would put it: (v + origin) x scale.
class ScalingDevice : public RecordingDevice {
 public:
  using RecordingDevice::RecordingDevice;
  void SetScale(float x, float y) override {
    RecordingDevice::SetScale(x, y);
    mXScale = x;
    mYScale = y;
  }
  void SetOrigin(float x, float y) override {
    RecordingDevice::SetOrigin(x, y);
    mXOrigin = x;
    mYOrigin = y;
  }
  void OffsetOrigin(float dx, float dy) override {
    RecordingDevice::OffsetOrigin(dx, dy);
    mXOrigin += dx;
    mYOrigin += dy;
  }
  float GetXScale() const override { return mXScale; }
  float GetYScale() const override { return mYScale; }
  float GetXOrigin() const override { return mXOrigin; }
  float GetYOrigin() const override { return mYOrigin; }

 private:
  float mXScale = 1;
  float mYScale = 1;
  float mXOrigin = 0;
  float mYOrigin = 0;
};

}  // namespace EngineTesting
