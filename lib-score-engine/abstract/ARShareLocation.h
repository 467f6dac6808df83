#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// The notes of its range stand at one horizontal place; the chord builder puts every chord under
// one, and the text may write one.
class ARShareLocation : public ARMTParameter, public ARPositionTag {
 public:
  ARShareLocation();
  // With the source's common parameters.
  explicit ARShareLocation(ARShareLocation const* copy);

  ARMusicalObject* Copy() const override { return new ARShareLocation(this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  // Takes the common parameters only.
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
