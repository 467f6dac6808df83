#pragma once

#include "ARMTParameter.h"
#include "ARPositionTag.h"
#include "TempoChangeTexts.h"

// A ritardando over its range, with an optional tempo text at its start and at its end.
class ARRitardando : public ARMTParameter, public ARPositionTag {
 public:
  ARRitardando() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void PrintName(std::ostream& os) const override;
  bool MatchEndTag(char const* text) override;
  void setTagParameterList(TagParameterList& given) override;

  TagParameterString const* getTempo() const { return texts.tempo.get(); }
  TagParameterString const* getAbsTempo() const { return texts.abstempo.get(); }

 private:
  TempoChangeTexts texts;

  static inline ListOfTPLs sTemplates{1};
};
