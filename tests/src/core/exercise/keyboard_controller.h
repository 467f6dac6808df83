#pragma once

// A sound controller that plays into a recorder and listens to a test keyboard's port.

#include <QString>

#include <functional>
#include <memory>

#include "exercise_test_support.h"
#include "src/core/midi/platform/sound_controller.h"
#include "tests/src/core/midi/wait_until.h"

namespace Testing {

// The controller with `port` selected as its input, or null when the port never showed. Other
// tests' ports come and go while the ports are counted and opened, so it looks again until the
// port is there.
inline std::shared_ptr<Core::SoundController> ControllerListeningTo(
    const QString& port, std::shared_ptr<OutputRecorder> output) {
  Core::SoundDeviceFactory factory = Core::SoundDeviceFactory::Platform();
  factory.createSynthesizer = [output] { return output; };
  factory.watchSetup = [](std::function<void()>) {};
  auto controller = std::make_shared<Core::SoundController>(factory);
  const bool selected = WaitUntil([&] {
    if (controller->SelectInputMidiDevice(port)) return true;
    controller->UpdateDevices();
    return false;
  });
  return selected ? controller : nullptr;
}

}  // namespace Testing
