#include "ARText.h"

#include <map>

#include "ARLyrics.h"
#include "BoundParameters.h"
#include "RmnOutput.h"

ARText::ARText(NVstring const& textValue, float)
    : text(std::make_unique<TagParameterString>(textValue.c_str())) {
  rangeSetting = RANGEDC;
}

void ARText::print() const {
  PrintRmnLine(*this);
}

void ARText::PrintParameters(std::ostream& os) const {
  WriteQuoted(os, getText());
}

void ARText::CreateListOfTPLs(ListOfTPLs& ltpls, ListOfStrings& strings) {
  for (NVstring& templ : strings)
    templ.append(";U,ypos,0hs,o;S,textformat,cc,o;S,font,Times,o;U,fsize,12pt,o;S,fattrib,,o");
  ARMTParameter::CreateListOfTPLs(ltpls, strings);
}

int ARText::MatchListOfTPLsWithTPL(ListOfTPLs const& ltpls, TagParameterList& given,
                                   TagParameterList** rtpl) {
  const int index = ARMTParameter::MatchListOfTPLsWithTPL(ltpls, given, rtpl);
  if (!*rtpl) return index;
  fattrib = OnlyIfSet(TakeTailOfKind<TagParameterString>(**rtpl));
  fsize = TakeTailOfKind<TagParameterFloat>(**rtpl);
  font = TakeTailOfKind<TagParameterString>(**rtpl);
  textformat = OnlyIfSet(TakeTailOfKind<TagParameterString>(**rtpl));
  ypos = OnlyIfSet(TakeTailOfKind<TagParameterFloat>(**rtpl));
  return index;
}

ListOfTPLs& ARText::getTemplates() const {
  static std::map<std::type_index, ListOfTPLs> templates;
  return templates.try_emplace(typeid(*this), 1).first->second;
}

void ARText::PrintNamedText(std::ostream& os) const {
  os << "text=\"" << (getText() ? getText() : "") << '"';
}

int ARText::BindText(TagParameterList& given, std::unique_ptr<TagParameterList>& own) {
  return BindTagParameters(getTemplates(), {getTagFormat()}, given, own);
}

void ARText::setTagParameterList(TagParameterList& given) {
  std::unique_ptr<TagParameterList> own;
  if (BindText(given, own) < 0) return;
  text = TakeOfKind<TagParameterString>(*own, 0);
  // Marks and labels have no dy of their own; texts and fingerings always take theirs.
  if (auto dy = TakeOfKind<TagParameterFloat>(*own, 1)) setDY(dy.release());
}

int ARText::getFSize(float lineSpace) const {
  return fsize ? static_cast<int>(fsize->getValue(lineSpace)) : 0;
}

void ARText::setTextformat(TagParameter const* parameter) {
  textformat = CopyOfKind<TagParameterString>(parameter);
}

void ARText::setFont(TagParameter const* parameter) {
  font = CopyOfKind<TagParameterString>(parameter);
}

void ARText::setFSize(TagParameter const* parameter) {
  fsize = CopyOfKind<TagParameterFloat>(parameter);
}

void ARText::setFAttrib(TagParameter const* parameter) {
  fattrib = CopyOfKind<TagParameterString>(parameter);
}

void ARText::copyLyricsParams(ARLyrics const* lyrics) {
  cutFromLyrics = true;
  cutFrom = lyrics;
  if (lyrics->getDX()) setDX(CopyOfKind<TagParameterFloat>(lyrics->getDX()).release());
  if (lyrics->getDY()) {
    setDY(nullptr);
    ypos = CopyOfKind<TagParameterFloat>(lyrics->getDY());
  }
  if (lyrics->getColor()) setColor(lyrics->getColor()->getValue());
  if (lyrics->getTPFAttrib()) setFAttrib(lyrics->getTPFAttrib());
  if (lyrics->getTPFont()) setFont(lyrics->getTPFont());
  if (lyrics->getTPFSize()) setFSize(lyrics->getTPFSize());
  if (lyrics->getTPTextFormat()) setTextformat(lyrics->getTPTextFormat());
}
