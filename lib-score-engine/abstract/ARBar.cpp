#include "ARBar.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterInt.h"

ListOfTPLs ARBar::ltpls;

void ARBar::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"I,number,-1,o"}, given, own) < 0) return;
  auto const& number = BoundAt<TagParameterInt>(*own, 0);
  if (IsSet(&number)) barNumber = number.getValue();
}

void ARBar::print() const {
  PrintRmnLine(*this);
}

void ARBar::PrintParameters(std::ostream& os) const {
  if (barNumber != -1) os << barNumber;
}
