#include "ARAuto.h"

#include <cstring>

#include "BoundParameters.h"
#include "RmnOutput.h"
#include "TagParameterString.h"

ListOfTPLs ARAuto::ltpls;

namespace {

// Per switch, in template order: its name in the output, its default, and the one word that
// changes it (the others leave it as it is).
struct SwitchText {
  char const* name;
  int byDefault;
  char const* changingWord;
};
constexpr SwitchText kSwitchTexts[ARAuto::SWITCH_COUNT] = {
    {"endBar", ARAuto::ON, "off"},          {"pageBreak", ARAuto::ON, "off"},
    {"systemBreak", ARAuto::ON, "off"},     {"clefKeyMeterOrder", ARAuto::ON, "off"},
    {"stretchLastLine", ARAuto::OFF, "on"}, {"stretchFirstLine", ARAuto::OFF, "on"},
};

}  // namespace

void ARAuto::setTagParameterList(TagParameterList& given) {
  // Both forms name the same switches, the second with the prefix "auto".
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(ltpls,
                        {"S,endBar,on,o;S,pageBreak,on,o;S,systemBreak,on,o;"
                         "S,clefKeyMeterOrder,on,o;S,stretchLastLine,off,o;"
                         "S,stretchFirstLine,off,o",
                         "S,autoEndBar,on,o;S,autoPageBreak,on,o;S,autoSystemBreak,on,o;"
                         "S,autoClefKeyMeterOrder,on,o;S,autoStretchLastLine,off,o;"
                         "S,autoStretchFirstLine,off,o"},
                        given, own) < 0)
    return;
  for (int i = 0; i < SWITCH_COUNT; ++i) {
    auto const& parameter = BoundAt<TagParameterString>(*own, i);
    if (!IsSet(&parameter)) continue;
    ++numberOfSetParameters;
    if (std::strcmp(parameter.getValue(), kSwitchTexts[i].changingWord) == 0)
      switches[i] = kSwitchTexts[i].byDefault == ON ? OFF : ON;
  }
}

void ARAuto::print() const {
  PrintRmnLine(*this);
}

void ARAuto::PrintParameters(std::ostream& os) const {
  if (numberOfSetParameters == 0) return;
  char const* separator = "";
  for (int i = 0; i < SWITCH_COUNT; ++i) {
    if (switches[i] == kSwitchTexts[i].byDefault) continue;
    os << separator << kSwitchTexts[i].name << "=\"" << kSwitchTexts[i].changingWord << '"';
    separator = ",";
  }
}
