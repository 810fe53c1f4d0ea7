// Finding digits and codes in bytes, shared by the engines and telecode's
// GB18030 writer, which looks for codes before the core does.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "yishu/internal/simd.h"

namespace yishu::detail {

// Index of the first unit in p[from..n) that may begin a digit: an ASCII
// digit or the lead unit of a full-width digit; n if there is none.
inline std::size_t FindDigitOr(const char* p, std::size_t from, std::size_t n, unsigned char lead) {
  std::size_t i = from;
#if YISHU_SSE2
  // Sixteen bytes at a time where every x86-64 processor can.
  const __m128i zero = _mm_set1_epi8('0'), nine = _mm_set1_epi8(9),
                lead_bytes = _mm_set1_epi8(static_cast<char>(lead));
  for (; i + 16 <= n; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i d = _mm_sub_epi8(v, zero);  // digits become 0..9
    const __m128i digit = _mm_cmpeq_epi8(_mm_min_epu8(d, nine), d);
    const int hits = _mm_movemask_epi8(_mm_or_si128(digit, _mm_cmpeq_epi8(v, lead_bytes)));
    if (hits != 0)
      return i + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(hits)));
  }
#endif
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = kOnes * 0x80;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    const std::uint64_t x = w ^ (kOnes * 0x30);  // digits become 0x00..0x09
    const std::uint64_t y = w ^ (kOnes * lead);  // the lead byte becomes 0x00
    if ((((x - kOnes * 10) & ~x) | ((y - kOnes) & ~y)) & kHigh) break;
  }
  for (; i < n; ++i) {
    const auto b = static_cast<unsigned char>(p[i]);
    if ((p[i] >= '0' && p[i] <= '9') || b == lead) return i;
  }
  return n;
}

#if YISHU_SSE2
// Whether three codes with their spaces, as in "0022 2429 0001 ", fill the
// first 15 of the 16 bytes at p.
inline bool ThreeSpacedCodesAt(const char* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
  const int digits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
  const int spaces = _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')));
  return (digits & 0x7FFF) == 0x3DEF && (spaces & 0x7FFF) == 0x4210;
}
#endif

}  // namespace yishu::detail
