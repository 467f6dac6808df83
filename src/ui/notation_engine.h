#pragma once

// Start and stop of the notation engine around the application's life. The engine's painter
// front end does not exist yet; until it does these do nothing.

namespace UI {

void StartNotationEngine();
void StopNotationEngine();

}  // namespace UI
