#pragma once

#include "ARMTParameter.h"

// Forces a new system ("newSystem", "newLine"); its dy parameter becomes the tag's dy, the
// distance to the system above.
class ARNewSystem : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  // "\newSystem", with dy in centimetres when there is one.
  std::ostream& operator<<(std::ostream& os) const override;
  void print() const override;

 private:
  static ListOfTPLs ltpls;
};
