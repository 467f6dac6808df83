#pragma once

#include <QMetaType>

namespace UI {

// How the exercise screen switches its view: 0 at once, 1 with its animation.
using Speed = int;
constexpr Speed SpeedImmediate = 0;
constexpr Speed SpeedAnimated = 1;

}  // namespace UI
