#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TagParameterInt.h"

// A trill, turn or mordent over the notes of its range.
class ARTrill : public ARMTParameter, public ARPositionTag {
 public:
  enum TYPE { TRILL = 0, TURN = 1, MORD = 2 };
  explicit ARTrill(TYPE ornament) : type(ornament) { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override;
  void PrintParameters(std::ostream& os) const override;
  // Accepts "dur" and keeps nothing of it.
  void setTagParameterList(TagParameterList& given) override;
  TYPE getType() const { return type; }
  TagParameterInt const* getDur() const { return dur.get(); }

 private:
  std::unique_ptr<TagParameterInt> dur;
  TYPE type;

  static inline ListOfTPLs sTemplates{1};
};
