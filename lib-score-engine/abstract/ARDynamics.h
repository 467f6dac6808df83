#pragma once

#include <string>

#include "ARMTParameter.h"
#include "ARPositionTag.h"

// What crescendo and diminuendo hairpins share: a marking text and a value.
class ARDynamics : public ARMTParameter, public ARPositionTag {
 public:
  ARDynamics() { rangeSetting = ONLYRANGE; }

  void print() const override;
  void setTagParameterList(TagParameterList& given) override;

  std::string const& getText() const { return text; }
  float getValue() const { return value; }

 private:
  float value = -1.0f;
  std::string text;

  static inline ListOfTPLs sTemplates{1};
};
