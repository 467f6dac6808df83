#include "ARRepeatBegin.h"

#include <algorithm>

#include "ARRepeatEnd.h"
#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterInt.h"

ListOfTPLs ARRepeatBegin::ltpls;

void ARRepeatBegin::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"I,num,-1,o"}, given, own) < 0) return;
  auto const& num = BoundAt<TagParameterInt>(*own, 0);
  if (IsSet(&num)) numRepeat = std::max(num.getValue(), 0);
}

void ARRepeatBegin::setRepeatEnd(ARRepeatEnd const* end) {
  MELVARIN_ASSERT(end != nullptr);
  if (length.getNumerator() == -1)
    length = end->getRelativeTimePosition() - getRelativeTimePosition();
}

void ARRepeatBegin::print() const {
  PrintRmnLine(*this);
}

void ARRepeatBegin::PrintParameters(std::ostream& os) const {
  if (numRepeat != 2) os << numRepeat;
}
