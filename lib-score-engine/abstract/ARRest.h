#pragma once

#include "ARMusicalEvent.h"

// A rest.
class ARRest : public ARMusicalEvent {
 public:
  using ARMusicalEvent::ARMusicalEvent;
  ARRest(ARRest const& other) = default;

  ARMusicalObject* Copy() const override { return new ARRest(*this); }
  // "_*", the length with its dots included.
  std::ostream& operator<<(std::ostream& os) const override;
};
