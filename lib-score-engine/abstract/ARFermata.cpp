#include "ARFermata.h"

#include <sstream>
#include <string>

#include "RmnOutput.h"

void ARFermata::print() const {
  PrintRmnLine(*this);
}

void ARFermata::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  BindTagParameters(sTemplates, {""}, given, own);
}

std::ostream& ARFermata::operator<<(std::ostream& os) const {
  std::ostringstream text;
  ARMTParameter::operator<<(text);
  std::string written = text.str();
  if (rangeFlag) written.erase(written.size() - 2, 1);  // the "(" before the closing blank
  return os << written;
}
