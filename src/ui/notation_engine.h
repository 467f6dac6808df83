#pragma once

// Start and stop of the notation engine around the application's life: the music font is
// registered first, and the engine stops before anything it drew for is released.

namespace UI {

void StartNotationEngine();
void StopNotationEngine();

}  // namespace UI
