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

#include "yishu/internal/digit_scan.h"
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

// The code of four digits known to stand at p.
inline int CodeOfDigitsAt(const char* p) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  return NumberOfDigitLanes<char>(w ^ 0x30303030u);
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

#if defined(__SSE2__)
// Whether the three spaced codes at p all have characters of the usual units,
// some of them with notes; if so, their notes are counted.
template <Form F, class Unit>
[[gnu::noinline]] bool NotedThreeAreUsual(const Lookup& lookup, const std::uint64_t* texts,
                                          const Unit* p, Report& report) {
  const int codes[3] = {CodeOfDigitsAt(p), CodeOfDigitsAt(p + 5), CodeOfDigitsAt(p + 10)};
  for (int code : codes) {
    if (UnitsOfCharText(texts[code]) != UsualUnits<F>()) return false;
  }
  for (int code : codes) {
    if (texts[code] >> kNoteShift) NoteWritten(lookup, static_cast<std::uint16_t>(code), report);
  }
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
    // 16 bytes instead of three of eight.
    if constexpr (sizeof(Unit) == 1) {
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
             NotedThreeAreUsual<F>(lookup, texts, p + pos, report))) {
          assert(out.room(at, 2 * kUsual + 8) && "output estimate too small");
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
      if (top & ~kUnitsMask) NoteWritten(lookup, static_cast<std::uint16_t>(code), report);
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
