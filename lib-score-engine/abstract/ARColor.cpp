#include "ARColor.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"

ListOfTPLs ARColor::ltpls;

void ARColor::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"F,red,0.0,r;F,green,0.0,r;F,blue,0.0,r;F,alpha,0.0,o"}, given,
                        own) < 0)
    return;
  float* fields[] = {&red, &green, &blue, &alpha};
  for (int i = 0; i < 4; ++i) *fields[i] = BoundAt<TagParameterFloat>(*own, i).getUnitValue();
}

void ARColor::print() const {
  PrintRmnLine(*this);
}

void ARColor::PrintParameters(std::ostream& os) const {
  os << red << "," << green << "," << blue;
}
