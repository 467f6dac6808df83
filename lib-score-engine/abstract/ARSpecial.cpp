#include "ARSpecial.h"

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"
#include "TagTextNumber.h"

ListOfTPLs ARSpecial::ltpls;

namespace {

constexpr float kLineSpace = 50.0f;

}  // namespace

void ARSpecial::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,char,,r;U,dx,0,o;U,dy,0,o;U,space,0,o;F,scale,1.0,o"}, given,
                        own) < 0)
    return;
  ReadCharacter(BoundAt<TagParameterString>(*own, 0).getValue());
  dx = BoundAt<TagParameterFloat>(*own, 1).getValue(kLineSpace);
  dy = BoundAt<TagParameterFloat>(*own, 2).getValue(kLineSpace);
  space = BoundAt<TagParameterFloat>(*own, 3).getValue(kLineSpace);
  scale = BoundAt<TagParameterFloat>(*own, 4).getUnitValue();
}

void ARSpecial::ReadCharacter(char const* text) {
  int code = static_cast<unsigned char>(text[0]);
  bool read = true;
  if (text[0] == '\\') {
    // "\o101", "\x41" and "\65" all stand for "A"; a code beyond the int range must not wrap
    // round to a valid one.
    const int base = text[1] == 'o' ? 8 : text[1] == 'x' ? 16 : 10;
    char const* digits = text + (base == 10 ? 1 : 2);
    char const* end = nullptr;
    code = ReadTagTextInt(digits, &end, base);
    read = end != digits;
  }
  if (!read || code < 1 || code > 255)
    setError(1);
  else
    character = static_cast<unsigned char>(code);
}

void ARSpecial::print() const {
  PrintRmnLine(*this);
}

void ARSpecial::PrintParameters(std::ostream& os) const {
  os << "\"\\" << static_cast<int>(character) << "\"";
  for (float length : {dx, dy, space}) {
    os << ",";
    WriteCentimetres(os, length);
  }
  os << "," << scale;
}
