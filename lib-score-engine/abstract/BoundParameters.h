#pragma once

#include <memory>

#include "ARMTParameter.h"
#include "src/common/assertion.h"

// Typed access to the class's own parameters that a template match hands back. The class's
// template fixes the kind of every entry, so the casts hold for any text.

// The parameter at index; the template has that entry.
template <class Parameter>
Parameter& BoundAt(TagParameterList const& own, int index) {
  TagParameter* parameter = ARMTParameter::ParameterAt(own, index);
  MELVARIN_ASSERT(parameter != nullptr);
  return static_cast<Parameter&>(*parameter);
}

// Takes the parameter at index over, given or at its template default.
template <class Parameter>
std::unique_ptr<Parameter> TakeBound(TagParameterList& own, int index) {
  TagParameter* parameter = ARMTParameter::TakeParameterAt(own, index);
  MELVARIN_ASSERT(parameter != nullptr);
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(parameter));
}

// Takes the parameter at index over only when the text gave it: template defaults stay behind.
template <class Parameter>
std::unique_ptr<Parameter> TakeBoundIfSet(TagParameterList& own, int index) {
  if (!ARMTParameter::IsSet(ARMTParameter::ParameterAt(own, index))) return nullptr;
  return TakeBound<Parameter>(own, index);
}

// A copy of a held parameter for a tag made as a copy; null stays null.
template <class Parameter>
std::unique_ptr<Parameter> CopyHeld(std::unique_ptr<Parameter> const& held) {
  return held ? std::make_unique<Parameter>(*held) : nullptr;
}
