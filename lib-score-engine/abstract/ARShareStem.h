#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// The notes of its range share one stem; the chord builder puts every group of a chord under
// one.
class ARShareStem : public ARMTParameter, public ARPositionTag {
 public:
  ARShareStem();
  // With the source's common parameters.
  explicit ARShareStem(ARShareStem const* copy);

  ARMusicalObject* Copy() const override { return new ARShareStem(this); }
  void print() const override;
  void PrintName(std::ostream& os) const override;
  // Takes the common parameters only.
  void setTagParameterList(TagParameterList& given) override;

 private:
  static inline ListOfTPLs sTemplates{1};
};
