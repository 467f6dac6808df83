#include "GRPage.h"
#include "GRSystem.h"
#include "src/common/assertion.h"

// Layout operations that this engine does not support. They stop the program; nothing calls them.

GRSystem::GRSystem(GRPage*, Fraction const&) : GRSystem() {
  MELVARIN_ASSERT(false);
}

void GRPage::systemFinished() {
  MELVARIN_ASSERT(false);
}

void GRPage::setHorizontalSpacing() {
  MELVARIN_ASSERT(false);
}
