#include "ARABreak.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterString.h"

ListOfTPLs ARABreak::ltpls;

namespace {

// OFF when the text wrote "off", else ON.
int SwitchOf(TagParameterString const& written) {
  return ARMTParameter::IsSet(&written) && written == "off" ? ARABreak::OFF : ARABreak::ON;
}

char const* Word(int state) {
  return state == ARABreak::OFF ? "\"off\"" : "\"on\"";
}

}  // namespace

void ARABreak::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,page,on,o;S,system,on,o"}, given, own) < 0) return;
  pageBreak = SwitchOf(BoundAt<TagParameterString>(*own, 0));
  systemBreak = SwitchOf(BoundAt<TagParameterString>(*own, 1));
}

void ARABreak::print() const {
  PrintRmnLine(*this);
}

void ARABreak::PrintParameters(std::ostream& os) const {
  os << "pageBreak=" << Word(pageBreak) << ",systemBreak=" << Word(systemBreak);
}
