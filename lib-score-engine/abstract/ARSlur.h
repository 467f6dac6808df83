#pragma once

#include "ARBowing.h"

// A slur over the events of its range.
class ARSlur : public ARBowing {
 public:
  using ARBowing::ARBowing;

  ARMusicalObject* Copy() const override { return new ARSlur(this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
};
