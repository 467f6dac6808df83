#include "ARClef.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "RmnOutput.h"
#include "TagParameterString.h"
#include "TagTextNumber.h"

namespace {

// Clef texts are read from a working copy of this many bytes, terminator included; a longer
// text is read as far as it fits.
constexpr size_t kWorkingCopySize = 72;

struct WholeName {
  char const* text;
  int clef;
  int line;
};

constexpr WholeName kWholeNames[] = {
    {"bass", ARClef::FCLEF, 4},  {"basso", ARClef::FCLEF, 4},   {"f4", ARClef::FCLEF, 4},
    {"tenor", ARClef::CCLEF, 4}, {"c4", ARClef::CCLEF, 4},      {"alto", ARClef::CCLEF, 3},
    {"c3", ARClef::CCLEF, 3},    {"violino", ARClef::GCLEF, 2}, {"treble", ARClef::GCLEF, 2},
    {"g2", ARClef::GCLEF, 2},    {"none", ARClef::NOCLEF, 2},   {"off", ARClef::NOCLEF, 2},
    {"", ARClef::NOCLEF, 2},
};

// The octave mark for the number after the sign: 8 or 15 below or above; other numbers none.
int OctavaOf(int number) {
  switch (number) {
    case -15:
      return -2;
    case -8:
      return -1;
    case 8:
      return 1;
    case 15:
      return 2;
    default:
      return 0;
  }
}

bool StartsWith(std::string const& text, char const* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

}  // namespace

ARClef::ARClef() = default;

ARClef::ARClef(ARClef const& other)
    : ARMTParameter(other.getRelativeTimePosition(), &other),
      mName(other.mName ? std::make_unique<NVstring>(*other.mName) : nullptr),
      mClef(other.mClef),
      mStaffLine(other.mStaffLine),
      mOctava(other.mOctava) {}

void ARClef::print() const {
  PrintRmnLine(*this);
}

void ARClef::PrintName(std::ostream& os) const {
  os << "\\clef";
}

void ARClef::PrintParameters(std::ostream& os) const {
  if (mName) WriteQuoted(os, mName->c_str());
}

void ARClef::setTagParameterList(TagParameterList& given) {
  static ListOfTPLs ltpls;
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls, {"S,type,treble,r"}, given, own) < 0 || !own) return;
  TagParameter* type = ParameterAt(*own, 0);
  if (type && type->isString())
    setName(NVstring(static_cast<TagParameterString*>(type)->getValue()));
}

void ARClef::setName(NVstring const& text) {
  if (mName)
    *mName = text;
  else
    mName = std::make_unique<NVstring>(text);

  std::string clef(text.c_str(), std::min(text.length(), kWorkingCopySize - 1));
  mOctava = 0;
  size_t sign = clef.find('-');
  if (sign == std::string::npos) sign = clef.find('+');
  if (sign != std::string::npos) {
    mOctava = OctavaOf(ReadTagTextInt(clef.c_str() + sign));
    clef.resize(sign);
  }

  for (WholeName const& name : kWholeNames) {
    if (clef == name.text) {
      mClef = name.clef;
      mStaffLine = name.line;
      return;
    }
  }

  size_t digits = 0;
  if (StartsWith(clef, "gg")) {
    mClef = DOUBLEGCLEF;
    digits = 2;
  } else if (StartsWith(clef, "c")) {
    mClef = CCLEF;
    digits = 1;
  } else if (StartsWith(clef, "f")) {
    mClef = FCLEF;
    digits = 1;
  } else if (StartsWith(clef, "perc")) {
    mClef = PERCUSSIONCLEF;
    digits = 4;
  } else {
    mClef = GCLEF;
    digits = StartsWith(clef, "g") ? 1 : 0;
  }
  const int line = ReadTagTextInt(clef.c_str() + digits);
  if (line >= 1 && line <= 5)
    mStaffLine = line;
  else
    mStaffLine = mClef == CCLEF ? 3 : mClef == FCLEF ? 4 : 2;
}

bool ARClef::operator==(ARClef const& other) const {
  return mStaffLine == other.mStaffLine && mClef == other.mClef && mOctava == other.mOctava;
}
