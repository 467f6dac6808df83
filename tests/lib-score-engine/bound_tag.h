#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "TagParameterFloat.h"
#include "given_parameters.h"

namespace EngineTesting {

// Hands the given parameters to the tag as the factory does and returns the warnings it wrote.
// The tag always consumes them.
inline std::string Bind(ARMTParameter& tag, Given given = Given()) {
  testing::internal::CaptureStderr();
  tag.setTagParameterList(given.list());
  EXPECT_EQ(given.list().GetCount(), 0);
  return testing::internal::GetCapturedStderr();
}

// The object's RMN debug output.
inline std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

// A parameter's value in layout units, at a line space of 50; -1000 when absent.
inline float Units(TagParameterFloat const* parameter) {
  return parameter ? parameter->getValue(50) : -1000.0f;
}

}  // namespace EngineTesting
