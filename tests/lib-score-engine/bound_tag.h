#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "ARMTParameter.h"
#include "given_parameters.h"

namespace EngineTesting {

// What a tag wrote while it took its parameters: warnings on standard error, parse errors on
// standard output.
struct Reports {
  std::string warnings;
  std::string errors;
};

// Hands the given parameters to the tag as the factory does and keeps what it reported. The
// tag always consumes them.
inline Reports Bind(ARMTParameter& tag, Given given) {
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  tag.setTagParameterList(given.list());
  Reports reports;
  reports.errors = testing::internal::GetCapturedStdout();
  reports.warnings = testing::internal::GetCapturedStderr();
  EXPECT_EQ(given.list().GetCount(), 0);
  return reports;
}

// The object's RMN debug output.
inline std::string Rmn(ARMusicalObject const& object) {
  std::ostringstream os;
  os << object;
  return os.str();
}

}  // namespace EngineTesting
