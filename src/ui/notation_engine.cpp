#include "src/ui/notation_engine.h"

namespace UI {

void StartNotationEngine() {}
void StopNotationEngine() {}

}  // namespace UI
