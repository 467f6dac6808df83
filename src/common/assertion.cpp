#include "src/common/assertion.h"

#include <cstdio>
#include <cstdlib>

namespace Melvarin {

void AssertionFailed(const char* file, const char* function, int line,
                     const char* expression) noexcept {
  std::fprintf(stderr, "Assertion failed: %s, function %s, file %s, line %d.\n", expression,
               function, file, line);
  std::fflush(stderr);
  std::abort();
}

}  // namespace Melvarin
