// Scanning text for where conversion may happen, shared by the engines that
// turn codes into characters: digits, and in CP936 where characters begin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text_form.h"
#include "writer.h"
#include "yishu/internal/simd.h"

namespace yishu::detail {

// Index of the first ASCII digit in p[from..n), or n.
inline std::size_t FindDigit(const char* p, std::size_t from, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  std::size_t i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    // Bytes 0x30..0x39 become 0x00..0x09; look for any byte below 10.
    const std::uint64_t x = w ^ (kOnes * 0x30);
    if (((x - kOnes * 10) & ~x & (kOnes * 0x80)) != 0) break;
  }
  for (; i < n; ++i) {
    if (IsDigit(p[i])) return i;
  }
  return n;
}

inline std::size_t FindDigit(const char16_t* p, std::size_t from, std::size_t n) {
  std::size_t i = from;
#if YISHU_SSE2
  // Signed comparisons: units from 0x8000 count as negative, below '0'.
  const __m128i below = _mm_set1_epi16('0' - 1), above = _mm_set1_epi16('9' + 1);
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i digit = _mm_and_si128(_mm_cmpgt_epi16(v, below), _mm_cmplt_epi16(v, above));
    if (_mm_movemask_epi8(digit) != 0) break;
  }
#endif
  for (; i < n; ++i) {
    if (IsDigit(p[i])) return i;
  }
  return n;
}

// In CP936, whether a character begins at q, given that one begins at `known`.
// Bytes in 0x81..0xFE pair up from the last byte outside that range (after
// which a character always begins), so the parity of their run decides.
inline bool BeginsCharacter(const char* p, std::size_t known, std::size_t q) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull, kHigh = kOnes * 0x80;
  const auto has_zero = [](std::uint64_t v) { return ((v - kOnes) & ~v & kHigh) != 0; };
  std::size_t i = q;
  // Chinese text is all lead and trail bytes: step back eight at a time
  // while every byte is one of 0x81..0xFE.
  while (i >= known + 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i - 8, 8);
    if ((w & kHigh) != kHigh || has_zero(w ^ kHigh) || has_zero(~w)) break;
    i -= 8;
  }
  while (i > known && IsLeadByte(static_cast<unsigned char>(p[i - 1]))) --i;
  return (q - i) % 2 == 0;
}

// Ends a pass over p[0..n): copies what is left after `copied` and returns
// how many units were consumed. Unless `final`, a CP936 lead byte at the end
// whose trail byte is still to come is left for the next pass.
template <Form F, class Unit>
inline std::size_t CopyRest(const Unit* p, std::size_t pos, std::size_t copied, std::size_t n,
                            bool final, Writer<Unit>& out) {
  std::size_t end = n;
  if constexpr (F == Form::Cp936) {
    if (!final && n > pos && IsLeadByte(static_cast<unsigned char>(p[n - 1])) &&
        BeginsCharacter(p, pos, n - 1)) {
      end = n - 1;
    }
  }
  out.append(p + copied, end - copied);
  return end;
}

}  // namespace yishu::detail
