#include "ARJump.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"

ListOfTPLs ARJump::ltpls;

ARJump::ARJump(std::string const& markText) {
  FormatStringParser().parse(markText.c_str(), mark);
}

void ARJump::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,m,,o;I,id,0,o"}, given, own) < 0) return;
  auto const& text = BoundAt<TagParameterString>(*own, 0);
  if (text.getValue()[0] != '\0') {
    mark.clear();
    FormatStringParser().parse(text.getValue(), mark);
  }
  jumpId = BoundAt<TagParameterInt>(*own, 1).getValue();
}

void ARJump::print() const {
  PrintRmnLine(*this);
}
