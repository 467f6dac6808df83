#pragma once

class GRSystem;

// A tag whose elements lie on several staves of a system and that adjusts itself once the
// system's staves are placed.
class GRSystemTagInterface {
 public:
  virtual ~GRSystemTagInterface() = default;
  virtual void checkPosition(GRSystem const*) {}
};
