#include "ARSpecial.h"

#include <climits>
#include <cstdlib>

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterFloat.h"
#include "TagParameterString.h"

ListOfTPLs ARSpecial::ltpls;

namespace {

constexpr float kLineSpace = 50.0f;

// The leading number of text in base, as scanf reads it (blanks, a sign, "0x" in base 16), but
// kept within the int range: "\4294967361" must not wrap round to a valid code. False when text
// holds no number.
bool ReadCode(char const* text, int base, int& code) {
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, base);
  if (end == text) return false;
  code = value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
  return true;
}

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
    if (text[1] == 'o')
      read = ReadCode(text + 2, 8, code);
    else if (text[1] == 'x')
      read = ReadCode(text + 2, 16, code);
    else
      read = ReadCode(text + 1, 10, code);
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
