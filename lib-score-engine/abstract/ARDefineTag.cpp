#include "ARDefineTag.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

ListOfTPLs ARDefineTag::ltpls;

void ARDefineTag::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,name,,r;S,parameters,,r;S,ggstext,,r"}, given, own) < 0) return;
  tagName = TakeBound<TagParameterString>(*own, 0);
  tagParameters = TakeBound<TagParameterString>(*own, 1);
  ggsText = TakeBound<TagParameterString>(*own, 2);
}

void ARDefineTag::print() const {
  PrintRmnLine(*this);
}

void ARDefineTag::PrintParameters(std::ostream& os) const {
  if (!tagName) return;
  char const* separator = "";
  for (auto const* text : {tagName.get(), tagParameters.get(), ggsText.get()}) {
    os << separator;
    WriteQuoted(os, text ? text->getValue() : "");
    separator = ",";
  }
}
