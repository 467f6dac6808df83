#pragma once

#include <memory>
#include <type_traits>

#include "ARMTParameter.h"
#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"
#include "src/common/assertion.h"

// Typed access to the parameters a template match hands back, and copies of held ones.

// True when parameter is of the kind the class Parameter stands for.
template <class Parameter>
bool IsOfKind(TagParameter const& parameter) {
  if constexpr (std::is_same_v<Parameter, TagParameterString>)
    return parameter.isString();
  else if constexpr (std::is_same_v<Parameter, TagParameterInt>)
    return parameter.isInt();
  else {
    static_assert(std::is_same_v<Parameter, TagParameterFloat>);
    return parameter.isFloat();
  }
}

// The parameter at index, where the class's single template fixes its kind, so the cast holds for
// any text.
template <class Parameter>
Parameter& BoundAt(TagParameterList const& own, int index) {
  TagParameter* parameter = ARMTParameter::ParameterAt(own, index);
  MELVARIN_ASSERT(parameter != nullptr);
  return static_cast<Parameter&>(*parameter);
}

// Takes the parameter at index over, given or at its template default; as with BoundAt, the
// template fixes its kind.
template <class Parameter>
std::unique_ptr<Parameter> TakeBound(TagParameterList& own, int index) {
  TagParameter* parameter = ARMTParameter::TakeParameterAt(own, index);
  MELVARIN_ASSERT(parameter != nullptr);
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(parameter));
}

// Takes the parameter at index over when it is of kind Parameter, which templates of different
// kinds at one index leave open; null otherwise, and the parameter stays with the list.
template <class Parameter>
std::unique_ptr<Parameter> TakeOfKind(TagParameterList& bound, int index) {
  TagParameter* parameter = ARMTParameter::ParameterAt(bound, index);
  if (!parameter || !IsOfKind<Parameter>(*parameter)) return nullptr;
  return std::unique_ptr<Parameter>(
      static_cast<Parameter*>(ARMTParameter::TakeParameterAt(bound, index)));
}

// Takes the last parameter off a matched list, of kind Parameter or null (deleted) when it is of
// another kind or the list is empty.
template <class Parameter>
std::unique_ptr<Parameter> TakeTailOfKind(TagParameterList& bound) {
  void* pos = bound.GetTailPosition();
  if (!pos) return nullptr;
  std::unique_ptr<TagParameter> parameter(bound.GetAt(pos));
  bound.KF_List<TagParameter*>::RemoveElementAt(pos);
  if (!parameter || !IsOfKind<Parameter>(*parameter)) return nullptr;
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(parameter.release()));
}

// The parameter only when the text gave it: a template default is dropped.
template <class Parameter>
std::unique_ptr<Parameter> OnlyIfSet(std::unique_ptr<Parameter> parameter) {
  if (!ARMTParameter::IsSet(parameter.get())) parameter.reset();
  return parameter;
}

// A copy of source when it is of kind Parameter, else null; for a tag made as a copy.
template <class Parameter>
std::unique_ptr<Parameter> CopyOfKind(TagParameter const* source) {
  if (!source) return nullptr;
  std::unique_ptr<TagParameter> copy(source->getCopy());
  if (!IsOfKind<Parameter>(*copy)) return nullptr;
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(copy.release()));
}

// A float parameter holding value with unit ("" for a plain number), as if the engine made it.
inline std::unique_ptr<TagParameterFloat> MakeFloat(float value, char const* unit) {
  auto parameter = std::make_unique<TagParameterFloat>(0.0f);
  parameter->reset(value, unit);
  return parameter;
}
