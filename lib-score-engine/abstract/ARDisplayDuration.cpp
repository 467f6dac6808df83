#include "ARDisplayDuration.h"

#include "BeginFormEnd.h"
#include "BoundParameters.h"
#include "RmnOutput.h"

ARDisplayDuration::ARDisplayDuration() {
  rangeSetting = ONLYRANGE;
}

ARDisplayDuration::ARDisplayDuration(ARDisplayDuration const* copy)
    : ARMTParameter(Frac_0, copy),
      num(CopyOfKind<TagParameterInt>(copy->num.get())),
      denom(CopyOfKind<TagParameterInt>(copy->denom.get())),
      ndots(CopyOfKind<TagParameterInt>(copy->ndots.get())) {}

void ARDisplayDuration::print() const {
  PrintRmnLine(*this);
}

void ARDisplayDuration::PrintName(std::ostream& os) const {
  os << (rangeFlag ? "\\dispDur" : "\\dispDurBegin");
}

void ARDisplayDuration::PrintParameters(std::ostream& os) const {
  os << displayDuration.getNumerator() << "," << displayDuration.getDenominator() << "," << dots;
}

bool ARDisplayDuration::MatchEndTag(char const* text) {
  return ARMTParameter::MatchEndTag(text) || IsBeginFormEnd(rangeFlag, text, "\\dispDurEnd");
}

void ARDisplayDuration::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"I,n,,r;I,d,,r;I,ndots,0,o"}, given, own) < 0) return;
  num = TakeOfKind<TagParameterInt>(*own, 0);
  denom = TakeOfKind<TagParameterInt>(*own, 1);
  ndots = TakeOfKind<TagParameterInt>(*own, 2);
  dots = ndots->getValue();
  // No length has a denominator below 1 or a negative numerator; such a length is not drawn.
  if (denom->getValue() <= 0 || num->getValue() < 0) return;
  displayDuration.setNumerator(num->getValue());
  displayDuration.setDenominator(denom->getValue());
}

void ARDisplayDuration::setDisplayDuration(Fraction const& length) {
  Fraction reduced = length;
  reduced.normalize();
  const int denominator = reduced.getDenominator();
  dots = 0;
  // 7/4 of a value is that value with two dots; below quarters no value is left to dot.
  if (reduced.getNumerator() == 7 && denominator >= 4) {
    dots = 2;
    reduced.set(1, denominator / 4);
  } else if (reduced.getNumerator() == 3 && denominator >= 2) {
    dots = 1;
    reduced.set(1, denominator / 2);
  }
  displayDuration = reduced;
}
