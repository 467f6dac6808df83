#pragma once

#include "ARMusicalTag.h"

// Stands for a tag the engine does not know or refuses; it holds nothing, and the factory drops
// it with its parameters.
class ARTDummy : public ARMusicalTag {
 public:
  // An unknown tag has no text of its own to write.
  std::ostream& operator<<(std::ostream& os) const override { return os; }
  void print() const override {}
};
