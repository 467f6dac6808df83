#include "PictureMarkParameters.h"

#include "BoundParameters.h"
#include "TagParameterInt.h"

void ReadInverse(TagParameterList const& own, int& inverse) {
  auto const& written = BoundAt<TagParameterInt>(own, 0);
  if (ARMTParameter::IsSet(&written)) inverse = written.getValue();
}

void WriteInverse(std::ostream& os, int inverse) {
  if (inverse != 0) os << "-1";
}
