#pragma once

#include <array>

#include "ARMTParameter.h"

// The switches of the automatic passes for the rest of its voice ("auto" and "set"). A voice
// without one behaves as if every switch were on.
class ARAuto : public ARMTParameter {
 public:
  static constexpr int ON = 0;
  static constexpr int OFF = 1;
  enum Switch {
    END_BAR,
    PAGE_BREAK,
    SYSTEM_BREAK,
    CLEF_KEY_METER_ORDER,
    STRETCH_LAST_LINE,
    STRETCH_FIRST_LINE,
    SWITCH_COUNT
  };

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\set"; }
  // The switches that differ from their defaults, once the text wrote any.
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  int getSwitch(Switch which) const { return switches[which]; }
  int getEndBar() const { return switches[END_BAR]; }
  int getPageBreak() const { return switches[PAGE_BREAK]; }
  int getSystemBreak() const { return switches[SYSTEM_BREAK]; }
  int getClefKeyMeterOrder() const { return switches[CLEF_KEY_METER_ORDER]; }
  int getStretchLastLine() const { return switches[STRETCH_LAST_LINE]; }
  int getStretchFirstLine() const { return switches[STRETCH_FIRST_LINE]; }
  // How many switches the text wrote.
  int getNumberOfSetParameters() const { return numberOfSetParameters; }

 private:
  std::array<int, SWITCH_COUNT> switches = {ON, ON, ON, ON, OFF, OFF};
  int numberOfSetParameters = 0;
  static ListOfTPLs ltpls;
};
