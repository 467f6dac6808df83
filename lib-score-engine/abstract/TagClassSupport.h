#pragma once

#include <cstring>
#include <iostream>
#include <memory>

#include "ARMTParameter.h"
#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterString.h"

// What the tag classes share: taking a parameter out of a matched list when it is of the kind the
// field holds, copying one of the right kind, the end tag of a "...Begin" form and the debug dump.

namespace TagParameterTaking {

inline bool IsOfKind(TagParameter const& p, TagParameterString const*) {
  return p.isString();
}
inline bool IsOfKind(TagParameter const& p, TagParameterInt const*) {
  return p.isInt();
}
inline bool IsOfKind(TagParameter const& p, TagParameterFloat const*) {
  return p.isFloat();
}

}  // namespace TagParameterTaking

// The parameter at index of a matched list, handed over when it is of kind Parameter; one of any
// other kind is deleted and null is returned.
template <class Parameter>
std::unique_ptr<Parameter> TakeOfKind(TagParameterList& own, int index) {
  std::unique_ptr<TagParameter> parameter(ARMTParameter::TakeParameterAt(own, index));
  if (!parameter ||
      !TagParameterTaking::IsOfKind(*parameter, static_cast<Parameter const*>(nullptr)))
    return nullptr;
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(parameter.release()));
}

// A copy of source when it is of kind Parameter, else null.
template <class Parameter>
std::unique_ptr<Parameter> CopyOfKind(TagParameter const* source) {
  if (!source) return nullptr;
  std::unique_ptr<TagParameter> copy(source->getCopy());
  if (!TagParameterTaking::IsOfKind(*copy, static_cast<Parameter const*>(nullptr))) return nullptr;
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(copy.release()));
}

// The parameter only when the text gave it; an unset one is dropped.
template <class Parameter>
std::unique_ptr<Parameter> OnlyIfSet(std::unique_ptr<Parameter> parameter) {
  if (!ARMTParameter::IsSet(parameter.get())) parameter.reset();
  return parameter;
}

// A float parameter holding value with unit ("" for a plain number), as if the engine made it.
inline std::unique_ptr<TagParameterFloat> MakeFloat(float value, char const* unit) {
  auto parameter = std::make_unique<TagParameterFloat>(0.0f);
  parameter->reset(value, unit);
  return parameter;
}

// The debug dump of a tag: its RMN text on a line of its own.
inline void PrintTagLine(ARMusicalTag const& tag) {
  tag.operator<<(std::cout);
  std::cout << std::endl;
}

// True when a tag opened by its "Begin" form (no range) meets its end tag.
inline bool IsBeginFormEnd(bool hasRange, char const* text, char const* endTag) {
  return !hasRange && text && std::strcmp(text, endTag) == 0;
}

// Takes the last parameter off a matched list, of kind Parameter or null (deleted) when it is of
// another kind or the list is empty.
template <class Parameter>
std::unique_ptr<Parameter> TakeTailOfKind(TagParameterList& bound) {
  void* pos = bound.GetTailPosition();
  if (!pos) return nullptr;
  std::unique_ptr<TagParameter> parameter(bound.GetAt(pos));
  bound.KF_List<TagParameter*>::RemoveElementAt(pos);
  if (!parameter ||
      !TagParameterTaking::IsOfKind(*parameter, static_cast<Parameter const*>(nullptr)))
    return nullptr;
  return std::unique_ptr<Parameter>(static_cast<Parameter*>(parameter.release()));
}
