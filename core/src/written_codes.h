// The single-pass engine that reads codes as people write them: a run of
// 4, 8, 12, ... digits is a list of codes whatever follows it (a line break,
// a comma, another character, the end), one space after it goes with it, and
// every other run of digits is kept and listed. Digits and spaces may be
// full-width (０-９, the ideographic space), as an input method types them.
//
// As in the typed engine, the scan jumps from one possible run start to the
// next and copies everything between unchanged.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "yishu/internal/digit_scan.h"
#include "yishu/internal/simd.h"

#include "code_indexes.h"
#include "day_rules.h"
#include "digit_run.h"
#include "hold_back.h"
#include "listed_codes.h"
#include "number_marks.h"
#include "text_form.h"
#include "text_scan.h"
#include "writer.h"

namespace yishu::detail {

// What the engine tells its caller about the text: the runs of digits it
// kept, and the runs of four that converted next to a mark (number_marks.h),
// at offsets counted from the start of the units it was given.
class KeptRunSink {
 public:
  virtual void Kept(std::size_t offset, std::size_t units, std::size_t digits) = 0;
  virtual void Doubtful(std::size_t offset, std::size_t units) = 0;

 protected:
  ~KeptRunSink() = default;
};

// What a character of the text is to this reading.
enum class Mark : unsigned char { kOther, kDigit, kSpace, kCut };

struct Seen {
  Mark mark;
  unsigned char units;  // how far to step over it (an unknown character: 1)
  unsigned char digit;
};

// The forms differ in how a full-width digit and the ideographic space are
// written, and in which unit may begin one.
template <Form F>
struct WrittenForm;

inline Seen SeeAscii(unsigned u) {
  if (u >= '0' && u <= '9') return {Mark::kDigit, 1, static_cast<unsigned char>(u - '0')};
  return {u == ' ' ? Mark::kSpace : Mark::kOther, 1, 0};
}

template <>
struct WrittenForm<Form::Cp936> {
  static constexpr unsigned char kWideLead = 0xA3;  // ０-９ are A3 B0..A3 B9
  static bool IsWideDigitTrail(unsigned char t) { return t >= 0xB0 && t <= 0xB9; }
  // What begins at p[i], which begins a character. kCut: a lead byte at the
  // end, which may yet pair with a byte that makes it a digit or a space.
  static Seen At(const char* p, std::size_t i, std::size_t n) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b < 0x80) return SeeAscii(b);
    if (!IsLeadByte(b)) return {Mark::kOther, 1, 0};
    if (i + 1 == n) return {Mark::kCut, 1, 0};
    const auto t = static_cast<unsigned char>(p[i + 1]);
    if (b == kWideLead && IsWideDigitTrail(t)) {
      return {Mark::kDigit, 2, static_cast<unsigned char>(t - 0xB0)};
    }
    return {b == 0xA1 && t == 0xA1 ? Mark::kSpace : Mark::kOther, 2, 0};
  }
};

template <>
struct WrittenForm<Form::Utf8> {
  static constexpr unsigned char kWideLead = 0xEF;  // ０-９ are EF BC 90..EF BC 99
  // An unknown character counts one byte at a time: none of its bytes can
  // begin a digit or a space.
  static Seen At(const char* p, std::size_t i, std::size_t n) {
    const auto b = static_cast<unsigned char>(p[i]);
    if (b < 0x80) return SeeAscii(b);
    if (b == kWideLead) {
      if (i + 1 == n) return {Mark::kCut, 1, 0};
      if (static_cast<unsigned char>(p[i + 1]) != 0xBC) return {Mark::kOther, 1, 0};
      if (i + 2 == n) return {Mark::kCut, 1, 0};
      const auto t = static_cast<unsigned char>(p[i + 2]);
      if (t >= 0x90 && t <= 0x99) return {Mark::kDigit, 3, static_cast<unsigned char>(t - 0x90)};
      return {Mark::kOther, 1, 0};
    }
    if (b == 0xE3) {  // the ideographic space is E3 80 80
      for (std::size_t k = 1; k < 3; ++k) {
        if (i + k == n) return {Mark::kCut, 1, 0};
        if (static_cast<unsigned char>(p[i + k]) != 0x80) return {Mark::kOther, 1, 0};
      }
      return {Mark::kSpace, 3, 0};
    }
    return {Mark::kOther, 1, 0};
  }
};

template <>
struct WrittenForm<Form::Utf16> {
  static Seen At(const char16_t* p, std::size_t i, std::size_t) {
    const char16_t u = p[i];
    if (u < 0x80) return SeeAscii(u);
    if (u >= u'０' && u <= u'９') return {Mark::kDigit, 1, static_cast<unsigned char>(u - u'０')};
    return {u == u'\u3000' ? Mark::kSpace : Mark::kOther, 1, 0};
  }
};

inline bool IsDigitOrWideDigit(char16_t u) { return IsDigit(u) || (u >= u'０' && u <= u'９'); }

inline std::size_t FindDigitOr(const char16_t* p, std::size_t from, std::size_t n) {
  std::size_t i = from;
#if YISHU_SSE2
  // The digits of both widths lie in 0x30..0x3F and 0xFF10..0xFF1F: a block
  // of eight units with none of those is passed over in a few operations,
  // and a block with any is looked at unit by unit.
  const __m128i top = _mm_set1_epi16(static_cast<short>(0xFFF0));
  const __m128i ascii = _mm_set1_epi16(0x0030), wide = _mm_set1_epi16(static_cast<short>(0xFF10));
  for (; i + 8 <= n; i += 8) {
    const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), top);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(v, ascii), _mm_cmpeq_epi16(v, wide))) == 0)
      continue;
    for (std::size_t k = i; k < i + 8; ++k) {
      if (IsDigitOrWideDigit(p[k])) return k;
    }
  }
#endif
  for (; i < n; ++i) {
    if (IsDigitOrWideDigit(p[i])) return i;
  }
  return n;
}

template <Form F>
class WrittenCodeEngine {
 public:
  using Unit = typename TextForm<F>::Unit;
  using Chars = WrittenForm<F>;

  // Day codes convert where the book has them (lookup.day_codes).
  WrittenCodeEngine(const Lookup& lookup, Report& report, KeptRunSink& kept)
      : lookup_(lookup), report_(report), kept_(kept) {}

  // Converts p[0..n) and returns how many units it consumed. Unless `final`,
  // it stops before a run of digits that more text could lengthen or whose
  // following space is not known yet, and before a character cut off at n.
  std::size_t Run(const Unit* p, std::size_t n, bool final, Writer<Unit>& out) {
    // A local the output's stores cannot alias keeps the table in a register.
    const Lookup& lookup = lookup_;
    std::size_t copied = 0, pos = 0;
    for (;;) {
      // A run may start at q: no digit stands before it.
      std::size_t q = FindStart(p, pos, n);
      if constexpr (F == Form::Cp936) {
        // A3 that no B0..B9 follows is no full-width digit, whether or not a
        // character begins there: look on without finding out.
        while (q + 1 < n && static_cast<unsigned char>(p[q]) == Chars::kWideLead &&
               !Chars::IsWideDigitTrail(static_cast<unsigned char>(p[q + 1]))) {
          q = FindStart(p, q + 1, n);
        }
        if (q == n) break;
        if (!BeginsCharacter(p, pos, q)) {  // a trail byte
          pos = q + 1;
          continue;
        }
      }
      if (q == n) break;
      // Lists of plain codes, as in "0022 2429 " or one code a line, need no
      // more search: four ASCII digits, then an ASCII character that is no
      // digit. The list stops before a letter or $; a run after a mark is
      // looked at below.
      const std::size_t copied_before_run = copied;
      out.append(p + copied, q - copied);
      copied = q;
      const bool after_mark = q > 0 && IsNumberMark(CharBefore<F>(p, q).c);
      if (const std::size_t listed = after_mark ? q
                                                : ConvertCodeList<F, CodeEnd::kAsciiNotDigit>(
                                                      lookup, p, q, n, out, report_);
          listed != q) {
        copied = pos = listed;
        continue;
      }
      const Seen first = Chars::At(p, q, n);
      if (first.mark == Mark::kCut && !final) {  // the next piece completes it
        return Hold(p, q, copied_before_run, after_mark, out);
      }
      if (first.mark != Mark::kDigit) {
        pos = q + first.units;
        continue;
      }
      std::size_t e = q, digits = 0;
      Seen next{Mark::kOther, 0, 0};
      while (e < n) {
        next = Chars::At(p, e, n);
        if (next.mark != Mark::kDigit) break;
        e += next.units;
        ++digits;
      }
      out.append(p + copied, q - copied);
      copied = q;
      if (!final && (e == n || next.mark == Mark::kCut || CutAt<F>(p, e, n))) {
        // Undecided: held, or let go in part when too long (hold_back.h).
        if (digits <= kLongestWrittenRun + 1) return Hold(p, q, copied_before_run, after_mark, out);
        const std::size_t keep = SkipDigits(p, q, digits - (kLongestWrittenRun + 1));
        out.append(p + q, keep - q);
        kept_.Kept(q, keep - q, digits - (kLongestWrittenRun + 1));
        return keep;
      }
      const Outcome outcome = Convert(p, q, digits, out);
      if (outcome == Outcome::kConverted) {
        if (digits == 4 && (after_mark || (e < n && IsNumberMark(CharAt<F>(p, e, n))))) {
          kept_.Doubtful(q, e - q);
        }
        pos = e;
        if (e < n && next.mark == Mark::kSpace) pos += next.units;
        copied = pos;
      } else {
        if (outcome == Outcome::kNoCode) kept_.Kept(q, e - q, digits);
        pos = e;
      }
    }
    if (!final && n > copied) {
      const std::size_t tail = TailBeforeNextPiece<F>(p, n);
      if (tail >= copied) n = tail;
    }
    return CopyRest<F>(p, pos, copied, n, final, out);
  }

 private:
  static std::size_t FindStart(const Unit* p, std::size_t from, std::size_t n) {
    if constexpr (F == Form::Utf16) {
      return FindDigitOr(p, from, n);
    } else {
      return FindDigitOr(p, from, n, Chars::kWideLead);
    }
  }

  // Leaves the run at p[q] for the next pass, and with it a mark right before
  // it that this pass has not written out yet, so that the next pass sees it
  // too. Returns how many units were consumed.
  static std::size_t Hold(const Unit* p, std::size_t q, std::size_t copied_before_run,
                          bool after_mark, Writer<Unit>& out) {
    if (!after_mark) return q;
    const std::size_t start = CharBefore<F>(p, q).start;
    if (start < copied_before_run) return q;
    out.set_position(out.position() - (q - start));
    return start;
  }

  // The index after the first `count` digits of the run at p[q].
  static std::size_t SkipDigits(const Unit* p, std::size_t q, std::size_t count) {
    for (; count > 0; --count) q += Chars::At(p, q, q + 3).units;
    return q;
  }

  // The `count` digits of the run at p[q], of either width, as ASCII digits.
  static void ReadDigits(const Unit* p, std::size_t q, std::size_t count, char* ascii) {
    for (std::size_t k = 0; k < count; ++k) {
      const Seen d = Chars::At(p, q, q + 3);
      ascii[k] = static_cast<char>('0' + d.digit);
      q += d.units;
    }
  }

  // What becomes of a run: it converts, or stays because it is no list of
  // codes, or stays because the text's form cannot hold a character of it.
  enum class Outcome { kConverted, kNoCode, kUnwritable };

  // Writes what the run of `digits` digits at p[q] becomes, if it converts.
  Outcome Convert(const Unit* p, std::size_t q, std::size_t digits, Writer<Unit>& out) {
    if (digits % 4 == 0 && digits <= kLongestWrittenRun) {
      char ascii[kLongestWrittenRun];
      ReadDigits(p, q, digits, ascii);
      for (std::size_t g = 0; g < digits; g += 4) {
        if (lookup_.row_of_code[CodeOfDigits(ascii + g)] == 0) return Outcome::kNoCode;
      }
      bool writable = true;
      for (std::size_t g = 0; g < digits; g += 4) {
        if (const int code = CodeOfDigits(ascii + g); !CanWriteCode<F>(lookup_, code)) {
          NoteUnwritable(report_, static_cast<std::uint16_t>(code));
          writable = false;
        }
      }
      if (!writable) return Outcome::kUnwritable;
      for (std::size_t g = 0; g < digits; g += 4) {
        AppendCodeChar<F>(lookup_, CodeOfDigits(ascii + g), out, report_);
      }
      return Outcome::kConverted;
    }
    if (digits == 5 && lookup_.day_codes) {
      char key[5];
      ReadDigits(p, q, 5, key);
      if (const int day = DayOfKey(key)) {
        TextForm<F>::AppendDay(out, kDayTexts[day - 1]);
        return Outcome::kConverted;
      }
    }
    return Outcome::kNoCode;
  }

  const Lookup& lookup_;
  Report& report_;
  KeptRunSink& kept_;
};

}  // namespace yishu::detail
