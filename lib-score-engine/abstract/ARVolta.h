#pragma once

#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// The bracket over a repeat ending: which pass it belongs to, the text drawn on it ("m") and its
// shape ("format": "|-", "-|" or "-").
class ARVolta : public ARMTParameter, public ARPositionTag {
 public:
  ARVolta() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override { os << "\\volta"; }
  bool MatchEndTag(char const* text) override;
  void setTagParameterList(TagParameterList& given) override;

  std::string const& getPass() const { return pass; }
  std::string const& getMark() const { return mark; }
  std::string const& getFormat() const { return format; }

 private:
  std::string pass, mark, format;

  static inline ListOfTPLs sTemplates{1};
};
