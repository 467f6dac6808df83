#pragma once

// The draws question generation takes from the C library generator (seeded once at start-up),
// in the arithmetic the generated questions depend on: the same seed must give the same
// questions, so these are the only places that turn rand() into choices.

#include <cstdint>

namespace Core {

// floor(r * n / 2147483647) for a fresh draw r, taken as n - 1 when it reaches n (r at the top of
// the generator's range). n must be at least 1.
unsigned long DrawIndexBelow(unsigned long n);

// One of the six answer-variant positions: a fresh draw modulo 6.
unsigned int DrawVariantPosition();

// A 32-bit number whose bytes, lowest first, are four successive draws modulo 256.
std::uint32_t DrawWord32();

}  // namespace Core
