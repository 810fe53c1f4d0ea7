// Lists of codes, the bulk of a telegram: "0022 2429 " or one code a line.
// Each code is recognised in a few word operations, looked up once, and its
// character written with one store (see Lookup::utf8_text and the others);
// the engines take over wherever anything else stands.
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
#include "yishu/internal/four_digits.h"

namespace yishu::detail {

// What may follow the four digits of a code in a list: a space (typed
// codes), or any ASCII character but a digit (codes as written).
enum class CodeEnd { kSpace, kAsciiNotDigit };

// How many units most characters of the books take in each form.
template <Form F>
constexpr std::size_t UsualUnits() {
  return F == Form::Utf8 ? 3 : F == Form::Cp936 ? 2 : 1;
}

// The ASCII characters that make four digits next to them look like a
// number: letters and $ (see number_marks.h).
template <class Unit>
constexpr bool IsAsciiNumberMark(Unit u) {
  const auto c = static_cast<std::make_unsigned_t<Unit>>(u);
  return c == '$' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'z');
}

template <CodeEnd E>
bool EndsCode(unsigned u) {
  if constexpr (E == CodeEnd::kSpace) return u == ' ';
  return u < 0x80 && (u < '0' || u > '9');
}

// Lines and separators between codes in a list.
template <class Unit>
bool IsAsciiNotDigit(Unit u) {
  return EndsCode<CodeEnd::kAsciiNotDigit>(static_cast<std::make_unsigned_t<Unit>>(u));
}

// The code whose four digits (and what ends them) stand at p, or -1.
// Eight units must be readable from p, the five that matter and three more.
template <CodeEnd E>
int CodeKeyAt(const char* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  const int code = CodeOfDigitLanes<char>(w & 0xFFFFFFFFull);
  if (code < 0 || !EndsCode<E>(static_cast<unsigned>(w >> 32 & 0xFF))) return -1;
  return code;
}

#if YISHU_SSE2
// Whether three codes with their spaces, as in "0022 2429 0001 ", fill the
// first 15 of the 16 bytes in v.
inline bool ThreeSpacedCodesIn(__m128i v) {
  const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
  const int digits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
  const int spaces = _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')));
  return (digits & 0x7FFF) == 0x3DEF && (spaces & 0x7FFF) == 0x4210;
}

// The same for the first 15 of the 16 units at p.
inline bool ThreeSpacedCodesAt(const char* p) {
  return ThreeSpacedCodesIn(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}
inline bool ThreeSpacedCodesAt(const char16_t* p) {
  // Narrowed to bytes, units that are not ASCII become 0 or 0xFF: neither a
  // digit nor a space.
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
  return ThreeSpacedCodesIn(_mm_packus_epi16(low, high));
}
#endif

// The code of four digits known to stand at p.
inline int CodeOfDigitsAt(const char* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return NumberOfDigitLanes<char>(w ^ 0x30303030u);
}
inline int CodeOfDigitsAt(const char16_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return NumberOfDigitLanes<char16_t>(w ^ 0x0030003000300030ull);
}

template <CodeEnd E>
int CodeKeyAt(const char16_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  const int code = CodeOfDigitLanes<char16_t>(w);
  if (code < 0 || !EndsCode<E>(p[4])) return -1;
  return code;
}

// The same check where fewer than eight units are left.
template <CodeEnd E, class Unit>
int CodeKeyNearEnd(const Unit* p) {
  for (int k = 0; k < 4; ++k) {
    if (!IsDigit(p[k])) return -1;
  }
  return EndsCode<E>(static_cast<std::make_unsigned_t<Unit>>(p[4])) ? CodeOfDigits(p) : -1;
}

#if YISHU_SSE2
// Lists the noted ones of the three spaced codes at p, written as a, b, c,
// while the lists have room.
template <class Unit>
[[gnu::noinline]] void ListNotedOfThree(const Unit* p, std::uint64_t a, std::uint64_t b,
                                        std::uint64_t c, Report& report) {
  const std::uint64_t texts[3] = {a, b, c};
  for (int k = 0; k < 3; ++k) {
    if (const unsigned notes = NotesOfCharText(texts[k]); NoteListsHaveRoom(notes, report)) {
      ListNotedCode(static_cast<std::uint16_t>(CodeOfDigitsAt(p + 5 * k)), notes, report);
    }
  }
}

// Whether the three spaced codes at p, written as a, b, c, some with notes,
// all have characters of the usual units; if so, their notes are counted.
// Inlined: a call would cost more than the counting.
template <Form F, class Unit>
[[gnu::always_inline]] inline bool NotedThreeAreUsual(const Unit* p, std::uint64_t a,
                                                      std::uint64_t b, std::uint64_t c,
                                                      Report& report) {
  constexpr std::size_t kUsual = UsualUnits<F>();
  if (UnitsOfCharText(a) != kUsual || UnitsOfCharText(b) != kUsual ||
      UnitsOfCharText(c) != kUsual) {
    return false;
  }
  const unsigned na = NotesOfCharText(a), nb = NotesOfCharText(b), nc = NotesOfCharText(c);
  report.other_script +=
      (na & kNoteOtherScript) + (nb & kNoteOtherScript) + (nc & kNoteOtherScript);
  report.old_forms += (na >> 1) + (nb >> 1) + (nc >> 1);
  if (NoteListsHaveRoom(na | nb | nc, report)) [[unlikely]]
    ListNotedOfThree(p, a, b, c, report);
  return true;
}
#endif

// Converts the codes that stand one after another from p[pos], a place where
// a run of digits may start, and returns where the first thing that is no
// such code begins. With kSpace a code takes its space; otherwise one
// following space goes with it and any other character stays.
template <Form F, CodeEnd E>
std::size_t ConvertCodeList(const Lookup& lookup, const typename TextForm<F>::Unit* p,
                            std::size_t pos, std::size_t n, Writer<typename TextForm<F>::Unit>& out,
                            Report& report) {
  using Unit = typename TextForm<F>::Unit;
  const std::uint64_t* const texts = CharTexts<F>(lookup);
  Unit* at = out.position();
  while (pos + 5 <= n) {
#if YISHU_SSE2
    // Three codes at once where they stand with their spaces: one check of
    // 16 units instead of three of eight.
    {
      if (pos + 16 <= n && ThreeSpacedCodesAt(p + pos)) {
        const std::uint64_t first = texts[CodeOfDigitsAt(p + pos)];
        const std::uint64_t second = texts[CodeOfDigitsAt(p + pos + 5)];
        const std::uint64_t third = texts[CodeOfDigitsAt(p + pos + 10)];
        constexpr std::size_t kUsual = UsualUnits<F>();
        // Codes with notes (rare) fail the first test, though their units may
        // be the usual: the second counts their notes when they are.
        if ((TopOfCharText(first) == kUsual && TopOfCharText(second) == kUsual &&
             TopOfCharText(third) == kUsual) ||
            (((first | second | third) >> kNoteShift) != 0 &&
             NotedThreeAreUsual<F>(p + pos, first, second, third, report))) {
          assert(out.room(at, 2 * kUsual * sizeof(Unit) + 8) && "output estimate too small");
          std::memcpy(at, &first, 8);
          std::memcpy(at + kUsual, &second, 8);
          std::memcpy(at + 2 * kUsual, &third, 8);
          at += 3 * kUsual;
          pos += 15;
          continue;
        }
      }
    }
#endif
    const int code = pos + 8 <= n ? CodeKeyAt<E>(p + pos) : CodeKeyNearEnd<E>(p + pos);
    if (code < 0) {
      // A line break or a few other ASCII characters between codes are
      // copied here; a digit after them starts a run. Anything longer is
      // left to the engine's search.
      std::size_t gap = pos;
      while (gap < n && gap - pos < kShortGap && IsAsciiNotDigit(p[gap])) ++gap;
      if (gap == pos || gap == n || !IsDigit(p[gap])) break;
      if (E == CodeEnd::kAsciiNotDigit && IsAsciiNumberMark(p[gap - 1])) break;
      assert(out.room(at, gap - pos) && "output estimate too small");
      for (; pos < gap; ++pos) *at++ = p[pos];
      continue;
    }
    const std::uint64_t text = texts[code];
    const std::size_t top = TopOfCharText(text);  // the units, and any notes
    if (top == 0) break;
    // A code right before a letter or $ may be a number: the engine looks
    // at it (number_marks.h), before anything is written or noted.
    if (E != CodeEnd::kSpace && p[pos + 4] != ' ' && IsAsciiNumberMark(p[pos + 4])) break;
    // Output never outgrows the input here, and every estimate has room
    // for a word beyond it.
    assert(out.room(at, 8) && "output estimate too small");
    std::memcpy(at, &text, 8);
    // The usual length by a predicted branch: the place of the next store
    // then need not wait for this look-up. A code with notes (above the
    // units) takes the other branch.
    if (top == UsualUnits<F>()) [[likely]] {
      at += UsualUnits<F>();
    } else {
      if (const unsigned notes = NotesOfCharText(text))
        NoteWritten(static_cast<std::uint16_t>(code), notes, report);
      at += top & kUnitsMask;
    }
    if (E == CodeEnd::kSpace || p[pos + 4] == ' ') [[likely]] {
      pos += 5;
    } else {
      pos += 4;
    }
  }
  out.set_position(at);
  return pos;
}

}  // namespace yishu::detail
