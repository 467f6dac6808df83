#pragma once

#include "TagParameterFloat.h"
#include "TagParameterInt.h"
#include "TagParameterList.h"
#include "TagParameterString.h"

namespace EngineTesting {

// A tag's parameters as the factory hands them over, in text order: a string, an int or a float
// parameter for each value, then its unit and its name when the text gives them (a parameter
// without a name was given by position).
class Given {
 public:
  Given() = default;
  // A copy of each parameter, so a case table can hold its own.
  Given(Given const& other) {
    for (void* pos = other.mList.GetHeadPosition(); pos;)
      mList.AddTail(other.mList.GetNext(pos)->getCopy());
  }

  Given& Text(char const* value, char const* name = "") {
    return Add(new TagParameterString(value), name);
  }
  Given& Int(int value, char const* name = "") { return Add(new TagParameterInt(value), name); }
  Given& Float(float value, char const* name = "", char const* unit = nullptr) {
    auto* parameter = new TagParameterFloat(value);
    if (unit) parameter->setUnit(unit);
    return Add(parameter, name);
  }
  TagParameterList const& list() const { return mList; }
  TagParameterList& list() { return mList; }

 private:
  Given& Add(TagParameter* parameter, char const* name) {
    parameter->mName = name;
    mList.AddTail(parameter);
    return *this;
  }
  TagParameterList mList{1};
};

}  // namespace EngineTesting
