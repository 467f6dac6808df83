#pragma once

// The one precondition check of the code base. It is always on, whatever NDEBUG says: a broken
// precondition ends the process with the source path, the function, the line and the expression
// on standard error, so a failure in the field reads the same as one in a test.

namespace Melvarin {

[[noreturn]] void AssertionFailed(const char* file, const char* function, int line,
                                  const char* expression) noexcept;

}  // namespace Melvarin

#define MELVARIN_ASSERT(expression)                                           \
  do {                                                                        \
    if (!(expression)) [[unlikely]]                                           \
      ::Melvarin::AssertionFailed(__FILE__, __func__, __LINE__, #expression); \
  } while (false)
