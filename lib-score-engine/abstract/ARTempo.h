#pragma once

#include "ARMTParameter.h"
#include "FormatStringParser.h"

class TagParameterString;

// A tempo mark: words and note values ("Allegro [1/4] = 120"), and optionally a metronome
// equation for readers of the tree.
class ARTempo : public ARMTParameter {
 public:
  // Writes nothing.
  std::ostream& operator<<(std::ostream& os) const override { return os; }
  void print() const override {}
  void setTagParameterList(TagParameterList& given) override;

  // Reads "a/b=c" (c beats of a/b) or "a/b=c/d" (a/b as long as c/d); any other text, or a
  // length with a denominator below 1, leaves the equation as it was.
  void ParseBpm(TagParameterString const* bpm);

  FormatStringParserResult const& getTempoMark() const { return tempoMark; }
  Fraction const& getBpmUnit() const { return bpmUnit; }
  Fraction const& getBpmValue() const { return bpmValue; }
  bool isBpmNoteEquiv() const { return bpmNoteEquiv; }
  bool hasBpm() const { return hasBpmInfo; }

 private:
  FormatStringParserResult tempoMark;
  Fraction bpmUnit{1, 4};
  Fraction bpmValue{120, 1};
  bool bpmNoteEquiv = false;
  bool hasBpmInfo = false;

  static inline ListOfTPLs sTemplates{1};
};
