#include "lib-razid-qt/glyph_blend.h"

#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "src/common/assertion.h"

namespace RazidQt {
namespace {

// Each 8-bit channel of the pixel times alpha / 255, rounded as the raster engine rounds:
// (c * a + (c * a >> 8) + 128) >> 8, for all four channels at once in two 16-bit lanes each.
inline quint32 ChannelsTimes(quint32 pixel, quint32 alpha) {
  std::uint64_t lanes =
      ((std::uint64_t(pixel) | (std::uint64_t(pixel) << 24)) & 0x00ff00ff00ff00ffULL) * alpha;
  lanes = (lanes + ((lanes >> 8) & 0x00ff00ff00ff00ffULL) + 0x0080008000800080ULL) >> 8;
  lanes &= 0x00ff00ff00ff00ffULL;
  return quint32(lanes) | quint32(lanes >> 24);
}

#if defined(__SSE2__)
// Four pixels at once, to the same rounding: the target's channels widened to 16 bits, each times
// 255 minus its source pixel's alpha, divided by 255 as above, and the source added.
inline __m128i FourOver(__m128i source, __m128i target) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i half = _mm_set1_epi16(0x80);
  // 255 - alpha in the alpha byte's place of each pixel, then spread over its four channels.
  __m128i rest = _mm_srli_epi32(_mm_xor_si128(source, _mm_set1_epi32(-1)), 24);
  rest = _mm_or_si128(rest, _mm_slli_epi32(rest, 16));
  auto times = [&](__m128i channels, __m128i alphas) {
    channels = _mm_mullo_epi16(channels, alphas);
    channels = _mm_add_epi16(channels, _mm_add_epi16(_mm_srli_epi16(channels, 8), half));
    return _mm_srli_epi16(channels, 8);
  };
  const __m128i low = times(_mm_unpacklo_epi8(target, zero), _mm_unpacklo_epi32(rest, rest));
  const __m128i high = times(_mm_unpackhi_epi8(target, zero), _mm_unpackhi_epi32(rest, rest));
  return _mm_add_epi8(source, _mm_packus_epi16(low, high));
}
#endif

}  // namespace

void BlendOver(const RasterPixels& target, QPoint topLeft, const QImage& image) {
  MELVARIN_ASSERT(image.format() == QImage::Format_ARGB32_Premultiplied);
  const QRect covered = QRect(topLeft, image.size()) & target.bounds;
  if (covered.isEmpty()) return;
  const int first = covered.left() - topLeft.x();
  const int width = covered.width();
  uchar const* sourceRow = image.constBits() + (covered.top() - topLeft.y()) * image.bytesPerLine();
  uchar* targetRow = target.bits + covered.top() * target.bytesPerLine;
#if defined(__SSE2__)
  // Each row of a symbol lies in other lines of memory, rarely still cached on a page this large:
  // all of them are asked for at once rather than one row after the other.
  for (int y = 0; y < covered.height(); ++y) {
    char const* row = reinterpret_cast<char const*>(targetRow + y * target.bytesPerLine);
    _mm_prefetch(row + covered.left() * 4, _MM_HINT_T0);
    _mm_prefetch(row + covered.right() * 4, _MM_HINT_T0);
  }
#endif
  for (int y = covered.top(); y <= covered.bottom(); ++y) {
    auto const* from = reinterpret_cast<quint32 const*>(sourceRow) + first;
    auto* to = reinterpret_cast<quint32*>(targetRow) + covered.left();
    // Without branches on the pixels: a transparent source pixel keeps the target's (c * 255
    // rounds back to c) and an opaque one replaces it (c * 0 is 0).
    int x = 0;
#if defined(__SSE2__)
    for (; x + 4 <= width; x += 4) {
      const __m128i source = _mm_loadu_si128(reinterpret_cast<__m128i const*>(from + x));
      auto* at = reinterpret_cast<__m128i*>(to + x);
      _mm_storeu_si128(at, FourOver(source, _mm_loadu_si128(at)));
    }
#endif
    for (; x < width; ++x) to[x] = from[x] + ChannelsTimes(to[x], 255 - (from[x] >> 24));
    sourceRow += image.bytesPerLine();
    targetRow += target.bytesPerLine;
  }
}

}  // namespace RazidQt
