#pragma once

#include <string>

namespace EngineTesting {

// The death-test pattern of a failed assertion: expression, function and source file exactly,
// any line number.
inline std::string AssertionPattern(std::string const& expression, std::string const& function,
                                    std::string const& file) {
  std::string text = "Assertion failed: " + expression + ", function " + function +
                     ", file ../../" + file + ", line ";
  std::string pattern;
  for (char c : text) {
    if (std::string("\\.^$|()[]{}*+?").find(c) != std::string::npos) pattern += '\\';
    pattern += c;
  }
  return pattern + "[0-9]+\\.";
}

}  // namespace EngineTesting
