#pragma once

#include "ARKey.h"

// The key that cancels the previous one; the automatic key pass puts one in front of a key
// change that leaves a key with accidentals.
class ARNaturalKey : public ARKey {
 public:
  ARNaturalKey() = default;
  ARNaturalKey(ARNaturalKey const& other) = default;

  ARMusicalObject* Copy() const override { return new ARNaturalKey(*this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override {}
};
