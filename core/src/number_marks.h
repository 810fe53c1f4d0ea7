// Reading codes as written, four digits right next to a letter, a currency
// sign or 年月日號号 may well be a number and not a code: HK$1999, Tel2345,
// 1949年. Such runs still convert, and the Report lists them for checking.
// Here: which characters those are, and the character on each side of a run.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text_form.h"
#include "text_scan.h"
#include "yishu/internal/unicode.h"

namespace yishu::detail {

inline bool IsNumberMark(char32_t c) {
  if (c < 0x80) return c == '$' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
  return (c >= 0xA2 && c <= 0xA5) ||      // ¢ £ ¤ ¥
         (c >= 0x20A0 && c <= 0x20C0) ||  // € and the other signs
         c == 0xFF04 || (c >= 0xFFE0 && c <= 0xFFE1) || c == 0xFFE5 || c == 0xFFE6 ||  // ＄￠￡￥￦
         (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) ||  // full-width letters
         c == U'年' || c == U'月' || c == U'日' || c == U'號' || c == U'号';
}

// The code point of CP936 bytes that form a mark, or 0 for any other pair.
inline char32_t Cp936Mark(unsigned char lead, unsigned char trail) {
  switch (lead << 8 | trail) {
    case 0xC4EA:
      return U'年';
    case 0xD4C2:
      return U'月';
    case 0xC8D5:
      return U'日';
    case 0xCC96:
      return U'號';
    case 0xBAC5:
      return U'号';
    case 0xA1E7:
      return U'＄';
    case 0xA1E8:
      return U'¤';
    case 0xA1E9:
      return U'￠';
    case 0xA1EA:
      return U'￡';
    case 0xA3A4:
      return U'￥';
    default:
      break;
  }
  if (lead == 0xA3 && ((trail >= 0xC1 && trail <= 0xDA) || (trail >= 0xE1 && trail <= 0xFA))) {
    return 0xFF21 + (trail - 0xC1);  // Ａ-Ｚ, ａ-ｚ
  }
  return 0;
}

// The character that ends right before a run at p[q] (q > 0), where p[0]
// begins a character. Where it is no mark, `start` may be only q - 1.
struct Neighbour {
  char32_t c;         // 0: none that could be a mark
  std::size_t start;  // where it begins
};

template <Form F>
Neighbour CharBefore(const typename TextForm<F>::Unit* p, std::size_t q) {
  if constexpr (F == Form::Utf16) {
    return {p[q - 1], q - 1};
  } else if constexpr (F == Form::Utf8) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    if (bytes[q - 1] < 0x80) return {bytes[q - 1], q - 1};
    std::size_t i = q - 1;
    while (i > 0 && q - i < 4 && (bytes[i] & 0xC0) == 0x80) --i;
    const int length = Utf8SequenceLength(bytes + i, q - i);
    if (length <= 0 || i + static_cast<std::size_t>(length) != q) return {0, q - 1};
    return {DecodeUtf8(bytes + i, length), i};
  } else {
    // Where a character begins takes a walk back: only for bytes that may be
    // a mark.
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    const unsigned char last = bytes[q - 1];
    const bool pair_mark = q >= 2 && Cp936Mark(bytes[q - 2], last) != 0;
    const bool ascii_mark = last < 0x80 && IsNumberMark(last);
    if (!pair_mark && !ascii_mark) return {0, q - 1};
    if (q >= 2 && IsLeadByte(bytes[q - 2]) && BeginsCharacter(p, 0, q - 2)) {
      return {Cp936Mark(bytes[q - 2], last), q - 2};
    }
    return {ascii_mark ? last : 0u, q - 1};
  }
}

// The character at p[e], which begins one, where e < n; 0 if it is none
// that could be a mark or is cut off by n.
template <Form F>
char32_t CharAt(const typename TextForm<F>::Unit* p, std::size_t e, std::size_t n) {
  if constexpr (F == Form::Utf16) {
    return p[e];
  } else if constexpr (F == Form::Utf8) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    const int length = Utf8SequenceLength(bytes + e, n - e);
    return length > 0 ? DecodeUtf8(bytes + e, length) : 0;
  } else {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    if (bytes[e] < 0x80) return bytes[e];
    return IsLeadByte(bytes[e]) && e + 1 < n ? Cp936Mark(bytes[e], bytes[e + 1]) : 0;
  }
}

// Whether the end of the units, n, cuts off a UTF-8 character at p[e]:
// what follows a run is known only once it is whole.
template <Form F>
bool CutAt(const typename TextForm<F>::Unit* p, std::size_t e, std::size_t n) {
  if constexpr (F == Form::Utf8) {
    return e < n && Utf8SequenceLength(reinterpret_cast<const unsigned char*>(p) + e, n - e) < 0;
  } else {
    return false;
  }
}

// Where a pass over p[0..n) (n > 0) that is not the last must stop so that
// the next one sees what stands before its first run: before a mark at the
// end, or a UTF-8 character that the end cuts off; else n.
template <Form F>
std::size_t TailBeforeNextPiece(const typename TextForm<F>::Unit* p, std::size_t n) {
  if constexpr (F == Form::Utf8) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(p);
    std::size_t i = n - 1;
    while (i > 0 && n - i < 4 && (bytes[i] & 0xC0) == 0x80) --i;
    if (Utf8SequenceLength(bytes + i, n - i) < 0) return i;
  }
  const Neighbour last = CharBefore<F>(p, n);
  return IsNumberMark(last.c) ? last.start : n;
}

}  // namespace yishu::detail
