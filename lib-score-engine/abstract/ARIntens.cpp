#include "ARIntens.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

ListOfTPLs ARIntens::ltpls;

ARIntens::ARIntens(char const* intensity, float intensityValue)
    : text(intensity ? intensity : ""), value(intensityValue) {}

void ARIntens::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,type,,r;F,value,-1.0,o"}, given, own) < 0) return;
  text = BoundAt<TagParameterString>(*own, 0).getValue();
  auto const& written = BoundAt<TagParameterFloat>(*own, 1);
  if (IsSet(&written)) value = written.getUnitValue();
}

void ARIntens::print() const {
  PrintRmnLine(*this);
}

void ARIntens::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, text.c_str());
  // The value is written scaled as a length, as the output always did.
  if (value != -1.0f) {
    os << ",";
    WriteCentimetres(os, value);
  }
}
