#include "ARRepeatEnd.h"

#include <algorithm>

#include "BoundParameters.h"
#include "TagParameterInt.h"

ListOfTPLs ARRepeatEnd::ltpls;

ARRepeatEnd::ARRepeatEnd(ARRepeatBegin* begin) : repeatBegin(begin) {
  rangeSetting = RANGEDC;
}

void ARRepeatEnd::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"I,num,-1,o"}, given, own) < 0) return;
  auto const& num = BoundAt<TagParameterInt>(*own, 0);
  if (IsSet(&num)) numRepeat = std::max(num.getValue(), 0);
}

void ARRepeatEnd::PrintParameters(std::ostream& os) const {
  if (numRepeat != 0) os << numRepeat;
}
