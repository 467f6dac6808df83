#include "src/core/exercise/questions/random_draws.h"

#include <cstdlib>

#include "src/common/assertion.h"

namespace Core {

namespace {

// The generator's range as the question arithmetic assumes it; glibc's RAND_MAX.
constexpr std::uint64_t DrawRange = 2147483647u;

}  // namespace

unsigned long DrawIndexBelow(unsigned long n) {
  MELVARIN_ASSERT(n > 0);
  const auto r = static_cast<std::uint64_t>(std::rand());
  const std::uint64_t index = r * n / DrawRange;
  return index >= n ? n - 1 : static_cast<unsigned long>(index);
}

unsigned int DrawVariantPosition() {
  return static_cast<unsigned int>(std::rand() % 6);
}

std::uint32_t DrawWord32() {
  std::uint32_t word = 0;
  for (int byte = 0; byte < 4; ++byte)
    word |= static_cast<std::uint32_t>(std::rand() % 256) << (8 * byte);
  return word;
}

}  // namespace Core
