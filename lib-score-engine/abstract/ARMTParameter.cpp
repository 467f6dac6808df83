#include "ARMTParameter.h"

namespace {
// The templates of the last binding, for TemplatesOf.
ListOfTPLs const* sLastBound = nullptr;
}  // namespace

int ARMTParameter::BindTagParameters(ListOfTPLs& ltpls, std::span<char const* const> strings,
                                     TagParameterList& given,
                                     std::unique_ptr<TagParameterList>& own) {
  sLastBound = &ltpls;
  if (ltpls.GetCount() == 0) {
    ListOfStrings templates;
    for (char const* text : strings) templates.AddTail(text);
    CreateListOfTPLs(ltpls, templates);
  }
  TagParameterList* bound = nullptr;
  const int index = MatchListOfTPLsWithTPL(ltpls, given, &bound);
  own.reset(bound);
  given.RemoveAll();
  return index;
}

TagParameter* ARMTParameter::ParameterAt(TagParameterList const& list, int index) {
  void* pos = list.GetHeadPosition();
  for (int i = 0; pos && i < index; ++i) list.GetNext(pos);
  return pos ? list.GetAt(pos) : nullptr;
}

TagParameter* ARMTParameter::TakeParameterAt(TagParameterList& list, int index) {
  void* pos = list.GetHeadPosition();
  for (int i = 0; pos && i < index; ++i) list.GetNext(pos);
  if (!pos) return nullptr;
  TagParameter* parameter = list.GetAt(pos);
  list.SetAt(pos, nullptr);
  return parameter;
}

ListOfTPLs const* ARMTParameter::TemplatesOf(ARMTParameter& tag) {
  sLastBound = nullptr;
  TagParameterList nothing(1);
  tag.setTagParameterList(nothing);
  return sLastBound;
}
