#include "ARLyrics.h"

#include "BoundParameters.h"
#include "RmnOutput.h"

void ARLyrics::print() const {
  PrintRmnLine(*this);
}

void ARLyrics::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, getText());
}

void ARLyrics::CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings) {
  for (NVstring& templ : strings)
    templ.append(";S,textformat,ct,o;S,font,Times,o;U,fsize,12pt,o;S,fattrib,,o");
  ARMTParameter::CreateListOfTPLs(ltpls, strings);
}

int ARLyrics::MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                                     TagParameterList** rtpl) {
  const int index = ARMTParameter::MatchListOfTPLsWithTPL(ltpls, given, rtpl);
  if (!*rtpl) return index;
  mFAttrib = OnlyIfSet(TakeTailOfKind<TagParameterString>(**rtpl));
  mFSize = TakeTailOfKind<TagParameterFloat>(**rtpl);
  mFont = TakeTailOfKind<TagParameterString>(**rtpl);
  mTextFormat = TakeTailOfKind<TagParameterString>(**rtpl);
  return index;
}

void ARLyrics::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindTagParameters(sTemplates, {"S,text,,r;U,dy,-3,o"}, given, own) < 0) return;
  mText = TakeOfKind<TagParameterString>(*own, 0);
  if (auto dy = TakeOfKind<TagParameterFloat>(*own, 1)) setDY(dy.release());
}

int ARLyrics::getFSize(float lineSpace) const {
  return mFSize ? static_cast<int>(mFSize->getValue(lineSpace)) : 0;
}
