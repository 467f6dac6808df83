#pragma once

namespace UI {

// How an overlay comes up: 0 with its fade-in animation, 1 at once.
enum FadeMode : int { FadeAnimated = 0, FadeNone = 1 };

}  // namespace UI
