#pragma once

#include "GRBeam.h"

// A beam the automatic beaming inserted: it goes over the rests of its beat and dissolves over a
// single note.
class GRAutoBeam : public GRBeam {
 public:
  using GRBeam::GRBeam;
  bool isAutoBeam() const override { return true; }
};
