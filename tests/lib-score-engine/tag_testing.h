#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "given_parameters.h"

namespace EngineTesting {

// The RMN text a tag writes of itself.
inline std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

// Hands the parameters to tag as the factory does and returns the warnings written meanwhile.
inline std::string Apply(ARMTParameter& tag, Given given) {
  testing::internal::CaptureStderr();
  tag.setTagParameterList(given.list());
  std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_EQ(given.list().GetCount(), 0) << "the given parameters are always consumed";
  return warnings;
}

// A parameter's value in layout units, at a line space of 50; -1000 when absent.
inline float Units(TagParameterFloat const* parameter) {
  return parameter ? parameter->getValue(50) : -1000.0f;
}

}  // namespace EngineTesting
