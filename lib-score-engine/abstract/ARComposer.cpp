#include "ARComposer.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARComposer::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, getName());
}

void ARComposer::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindText(given, own) < 0) return;
  name = TakeOfKind<TagParameterString>(*own, 0);
  pageformat = TakeOfKind<TagParameterString>(*own, 1);
  if (!textformat) textformat = std::make_unique<TagParameterString>("rb");
  if (!IsSet(fsize.get())) fsize = MakeFloat(14, "pt");
}
