#pragma once

#include <memory>

#include "ARMTParameter.h"

// The parameter at index of a bound list, taken out of it for a tag to keep, when it is of the
// kind the tag holds; null otherwise. It may hold its template default.
template <class Parameter>
std::unique_ptr<Parameter> TakeBoundParameter(TagParameterList& bound, int index,
                                              bool (TagParameter::*isKind)() const) {
  TagParameter* parameter = ARMTParameter::ParameterAt(bound, index);
  if (!parameter || !(parameter->*isKind)()) return nullptr;
  return std::unique_ptr<Parameter>(
      static_cast<Parameter*>(ARMTParameter::TakeParameterAt(bound, index)));
}

// The same, only when the text gave the parameter.
template <class Parameter>
std::unique_ptr<Parameter> TakeGivenParameter(TagParameterList& bound, int index,
                                              bool (TagParameter::*isKind)() const) {
  if (!ARMTParameter::IsSet(ARMTParameter::ParameterAt(bound, index))) return nullptr;
  return TakeBoundParameter<Parameter>(bound, index, isKind);
}
