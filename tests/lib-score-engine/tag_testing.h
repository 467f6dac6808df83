#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "given_parameters.h"

namespace EngineTesting {

// The object's RMN debug text.
inline std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

// Hands the parameters to the tag as the factory does; returns the warnings written meanwhile.
inline std::string Read(ARMTParameter& tag, Given given = Given()) {
  testing::internal::CaptureStderr();
  tag.setTagParameterList(given.list());
  std::string warnings = testing::internal::GetCapturedStderr();
  EXPECT_EQ(given.list().GetCount(), 0) << "the given parameters are always consumed";
  return warnings;
}

}  // namespace EngineTesting
