#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "TagParameterString.h"

// The instrument of a voice ("instr"): the name shown at the staff, a second name and a
// transposition text. Each is null when the text does not give it.
class ARInstrument : public ARMTParameter {
 public:
  void setTagParameterList(TagParameterList& given) override;
  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\instr"; }
  void PrintParameters(std::ostream& os) const override;
  bool IsStateTag() const override { return true; }

  char const* getName() const { return name ? name->getValue() : nullptr; }
  char const* getSecondName() const { return midiName ? midiName->getValue() : nullptr; }
  TagParameterString const* getTransp() const { return transp.get(); }

 private:
  std::unique_ptr<TagParameterString> name;
  std::unique_ptr<TagParameterString> midiName;
  std::unique_ptr<TagParameterString> transp;
  static ListOfTPLs ltpls;
};
