#pragma once

#include "TagParameterFloat.h"

// An integer held in the float value. It is a float parameter too (isFloat is true), so float
// parameters accept it, while an int parameter accepts only ints.
class TagParameterInt : public TagParameterFloat {
 public:
  explicit TagParameterInt(int value);
  TagParameterInt(TagParameterInt const& other) = default;

  TagParameter* getCopy() const override;
  bool copyValue(TagParameter* other) override;
  void setValue(char const* text) override;
  bool isInt() const override { return true; }

  virtual void setValue(int value) { mValue = static_cast<float>(value); }

  // The value truncated towards zero, kept within the int range.
  int getValue() const;
};
