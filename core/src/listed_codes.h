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
  // What ends the digits first: "99119" fails there, before any arithmetic.
  if (!EndsCode<E>(static_cast<unsigned>(w >> 32 & 0xFF))) return -1;
  return CodeOfDigitLanes<char>(w & 0xFFFFFFFFull);
}

#if YISHU_SSE2
// The 16 units at p, as bytes. Narrowed so, UTF-16 units that are not ASCII
// become 0 or 0xFF: neither a digit nor a space.
inline __m128i SixteenUnitsAt(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline __m128i SixteenUnitsAt(const char16_t* p) {
  const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
  return _mm_packus_epi16(low, high);
}

// Whether three codes with their spaces, as in "0022 2429 0001 ", fill the
// first 15 of the 16 bytes in v.
inline bool ThreeSpacedCodesIn(__m128i v) {
  const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
  const int digits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(d, _mm_set1_epi8(9)), d));
  const int spaces = _mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')));
  return (digits & 0x7FFF) == 0x3DEF && (spaces & 0x7FFF) == 0x4210;
}

// The three codes in v, known to hold them as ThreeSpacedCodesIn says, all
// at once: the digits d0..d15 (d4, d9, d14 the spaces, d15 anything) are
// multiplied by their weights and added in pairs of 16-bit lanes, then the
// pairs that make each code are added.
inline void CodesOfThreeIn(__m128i v, int (&codes)[3]) {
  const __m128i d = _mm_sub_epi8(v, _mm_set1_epi8('0'));
  const __m128i zero = _mm_setzero_si128();
  // 1000 d0 + 100 d1, 10 d2 + d3, 1000 d5, 100 d6 + 10 d7
  const __m128i a = _mm_madd_epi16(_mm_unpacklo_epi8(d, zero),
                                   _mm_setr_epi16(1000, 100, 10, 1, 0, 1000, 100, 10));
  // d8, 1000 d10 + 100 d11, 10 d12 + d13, 0
  const __m128i b =
      _mm_madd_epi16(_mm_unpackhi_epi8(d, zero), _mm_setr_epi16(1, 0, 1000, 100, 10, 1, 0, 0));
  // Lane 0: the first code; lane 2: the second but d8.
  const __m128i pairs_a = _mm_add_epi32(a, _mm_shuffle_epi32(a, _MM_SHUFFLE(2, 3, 0, 1)));
  // Lane 1: the third code (b's last lane is 0).
  const __m128i pairs_b = _mm_add_epi32(b, _mm_shuffle_epi32(b, _MM_SHUFFLE(0, 1, 2, 3)));
  codes[0] = _mm_cvtsi128_si32(pairs_a);
  codes[1] = _mm_extract_epi16(pairs_a, 4) + _mm_extract_epi16(b, 0);
  codes[2] = _mm_extract_epi16(pairs_b, 2);
}
#endif

template <CodeEnd E>
int CodeKeyAt(const char16_t* p) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if (!EndsCode<E>(p[4])) return -1;
  return CodeOfDigitLanes<char16_t>(w);
}

// The same check where fewer than eight units are left.
template <CodeEnd E, class Unit>
int CodeKeyNearEnd(const Unit* p) {
  for (int k = 0; k < 4; ++k) {
    if (!IsDigit(p[k])) return -1;
  }
  return EndsCode<E>(static_cast<std::make_unsigned_t<Unit>>(p[4])) ? CodeOfDigits(p) : -1;
}

// Whether three codes, written as `texts`, some with notes, all have characters
// of the usual units and none may be listed in the Report (NoteListsHaveRoom);
// if so, their notes are counted. Inlined: a call would cost more than the
// counting.
template <Form F>
[[gnu::always_inline]] inline bool NotedThreeAreUsual(const std::uint64_t (&texts)[3],
                                                      Report& report) {
  constexpr std::size_t kUsual = UsualUnits<F>();
  // The units of all three are the usual where those of `any` and `all` are.
  const std::uint64_t any = texts[0] | texts[1] | texts[2], all = texts[0] & texts[1] & texts[2];
  if (UnitsOfCharText(any) != kUsual || UnitsOfCharText(all) != kUsual ||
      NoteListsHaveRoom(NotesOfCharText(any), report)) {
    return false;
  }
  const unsigned a = NotesOfCharText(texts[0]), b = NotesOfCharText(texts[1]),
                 c = NotesOfCharText(texts[2]);
  static_assert(kNoteOtherScript == 1 && kNoteOldForm == 2);
  report.other_script += (a & 1) + (b & 1) + (c & 1);
  report.old_forms += (a >> 1) + (b >> 1) + (c >> 1);
  return true;
}

// Where the loop of ConvertCodeList stopped, and the code there that may
// have to be listed in the Report (NoteListsHaveRoom), or -1.
struct ListStop {
  std::size_t pos;
  int to_list;
};

// The loop of ConvertCodeList, which calls nothing, so that it keeps its
// values in registers. It stops before a code that may have to be listed;
// the notes of all other codes it counts itself.
template <Form F, CodeEnd E>
[[gnu::noinline]] ListStop ConvertListedCodes(const Lookup& lookup,
                                              const typename TextForm<F>::Unit* p, std::size_t pos,
                                              std::size_t n,
                                              Writer<typename TextForm<F>::Unit>& out,
                                              Report& report) {
  using Unit = typename TextForm<F>::Unit;
  const std::uint64_t* const texts = CharTexts<F>(lookup);
  Unit* at = out.position();
  int to_list = -1;
  while (pos + 5 <= n) {
#if YISHU_SSE2
    // Three codes at once where they stand with their spaces: one check of
    // 16 units instead of three of eight, and their codes read together.
    if (pos + 16 <= n) {
      if (const __m128i v = SixteenUnitsAt(p + pos); ThreeSpacedCodesIn(v)) {
        int codes[3];
        CodesOfThreeIn(v, codes);
        const std::uint64_t three[3] = {texts[codes[0]], texts[codes[1]], texts[codes[2]]};
        const std::uint64_t first = three[0], second = three[1], third = three[2];
        constexpr std::size_t kUsual = UsualUnits<F>();
        // Codes with notes (rare) fail the first test, though their units
        // may be the usual: the second counts their notes when they are.
        if ((TopOfCharText(first) == kUsual && TopOfCharText(second) == kUsual &&
             TopOfCharText(third) == kUsual) ||
            (((first | second | third) >> kNoteShift) != 0 &&
             NotedThreeAreUsual<F>(three, report))) {
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
      if (const unsigned notes = NotesOfCharText(text)) {
        if (NoteListsHaveRoom(notes, report)) {
          to_list = code;
          break;
        }
        CountNotes(notes, report);
      }
      at += top & kUnitsMask;
    }
    if (E == CodeEnd::kSpace || p[pos + 4] == ' ') [[likely]] {
      pos += 5;
    } else {
      pos += 4;
    }
  }
  out.set_position(at);
  return {pos, to_list};
}

// Converts the codes that stand one after another from p[pos], a place where
// a run of digits may start, and returns where the first thing that is no
// such code begins. With kSpace a code takes its space; otherwise one
// following space goes with it and any other character stays.
template <Form F, CodeEnd E>
std::size_t ConvertCodeList(const Lookup& lookup, const typename TextForm<F>::Unit* p,
                            std::size_t pos, std::size_t n, Writer<typename TextForm<F>::Unit>& out,
                            Report& report) {
  for (;;) {
    const ListStop stop = ConvertListedCodes<F, E>(lookup, p, pos, n, out, report);
    pos = stop.pos;
    if (stop.to_list < 0) return pos;
    // The code at pos, written and noted (listed where it is new) as the
    // engine writes it; the list goes on after it.
    AppendCodeChar<F>(lookup, stop.to_list, out, report);
    pos += E == CodeEnd::kSpace || p[pos + 4] == ' ' ? 5 : 4;
  }
}

}  // namespace yishu::detail
