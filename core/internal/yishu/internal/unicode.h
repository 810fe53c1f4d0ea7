// Unicode as yishu reads and writes it, for the engine, telecode and the web
// page: one set of rules for what a well-formed UTF-8 sequence is (no
// overlong forms, no surrogates, nothing above U+10FFFF), one decoder and one
// encoder of UTF-8, and one of surrogate pairs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "yishu/internal/simd.h"

namespace yishu::detail {

// The length of the well-formed sequence that starts at p[0], given that
// `available` (at least 1) bytes stand there:
//   1..4  a sequence of that many bytes (1 for ASCII);
//   0     the bytes there can never begin one: p[0] is invalid on its own;
//   -1    a valid beginning that the end of the bytes cuts off.
inline int Utf8SequenceLength(const unsigned char* p, std::size_t available) {
  const unsigned b = p[0];
  if (b < 0x80) return 1;
  int length;
  unsigned lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (int k = 1; k < length; ++k) {
    if (static_cast<std::size_t>(k) >= available) return -1;
    const unsigned c = p[k];
    if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return length;
}

// Most Chinese characters take three bytes. Given three bytes as the low
// bytes of a word, first byte lowest (the rest of the word is ignored):
// whether they are a sequence with a lead that allows any continuation bytes
// (E1..EF but ED, which would reach the surrogates; E0 has overlong forms),
// and the code point of any well-formed three-byte sequence.
inline bool IsThreeByteSequenceWithFreeLead(std::uint32_t w) {
  const unsigned lead = w & 0xFF;
  return (w & 0xC0C000) == 0x808000 && lead - 0xE1 <= 0xEF - 0xE1 && lead != 0xED;
}
inline char32_t DecodeThreeBytes(std::uint32_t w) {
  return (w & 0x0F) << 12 | (w >> 2 & 0xFC0) | (w >> 16 & 0x3F);
}
inline std::uint32_t ThreeBytesAt(const unsigned char* p) {
  return p[0] | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16;
}

// The code point of the well-formed sequence of `length` bytes at p.
inline char32_t DecodeUtf8(const unsigned char* p, int length) {
  switch (length) {
    case 1:
      return p[0];
    case 2:
      return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    case 3:
      return DecodeThreeBytes(ThreeBytesAt(p));
    default:
      return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  }
}

// Writes the sequence of a code point to `out`, which must have room for
// four bytes; returns how many it wrote.
inline int EncodeUtf8(char32_t cp, char* out) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | cp >> 6);
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    out[0] = static_cast<char>(0xE0 | cp >> 12);
    out[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp & 0x3F));
    return 3;
  }
  out[0] = static_cast<char>(0xF0 | cp >> 18);
  out[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
  out[3] = static_cast<char>(0x80 | (cp & 0x3F));
  return 4;
}

inline bool IsHighSurrogate(char16_t u) { return (u & 0xFC00) == 0xD800; }
inline bool IsLowSurrogate(char16_t u) { return (u & 0xFC00) == 0xDC00; }

inline char32_t FromSurrogates(char16_t high, char16_t low) {
  return 0x10000 + ((high - 0xD800u) << 10) + (low - 0xDC00u);
}

// Writes the UTF-16 units of a code point to `out`, which must have room for
// two; returns how many it wrote.
inline int EncodeUtf16(char32_t cp, char16_t* out) {
  if (cp < 0x10000) {
    out[0] = static_cast<char16_t>(cp);
    return 1;
  }
  out[0] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
  out[1] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  return 2;
}

// Checks 16 bytes at a time from `i` up to the first block that may hold an
// invalid sequence, and returns where it stopped (i itself where it cannot
// look). Bytes before `i` must be valid and no sequence open at `i`. A
// sequence may run on past the returned position: go on from its lead byte.
//
// A byte is a continuation byte exactly when one of the three before it is a
// lead byte whose sequence reaches it; on top of that come the bytes that are
// never valid and the few leads that narrow the range of their second byte.
inline std::size_t ValidUtf8Blocks(const unsigned char* bytes, std::size_t i, std::size_t size) {
#if YISHU_SSE2
  if (i < 3) return i;  // the three bytes before a block are looked at
  const auto load = [&](std::size_t at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
  };
  const auto at_least = [](__m128i x, unsigned char k) {
    return _mm_cmpeq_epi8(_mm_max_epu8(x, _mm_set1_epi8(static_cast<char>(k))), x);
  };
  const auto equal = [](__m128i x, unsigned char k) {
    return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(k)));
  };
  for (; i + 16 <= size; i += 16) {
    const __m128i byte = load(i), prev1 = load(i - 1);
    // Nothing non-ASCII here and none just before: nothing can be open.
    if (_mm_movemask_epi8(_mm_or_si128(byte, prev1)) == 0) continue;
    const __m128i prev2 = load(i - 2), prev3 = load(i - 3);
    const __m128i continuation = equal(_mm_and_si128(byte, _mm_set1_epi8(char(0xC0))), 0x80);
    const __m128i expected = _mm_or_si128(
        _mm_or_si128(at_least(prev1, 0xC0), at_least(prev2, 0xE0)), at_least(prev3, 0xF0));
    __m128i error = _mm_xor_si128(continuation, expected);
    error = _mm_or_si128(error, equal(_mm_and_si128(byte, _mm_set1_epi8(char(0xFE))), 0xC0));
    error = _mm_or_si128(error, at_least(byte, 0xF5));
    const __m128i from_a0 = at_least(byte, 0xA0), from_90 = at_least(byte, 0x90);
    error = _mm_or_si128(error, _mm_andnot_si128(from_a0, equal(prev1, 0xE0)));  // overlong
    error = _mm_or_si128(error, _mm_and_si128(from_a0, equal(prev1, 0xED)));     // surrogate
    error = _mm_or_si128(error, _mm_andnot_si128(from_90, equal(prev1, 0xF0)));  // overlong
    error = _mm_or_si128(error, _mm_and_si128(from_90, equal(prev1, 0xF4)));     // above U+10FFFF
    if (_mm_movemask_epi8(error) != 0) break;
  }
#else
  (void)bytes;
  (void)size;
#endif
  return i;
}

// Whether a code point lies in one of the CJK ideograph blocks.
constexpr bool IsIdeograph(char32_t c) {
  return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x20000 && c <= 0x2A6DF) ||
         (c >= 0x2A700 && c <= 0x2EBEF) || (c >= 0x2F800 && c <= 0x2FA1F) ||
         (c >= 0x30000 && c <= 0x323AF);
}

}  // namespace yishu::detail
