#pragma once

#include "GREvent.h"

// An event that holds time without a symbol (an empty note or an event not shown): it takes its
// own spring, draws nothing and reports itself to the symbol map.
class GREmpty : public GREvent {
 public:
  GREmpty(GRStaff* staff, ARMusicalEvent* ar, bool ownsAR = false);
  GREmpty(GRStaff* staff, ARMusicalEvent* ar, Fraction relativeTimePosition, Fraction duration);

  virtual void NotifyNewScoreElement(VGDevice& device, VScoreSymbolMap& map) const;
  void OnDraw(VGDevice& device, VScoreSymbolMap& map) const override {
    NotifyNewScoreElement(device, map);
  }
  void tellPosition(GObject* caller, NVPoint const& point) override;
  void updateBoundingBox() override {}
  bool adjustLength(Fraction const& duration) override;
};
