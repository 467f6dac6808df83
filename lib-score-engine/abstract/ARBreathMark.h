#pragma once

#include "ARMTParameter.h"

// A breath mark ("breathMark"). It takes no parameters, not even the common ones.
class ARBreathMark : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override { given.RemoveAll(); }
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\breathMark"; }
};
