#pragma once

#include "GRNotationElement.h"

class ARMusicalObject;

// An element that shows an object of the abstract representation; it starts at that object's
// time with its duration.
class GRARNotationElement : public GRNotationElement {
 public:
  // ar must be given; with owns the object is deleted with the element.
  explicit GRARNotationElement(ARMusicalObject* ar, bool owns = false);
  // The object forgets this element (and goes with it when owned).
  ~GRARNotationElement() override;

  ARMusicalObject const* getAbstractRepresentation() const override {
    return mAbstractRepresentation;
  }
  virtual ARMusicalObject* getAbstractRepresentation() { return mAbstractRepresentation; }
  virtual void setOwnership(bool owns) { mOwnsAR = owns; }

 private:
  ARMusicalObject* mAbstractRepresentation;
  bool mOwnsAR;
};
