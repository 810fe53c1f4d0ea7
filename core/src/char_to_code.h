// The single-pass engine that turns characters into codes: one walk over the
// characters, each looked up once. A character with a code becomes its four
// digits and a space; everything else is copied as it stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "lookup.h"
#include "text_form.h"
#include "writer.h"

namespace yishu::detail {

// Index of the first byte >= 0x80 in p[from..n), or n.
inline std::size_t SkipAscii(const char* p, std::size_t from, std::size_t n) {
  std::size_t i = from;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080ull) break;
  }
  while (i < n && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

// Length of the well-formed UTF-8 sequence at p[i..n): 1..4, 0 if the bytes
// there can never form one, or -1 if they are a valid beginning cut off at n.
inline int Utf8SequenceLength(const unsigned char* p, std::size_t i, std::size_t n) {
  const unsigned b = p[i];
  if (b < 0x80) return 1;
  int len;
  unsigned lo = 0x80, hi = 0xBF;  // allowed range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3;
    if (b == 0xE0) lo = 0xA0;  // no overlong forms
    if (b == 0xED) hi = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4;
    if (b == 0xF0) lo = 0x90;
    if (b == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  for (int k = 1; k < len; ++k) {
    if (i + k >= n) return -1;
    const unsigned c = p[i + k];
    if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return 0;
  }
  return len;
}

inline void AppendCode(Writer<char>& out, const Lookup& lookup, std::uint16_t code) {
  out.append(lookup.digits[code], 4);
  out += ' ';
}

inline void AppendCode(Writer<char16_t>& out, const Lookup& lookup, std::uint16_t code) {
  const char* d = lookup.digits[code];
  for (int i = 0; i < 4; ++i) out += static_cast<char16_t>(d[i]);
  out += u' ';
}

template <Form F>
class CharToCodeEngine;

template <>
class CharToCodeEngine<Form::Cp936> {
 public:
  // Converts p[0..n); unless `final`, a lead byte at the very end is left for
  // the caller to feed again. Returns how many bytes were consumed.
  std::size_t Run(const char* p, std::size_t n, bool final, Writer<char>& out) {
    const Lookup& lookup = GetLookup();
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    std::size_t copied = 0, i = 0;
    while ((i = SkipAscii(p, i, n)) < n) {
      if (!IsLeadByte(u[i])) {  // 0x80 and 0xFF stand alone
        ++i;
        continue;
      }
      if (i + 1 == n) {
        if (!final) {
          out.append(p + copied, i - copied);
          return i;
        }
        break;  // a lead byte at the very end stays as it is
      }
      if (const std::uint16_t code = lookup.code_of_cp936[u[i] << 8 | u[i + 1]]) {
        out.append(p + copied, i - copied);
        AppendCode(out, lookup, code);
        copied = i + 2;
      }
      i += 2;
    }
    out.append(p + copied, n - copied);
    return n;
  }
};

template <>
class CharToCodeEngine<Form::Utf8> {
 public:
  // Converts p[0..n); unless `final`, a character cut off at the end is left
  // for the caller to feed again. Invalid bytes are copied one by one.
  std::size_t Run(const char* p, std::size_t n, bool final, Writer<char>& out) {
    const Lookup& lookup = GetLookup();
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    std::size_t copied = 0, i = 0;
    while ((i = SkipAscii(p, i, n)) < n) {
      const int len = Utf8SequenceLength(u, i, n);
      if (len < 0 && !final) {
        out.append(p + copied, i - copied);
        return i;
      }
      if (len <= 0) {
        ++i;
        continue;
      }
      char32_t cp;
      if (len == 2) {
        cp = (u[i] & 0x1Fu) << 6 | (u[i + 1] & 0x3Fu);
      } else if (len == 3) {
        cp = (u[i] & 0x0Fu) << 12 | (u[i + 1] & 0x3Fu) << 6 | (u[i + 2] & 0x3Fu);
      } else {
        i += len;  // outside the BMP: no code
        continue;
      }
      if (const std::uint16_t code = lookup.code_of_unicode[cp]) {
        out.append(p + copied, i - copied);
        AppendCode(out, lookup, code);
        copied = i + len;
      }
      i += len;
    }
    out.append(p + copied, n - copied);
    return n;
  }
};

template <>
class CharToCodeEngine<Form::Utf16> {
 public:
  // Surrogates, paired or not, have no code, so every unit stands alone.
  std::size_t Run(const char16_t* p, std::size_t n, bool /*final*/, Writer<char16_t>& out) {
    const Lookup& lookup = GetLookup();
    std::size_t copied = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (p[i] < 0x80) continue;
      if (const std::uint16_t code = lookup.code_of_unicode[p[i]]) {
        out.append(p + copied, i - copied);
        AppendCode(out, lookup, code);
        copied = i + 1;
      }
    }
    out.append(p + copied, n - copied);
    return n;
  }
};

}  // namespace yishu::detail
