#include "ARTuplet.h"

#include <climits>

#include "BoundParameters.h"
#include "MoreMusicalTags.h"
#include "RmnOutput.h"
#include "src/common/assertion.h"

namespace {

// Appends a decimal digit; a number too long for an int stays at the largest one.
void AppendDigit(int& number, int digit) {
  number = number > (INT_MAX - digit) / 10 ? INT_MAX : number * 10 + digit;
}

}  // namespace

ARTuplet::ARTuplet() {
  rangeSetting = ONLYRANGE;
  assoc = 1;
}

void ARTuplet::print() const {
  PrintRmnLine(*this);
}

std::ostream& ARTuplet::operator<<(std::ostream& os) const {
  os << (rangeFlag ? "\\tuplet" : "\\tupletBegin");
  char const* separator = "<";
  if (!format.empty()) {
    os << separator;
    WriteQuoted(os, format.c_str());
    separator = ",";
  }
  if (dy1Set) {
    os << separator << dy1;
    separator = ",";
  }
  if (dy2Set) {
    os << separator << dy2;
    separator = ",";
  }
  if (*separator == ',') os << ">";
  if (rangeFlag) os << "(";
  return os << " ";
}

void ARTuplet::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,format,,r;U,dy1,0,o;U,dy2,0,o"}, given, own) != 0) return;
  auto formatParameter = TakeOfKind<TagParameterString>(*own, 0);
  if (IsSet(formatParameter.get())) {
    format = formatParameter->getValue();
    parseTupletFormatString();
  }
  if (auto first = TakeOfKind<TagParameterFloat>(*own, 1)) {
    dy1 = first->getValue(50);
    dy1Set = IsSet(first.get());
  }
  auto second = TakeOfKind<TagParameterFloat>(*own, 2);
  dy2Set = IsSet(second.get());
  dy2 = dy2Set ? second->getValue(50) : dy1;
}

void ARTuplet::parseTupletFormatString() {
  numerator = denominator = 0;
  leftBrace = rightBrace = false;
  if (format.empty()) return;
  formatSet = true;
  bool colonSeen = false;
  for (char c : format) {
    if (c == '-') {
      if (!leftBrace && !colonSeen && numerator == 0) {
        leftBrace = true;
        continue;
      }
      rightBrace = true;
      break;
    }
    if (c == ':')
      colonSeen = true;
    else if (c >= '0' && c <= '9')
      AppendDigit(colonSeen ? denominator : numerator, c - '0');
  }
}

void ARTuplet::setupTuplet(ARBase const* base) {
  MELVARIN_ASSERT(base != nullptr);
  numerator = base->getBase().getNumerator();
}
