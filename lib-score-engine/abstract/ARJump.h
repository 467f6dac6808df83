#pragma once

#include <string>

#include "ARMTParameter.h"
#include "FormatStringParser.h"

// A navigation mark (coda, segno, da capo, dal segno, fine): a mark text cut into plain pieces
// and symbol pieces such as "[coda]", and an identifier. Each kind brings its own mark text,
// which an "m" parameter replaces.
class ARJump : public ARMTParameter {
 public:
  explicit ARJump(std::string const& mark);

  void setTagParameterList(TagParameterList& given) override;
  void print() const override;

  FormatStringParserResult const& getMark() const { return mark; }
  int getIdentifier() const { return jumpId; }

 private:
  FormatStringParserResult mark;
  int jumpId = 0;
  static ListOfTPLs ltpls;
};
