#pragma once

namespace Testing {

// Qt's libraries are not built with ThreadSanitizer, so it cannot see how Qt's thread pool,
// futures, queued calls and network threads hand data from one thread to another, and it
// reports every such handoff as a race. Tests that run real HTTP, or paint with the raster
// engine's helper threads, skip under it.
#if defined(__SANITIZE_THREAD__)
inline constexpr bool UnderThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool UnderThreadSanitizer = true;
#else
inline constexpr bool UnderThreadSanitizer = false;
#endif
#else
inline constexpr bool UnderThreadSanitizer = false;
#endif

// AddressSanitizer keeps freed memory in quarantine and adds its shadow to every allocation, so
// resident memory says little there, and everything runs a few times slower.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool UnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool UnderAddressSanitizer = true;
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif
#else
inline constexpr bool UnderAddressSanitizer = false;
#endif

}  // namespace Testing
