#pragma once

#include <initializer_list>
#include <memory>
#include <span>

#include "ARMusicalTag.h"

// A tag class with parameters. Each class keeps one list of parsed templates for the whole run,
// built from its template strings on the first setTagParameterList, and binds what the text gave
// to the first template that fits.
class ARMTParameter : public ARMusicalTag {
 public:
  using ARMusicalTag::ARMusicalTag;

  // Takes what it needs from the parameters the text gave; always leaves the list empty.
  virtual void setTagParameterList(TagParameterList& given) = 0;
  virtual TagParameterList* getTagParameterList() const { return nullptr; }

  // The parameter at index in list, or null past its end.
  static TagParameter* ParameterAt(TagParameterList const& list, int index);
  // Hands the parameter at index to the caller, leaving an empty slot so later indexes stay put.
  static TagParameter* TakeParameterAt(TagParameterList& list, int index);
  // The parsed templates a tag binds its parameters to, common parameters included, found by
  // binding nothing to it, as for a tag written without parameters; null for a tag that binds
  // no template.
  static ListOfTPLs const* TemplatesOf(ARMTParameter& tag);
  // True when the text gave the parameter, by name or by position.
  static bool IsSet(TagParameter const* parameter) {
    return parameter && parameter->mState != TagParameter::NOTSET;
  }

 protected:
  // What every setTagParameterList does: parses strings into ltpls on the first call, binds
  // given to the first template that fits and empties given. Returns that template's index with
  // the class's own parameters in own (given values bound, the rest at their defaults), or -1
  // with own null.
  int BindTagParameters(ListOfTPLs& ltpls, std::span<char const* const> strings,
                        TagParameterList& given, std::unique_ptr<TagParameterList>& own);
  int BindTagParameters(ListOfTPLs& ltpls, std::initializer_list<char const*> strings,
                        TagParameterList& given, std::unique_ptr<TagParameterList>& own) {
    return BindTagParameters(ltpls, std::span(strings.begin(), strings.size()), given, own);
  }
};
