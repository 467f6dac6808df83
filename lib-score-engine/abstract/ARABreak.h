#pragma once

#include "ARMTParameter.h"

// Automatic page and system breaks on (0) or off (1) for the rest of the score. No tag name makes
// one; it is written back as "\autoBreak".
class ARABreak : public ARMTParameter {
 public:
  static constexpr int ON = 0;
  static constexpr int OFF = 1;

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\autoBreak"; }
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  int getPageBreakState() const { return pageBreak; }
  int getSystemBreakState() const { return systemBreak; }

 private:
  int pageBreak = ON;
  int systemBreak = ON;
  static ListOfTPLs ltpls;
};
