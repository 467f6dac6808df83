#pragma once

#include "GREvent.h"

class ARRest;
class ARRestFormat;

// A graphical rest: an event of an abstract rest, which may stand for a whole measure.
class GRRest : public GREvent {
 public:
  GRRest(GRStaff* staff, ARRest* rest, bool ownsAR = false);
  GRRest(GRStaff* staff, ARRest* rest, Fraction const& relativeTimePosition,
         Fraction const& duration);
  // Makes and owns a rest of that length.
  GRRest(GRStaff* staff, Fraction const& duration);

  virtual void setRestFormat(ARRestFormat*) {}
  virtual int getWholeMeasure() const { return mWholeMeasure; }
  virtual void setWholeMeasure(int value) { mWholeMeasure = value; }

  ARRest* getARRest() const;
  // A rest takes a fermata over it; the other articulations belong to notes only.
  void addArticulation(ARMusicalTag* tag) override;

 private:
  int mWholeMeasure = 0;
};
