#pragma once

#include "ARCoda.h"
#include "GRJump.h"

// The coda sign, drawn a third larger than other jump glyphs.
class GRCoda : public GRJump {
 public:
  explicit GRCoda(ARCoda* coda) : GRJump(coda, false) { measure(); }
  float getSymbolSize() const override { return 1.3333f; }
};
