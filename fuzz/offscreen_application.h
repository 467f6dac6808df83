#pragma once

namespace Fuzz {

// Qt's painting and image readers need an application: one, offscreen when the program has none
// of its own, is made on the first call and serves the whole run.
void StartOffscreenApplicationOnce();

}  // namespace Fuzz
