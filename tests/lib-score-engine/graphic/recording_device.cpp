#include "recording_device.h"

namespace EngineTesting {

std::string FontName(VGFont const* font) {
  if (!font) return "none";
  return std::string(font->GetName()) + "@" + std::to_string(font->GetSize());
}

std::string RecordingDevice::Rgba(VGColor const& c) {
  return Call("rgba", int(c.red), int(c.green), int(c.blue), int(c.alpha));
}

std::string RecordingDevice::State(VGFont const* font) const {
  return " font=" + FontName(font) + " color=" + Rgba(mFontColor) +
         " align=" + std::to_string(mAlign);
}

}  // namespace EngineTesting
