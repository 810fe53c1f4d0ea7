// The single-pass engine that turns characters into codes: one walk over the
// characters, each decoded and looked up once. A character with a code
// becomes its four digits and a space; everything else is copied as it
// stands. The forms differ only in how one character is decoded.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "yishu/internal/simd.h"

#include "code_indexes.h"
#include "text_form.h"
#include "writer.h"
#include "yishu/internal/unicode.h"

namespace yishu::detail {

// Index of the first unit >= 0x80 in p[from..n), or n.
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

inline std::size_t SkipAscii(const char16_t* p, std::size_t from, std::size_t n) {
#if YISHU_SSE2
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
  for (; from + 8 <= n; from += 8) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), _mm_setzero_si128())) != 0xFFFF)
      break;
  }
#endif
  while (from < n && p[from] < 0x80) ++from;
  return from;
}

// One character decoded at a position that holds no ASCII: its code (0 if it
// has none) and its length in units. A length of 0 means a character that
// the end of the text cuts off, which more text could complete.
struct Decoded {
  std::uint16_t code;
  std::uint32_t length;
};

template <Form F>
Decoded DecodeChar(const Lookup& lookup, const typename TextForm<F>::Unit* p, std::size_t i,
                   std::size_t n);

// A lead byte 0x81..0xFE forms one character with whatever byte follows it;
// 0x80 and 0xFF stand alone.
template <>
inline Decoded DecodeChar<Form::Cp936>(const Lookup& lookup, const char* p, std::size_t i,
                                       std::size_t n) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  if (!IsLeadByte(u[i])) return {0, 1};
  if (i + 1 == n) return {0, 0};
  return {lookup.code_of_cp936[u[i] << 8 | u[i + 1]], 2};
}

// Invalid bytes stand alone. Characters outside the BMP are looked up only
// where the book (or the variant look-up) has any.
template <>
inline Decoded DecodeChar<Form::Utf8>(const Lookup& lookup, const char* p, std::size_t i,
                                      std::size_t n) {
  const auto* u = reinterpret_cast<const unsigned char*>(p + i);
  if (n - i >= 3) {  // most of the hanzi
    if (const std::uint32_t w = ThreeBytesAt(u); IsThreeByteSequenceWithFreeLead(w)) {
      return {lookup.code_of_unicode[DecodeThreeBytes(w)], 3};
    }
  }
  const int length = Utf8SequenceLength(u, n - i);
  if (length < 0) return {0, 0};
  if (length == 0) return {0, 1};
  if (length == 4) {
    return {lookup.supplementary ? lookup.CodeOfSupplementary(DecodeUtf8(u, 4)) : std::uint16_t{0},
            4};
  }
  return {lookup.code_of_unicode[DecodeUtf8(u, length)], static_cast<std::uint32_t>(length)};
}

// A surrogate pair is one character where the book has any outside the BMP;
// other surrogates have no code and stand alone.
template <>
inline Decoded DecodeChar<Form::Utf16>(const Lookup& lookup, const char16_t* p, std::size_t i,
                                       std::size_t n) {
  if (!IsHighSurrogate(p[i]) || !lookup.supplementary) return {lookup.code_of_unicode[p[i]], 1};
  if (i + 1 == n) return {0, 0};
  if (!IsLowSurrogate(p[i + 1])) return {0, 1};
  return {lookup.CodeOfSupplementary(FromSurrogates(p[i], p[i + 1])), 2};
}

// The code point of the character that DecodeChar found at p[i].
template <Form F>
char32_t CharAt(const Lookup& lookup, const typename TextForm<F>::Unit* p, std::size_t i) {
  if constexpr (F == Form::Cp936) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return lookup.char_of_cp936[u[i] << 8 | u[i + 1]];
  } else if constexpr (F == Form::Utf8) {
    const auto* u = reinterpret_cast<const unsigned char*>(p + i);
    return DecodeUtf8(u, u[0] < 0xE0 ? 2 : u[0] < 0xF0 ? 3 : 4);
  } else {
    return IsHighSurrogate(p[i]) ? FromSurrogates(p[i], p[i + 1]) : p[i];
  }
}

// What the variant look-up made of a character: the code to write (0 for
// none), with the report brought up to date.
template <class CharacterOf>
std::uint16_t ResolveMark(const Lookup& lookup, std::uint16_t mark, const CharacterOf& character,
                          Report& report) {
  if (IsVariantCode(mark)) {
    ++report.through_variant;
    const std::uint16_t code = CodeOfVariantMark(mark);
    if (report.through_chars.size() < Report::kListedChars)
      NoteThroughVariant(lookup, character(), code, report);
    return code;
  }
  std::uint64_t* count = &report.no_code;
  std::u32string* list = &report.no_code_chars;
  if (mark == kAmbiguous) {
    count = &report.ambiguous;
    list = &report.ambiguous_chars;
  } else if (mark == kOtherBookOnly) {
    count = &report.other_book_only;
    list = &report.other_book_chars;
  }
  ++*count;
  if (list->size() < Report::kListedChars) {
    const char32_t c = character();
    if (list->find(c) == list->npos) *list += c;
  }
  return 0;
}

// Writes a code's four digits and space (a word of Lookup::code_text) at
// `at`, in one store that may reach three units further; returns the end of
// the code.
inline char* PutCode(const Writer<char>& out, char* at, std::uint64_t text) {
  assert(out.room(at, 8) && "output estimate too small");
  (void)out;
  std::memcpy(at, &text, 8);
  return at + 5;
}

inline char16_t* PutCode(const Writer<char16_t>& out, char16_t* at, std::uint64_t text) {
  assert(out.room(at, 16) && "output estimate too small");
  (void)out;
#if YISHU_SSE2
  const __m128i bytes = _mm_cvtsi64_si128(static_cast<long long>(text));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(at), _mm_unpacklo_epi8(bytes, _mm_setzero_si128()));
#else
  unsigned char bytes[8];
  std::memcpy(bytes, &text, 8);
  for (int i = 0; i < 8; ++i) at[i] = bytes[i];
#endif
  return at + 5;
}

// Writes a character of a run that has no code: its kLength bytes, the first
// of `bytes`, with one store; every output estimate leaves room for a word
// beyond the end. Returns the end of the character.
template <std::size_t kLength>
char* PutChar(const Writer<char>& out, char* at, std::uint32_t bytes) {
  assert(out.room(at, 4) && "output estimate too small");
  (void)out;
  std::memcpy(at, &bytes, 4);
  return at + kLength;
}

// Whether a value of a character index is a code. Without marks nothing lies
// above the codes, and the test for 0 suffices. Most characters have a code:
// in a run this one test comes first, and a mark is told from no code only
// after it. A predicted branch, not a select, decides where the next store
// goes: a select would wait for the look-up and make each character wait for
// the one before.
template <bool kMarks>
constexpr bool IsCodeValue(std::uint16_t value) {
  if constexpr (kMarks) return value - 1u < kLastCode;
  return value != 0;
}
static_assert(IsCodeValue<true>(1) && IsCodeValue<true>(kLastCode) && !IsCodeValue<true>(0) &&
              !IsCodeValue<true>(kViaVariant | 1));

// A few ASCII characters within Chinese text, such as ", ", are copied
// without leaving a run: returns where the run goes on after them, or `i`
// where more ASCII or the end follows (SkipAscii is faster there).
template <class Unit>
std::size_t CopyShortAsciiGap(const Unit* p, std::size_t i, std::size_t n, Unit*& at) {
  std::size_t gap_end = i;
  while (gap_end < n && gap_end - i < kShortGap && IsAscii(p[gap_end])) ++gap_end;
  if (gap_end == i || gap_end == n || IsAscii(p[gap_end])) return i;
  for (; i < gap_end; ++i) *at++ = p[i];  // every estimate allows ASCII one for one
  return gap_end;
}

// Chinese text is mostly runs of characters of one length: three bytes in
// UTF-8, two in CP936, one unit in UTF-16. TakeRun takes such a run from
// p[i], writing each character's code or the character itself, and returns
// where the run ends. It stops before anything else: more than a few ASCII
// characters, another length, a character the end cuts off, a mark of the
// variant look-up (kMarks).
//
// `step(i, at)` converts the character at p[i] if it belongs to the run and
// returns where the next begins, or returns i (also at the end). Output goes
// through a local pointer, and the steps capture by value what they read and
// are taken by value: a store of a character may alias anything reached
// through a reference, which the compiler would reload after each.
template <class Unit, class Step>
std::size_t TakeRunWith(const Unit* p, std::size_t i, std::size_t n, Writer<Unit>& out, Step step) {
  Unit* at = out.position();
  for (;;) {  // each step looks at the end itself
    if (const std::size_t next = step(i, at); next != i) [[likely]] {
      i = next;
      continue;
    }
    const std::size_t after_gap = CopyShortAsciiGap(p, i, n, at);
    if (after_gap == i) break;
    i = after_gap;
  }
  out.set_position(at);
  return i;
}

template <bool kMarks>
std::size_t TakeRun(const Lookup& lookup, const char* p, std::size_t i, std::size_t n,
                    Writer<char>& out, std::integral_constant<Form, Form::Utf8>) {
  return TakeRunWith(p, i, n, out, [&lookup, &out, p, n](std::size_t k, char*& at) {
    if (k + 4 > n) return k;  // four bytes are read
    std::uint32_t w;
    std::memcpy(&w, p + k, 4);
    // Other leads are left to the full decoder.
    if (!IsThreeByteSequenceWithFreeLead(w)) return k;
    const std::uint16_t code = lookup.code_of_unicode[DecodeThreeBytes(w)];
    if (IsCodeValue<kMarks>(code)) [[likely]] {
      at = PutCode(out, at, lookup.code_text[code]);
    } else if (kMarks && code != 0) {
      return k;  // a mark
    } else {
      at = PutChar<3>(out, at, w);
    }
    return k + 3;
  });
}

template <bool kMarks>
std::size_t TakeRun(const Lookup& lookup, const char* p, std::size_t i, std::size_t n,
                    Writer<char>& out, std::integral_constant<Form, Form::Cp936>) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return TakeRunWith(p, i, n, out, [&lookup, &out, u, n](std::size_t k, char*& at) {
    if (k + 2 > n || !IsLeadByte(u[k])) return k;
    const std::uint16_t code = lookup.code_of_cp936[u[k] << 8 | u[k + 1]];
    if (IsCodeValue<kMarks>(code)) [[likely]] {
      at = PutCode(out, at, lookup.code_text[code]);
    } else if (kMarks && code != 0) {
      return k;  // a mark
    } else {
      at = PutChar<2>(out, at, u[k] | u[k + 1] << 8);
    }
    return k + 2;
  });
}

template <bool kMarks>
std::size_t TakeRun(const Lookup& lookup, const char16_t* p, std::size_t i, std::size_t n,
                    Writer<char16_t>& out, std::integral_constant<Form, Form::Utf16>) {
  // Surrogates stand alone where the book has nothing above the BMP (then no
  // unit's top six bits match 1).
  const unsigned stop_surrogates = lookup.supplementary ? 0xD800 : 1;
  const auto step = [&lookup, &out, p, n, stop_surrogates](std::size_t k, char16_t*& at) {
    if (k == n || IsAscii(p[k]) || (p[k] & 0xFC00u) == stop_surrogates) return k;
    const std::uint16_t code = lookup.code_of_unicode[p[k]];
    if (IsCodeValue<kMarks>(code)) [[likely]] {
      at = PutCode(out, at, lookup.code_text[code]);
    } else if (kMarks && code != 0) {
      return k;  // a mark
    } else {
      *at++ = p[k];
    }
    return k + 1;
  };
  return TakeRunWith(p, i, n, out, step);
}

// Converts p[0..n) and returns how many units it consumed. Unless `final`, a
// character cut off at the end is left for the caller to feed again; when
// `final`, it stays as it is. `kMarks`: the look-up holds variant marks.
// Out of line: inlined into the caller, which holds the other direction too,
// its loops ran short of registers and reloaded values in every step.
template <Form F, bool kMarks>
[[gnu::noinline]] std::size_t CharsToCodes(const Lookup& lookup,
                                           const typename TextForm<F>::Unit* p, std::size_t n,
                                           bool final, Writer<typename TextForm<F>::Unit>& out,
                                           Report& report) {
  std::size_t copied = 0, i = SkipAscii(p, 0, n);
  while (i < n) {
    out.append(p + copied, i - copied);
    copied = i = TakeRun<kMarks>(lookup, p, i, n, out, std::integral_constant<Form, F>());
    if (i == n) break;
    if (IsAscii(p[i])) {
      i = SkipAscii(p, i, n);
      continue;
    }
    const Decoded c = DecodeChar<F>(lookup, p, i, n);
    if (c.length == 0) {  // cut off by the end
      if (final) break;
      return i;
    }
    std::uint16_t code = c.code;
    if constexpr (kMarks) {
      if (IsMark(code))
        code = ResolveMark(
            lookup, code, [&] { return CharAt<F>(lookup, p, i); }, report);
    }
    if (code != 0) {
      out.set_position(PutCode(out, out.position(), lookup.code_text[code]));
      copied = i + c.length;
    }
    i += c.length;
    if (i < n && IsAscii(p[i])) i = SkipAscii(p, i, n);
  }
  out.append(p + copied, n - copied);
  return n;
}

}  // namespace yishu::detail
