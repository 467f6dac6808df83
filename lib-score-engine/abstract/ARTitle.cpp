#include "ARTitle.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARTitle::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, getName());
}

void ARTitle::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindText(given, own) < 0) return;
  name = TakeOfKind<TagParameterString>(*own, 0);
  pageformat = TakeOfKind<TagParameterString>(*own, 1);
  textformat = TakeOfKind<TagParameterString>(*own, 2);
  if (!IsSet(fsize.get())) fsize = MakeFloat(24, "pt");
}
